#include "text/utf8_sequence.h"

int utf8SequenceLength(unsigned char leadByte)
{
    if (leadByte < 0x80) return 1;
    if (leadByte < 0xE0) return 2;
    if (leadByte < 0xF0) return 3;
    if (leadByte < 0xF8) return 4;
    if (leadByte < 0xFC) return 5;
    return 6;
}

static int boundedLength(const char* p, const char* end)
{
    const int length = utf8SequenceLength(static_cast<unsigned char>(*p));
    return end - p < length ? static_cast<int>(end - p) : length;
}

uint32_t decodeUtf8Sequence(const char* p, const char* end)
{
    if (p >= end) return 0;
    static const unsigned char kValueBits[] = {0, 0xFF, 0x1F, 0x0F, 0x07, 0x03, 0x01};
    const auto lead = static_cast<unsigned char>(*p);
    const int length = utf8SequenceLength(lead);
    uint32_t value = lead & kValueBits[length];
    const int available = boundedLength(p, end);
    for (int i = 1; i < available; ++i)
        value = (value << 6) | (static_cast<unsigned char>(p[i]) & 0x3F);
    return value;
}

const char* nextUtf8Sequence(const char* p, const char* end)
{
    return p >= end ? end : p + boundedLength(p, end);
}

int encodeUtf8Sequence(uint32_t codePoint, char* out)
{
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    int length;
    unsigned char marker;
    if (codePoint < 0x800) { length = 2; marker = 0xC0; }
    else if (codePoint < 0x10000) { length = 3; marker = 0xE0; }
    else if (codePoint < 0x200000) { length = 4; marker = 0xF0; }
    else if (codePoint < 0x4000000) { length = 5; marker = 0xF8; }
    else { length = 6; marker = 0xFC; }
    for (int i = length - 1; i > 0; --i) {
        out[i] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    out[0] = static_cast<char>(marker | codePoint);
    return length;
}

int decimalDigitCount(uint32_t value)
{
    uint32_t limit = 10;
    for (int digits = 1; digits < 10; ++digits, limit *= 10) {
        if (value < limit) return digits;
    }
    return 10;
}
