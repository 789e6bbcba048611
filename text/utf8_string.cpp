#include "text/utf8_string.h"

#include <cstring>
#include <cstddef>
#include <new>

#include "text/utf8_sequence.h"

static const char kEmptyText[1] = {'\0'};

Utf8String::Block* Utf8String::allocate(int32_t byteLength, uint32_t charCount)
{
    void* memory = ::operator new(sizeof(Block) + static_cast<size_t>(byteLength) + 1);
    auto* block = static_cast<Block*>(memory);
    block->refCount = 1;
    block->byteLength = byteLength;
    block->charCount = charCount;
    block->text = reinterpret_cast<char*>(block + 1);
    block->text[byteLength] = '\0';
    return block;
}

Utf8String Utf8String::fromWide(const WideChar* units, int32_t unitCount)
{
    if (!units) return Utf8String();
    if (unitCount <= 0) {
        unitCount = 0;
        while (units[unitCount] != 0) ++unitCount;
    }
    if (unitCount == 0) return Utf8String();

    // Each unit is encoded by itself, surrogate halves included, so that the
    // text goes back to exactly the same units.
    int32_t byteLength = 0;
    for (int32_t i = 0; i < unitCount; ++i) {
        const uint32_t unit = static_cast<uint16_t>(units[i]);
        byteLength += unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
    }
    Block* block = allocate(byteLength, static_cast<uint32_t>(unitCount));
    char* out = block->text;
    for (int32_t i = 0; i < unitCount; ++i)
        out += encodeUtf8Sequence(static_cast<uint16_t>(units[i]), out);
    return Utf8String(block);
}

Utf8String Utf8String::fromUtf8(const char* bytes, int32_t byteLimit)
{
    if (!bytes) return Utf8String();
    if (byteLimit <= 0) byteLimit = static_cast<int32_t>(std::strlen(bytes));

    // A sequence cut off by the limit is dropped whole.
    int32_t offset = 0;
    uint32_t charCount = 0;
    while (offset < byteLimit) {
        const int length = utf8SequenceLength(static_cast<unsigned char>(bytes[offset]));
        if (length > byteLimit - offset) break;
        offset += length;
        ++charCount;
    }
    if (offset == 0) return Utf8String();
    Block* block = allocate(offset, charCount);
    std::memcpy(block->text, bytes, static_cast<size_t>(offset));
    return Utf8String(block);
}

Utf8String Utf8String::fromInt(int32_t value)
{
    const bool negative = value < 0;
    // The magnitude in unsigned arithmetic, so that the most negative value has one.
    uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    const int digits = decimalDigitCount(magnitude);
    const int32_t length = digits + (negative ? 1 : 0);
    Block* block = allocate(length, static_cast<uint32_t>(length));
    char* out = block->text;
    if (negative) *out = '-';
    for (int32_t i = length - 1; i >= length - digits; --i) {
        out[i] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    return Utf8String(block);
}

Utf8String Utf8String::concat(const Utf8String& left, const Utf8String& right)
{
    Utf8String result(left);
    result.append(right);
    return result;
}

const char* Utf8String::text() const
{
    return block_ ? block_->text : kEmptyText;
}

int32_t Utf8String::byteLength() const
{
    return block_ ? block_->byteLength : 0;
}

uint32_t Utf8String::charCount() const
{
    return block_ ? block_->charCount : 0;
}

bool Utf8String::isSingleByte() const
{
    return !block_ || static_cast<uint32_t>(block_->byteLength) == block_->charCount;
}

const char* Utf8String::end() const
{
    return text() + byteLength();
}

int32_t Utf8String::toInt() const
{
    const char* p = text();
    while (*p == ' ') ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (*p < '0' || *p > '9') return -1;

    // Out of the signed 32-bit range reads as no number, never as an overflow.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) return -1;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t Utf8String::copyToWide(WideChar* destination, int32_t capacity) const
{
    if (capacity <= 0) return static_cast<int32_t>(charCount()) + 1;
    const char* p = text();
    const char* stop = end();
    int32_t written = 0;
    for (uint32_t taken = 0; taken < charCount() && written < capacity - 1; ++taken) {
        // Only the low 16 bits: sequences longer than three bytes lose their upper bits.
        destination[written++] = static_cast<WideChar>(decodeUtf8Sequence(p, stop) & 0xFFFF);
        p = nextUtf8Sequence(p, stop);
    }
    destination[written] = 0;
    return written;
}

WideBuffer Utf8String::toWide() const
{
    WideBuffer buffer(static_cast<int32_t>(charCount()) + 1);
    copyToWide(const_cast<WideChar*>(buffer.units()), buffer.capacity());
    return buffer;
}

const char* Utf8String::bytePosition(uint32_t position) const
{
    if (isSingleByte()) {
        const uint32_t length = static_cast<uint32_t>(byteLength());
        return text() + (position < length ? position : length);
    }
    const char* p = text();
    const char* stop = end();
    for (uint32_t i = 0; i < position && p < stop; ++i) p = nextUtf8Sequence(p, stop);
    return p;
}

void Utf8String::append(const Utf8String& right)
{
    if (right.charCount() == 0) return;
    const int32_t leftBytes = byteLength();
    Block* block = allocate(leftBytes + right.byteLength(), charCount() + right.charCount());
    std::memcpy(block->text, text(), static_cast<size_t>(leftBytes));
    std::memcpy(block->text + leftBytes, right.text(), static_cast<size_t>(right.byteLength()));
    *this = Utf8String(block);
}

Utf8String Utf8String::mid(uint32_t start, uint32_t count) const
{
    if (start >= charCount()) return Utf8String();
    const char* first = bytePosition(start);
    const char* stop = end();
    const char* last = first;
    uint32_t taken = 0;
    for (; taken < count && last < stop; ++taken) last = nextUtf8Sequence(last, stop);
    const auto length = static_cast<int32_t>(last - first);
    Block* block = allocate(length, taken);
    std::memcpy(block->text, first, static_cast<size_t>(length));
    return Utf8String(block);
}
static_assert(sizeof(Utf8String) == sizeof(void*), "a string is one pointer");
