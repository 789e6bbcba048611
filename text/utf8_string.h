#pragma once

#include <cstdint>

#include "text/shared_block.h"
#include "text/wide_char.h"

class WideBuffer;

// The program's only text type: one pointer to a shared, reference-counted,
// immutable block of UTF-8 text; null is the empty string. Positions and
// counts are in characters; -1 means "not found".
class Utf8String {
public:
    static constexpr uint32_t kRestOfText = 0xFFFFFFFFu;

    Utf8String() noexcept = default;

    static Utf8String fromAnsi(const char* text);
    static Utf8String fromWide(const WideChar* units, int32_t unitCount);
    static Utf8String fromUtf8(const char* bytes, int32_t byteLimit);
    static Utf8String fromInt(int32_t value);
    static Utf8String concat(const Utf8String& left, const Utf8String& right);

    const char* text() const;
    int32_t byteLength() const;
    uint32_t charCount() const;
    int32_t toInt() const;
    WideBuffer toWide() const;
    int32_t copyToWide(WideChar* destination, int32_t capacity) const;
    const char* bytePosition(uint32_t position) const;
    int32_t find(const Utf8String& needle, uint32_t start, bool ignoreCase) const;
    int32_t compare(const Utf8String& other, bool ignoreCase) const;
    Utf8String mid(uint32_t start, uint32_t count) const;
    void append(const Utf8String& right);
    void replaceAll(const Utf8String& needle, const Utf8String& replacement);

private:
    // Header and text in one allocation of exactly the needed size; the text
    // starts right behind the header and never changes once written.
    struct Block {
        int32_t refCount;
        int32_t byteLength;
        uint32_t charCount;
        char* text;
    };

    explicit Utf8String(Block* block) noexcept : block_(block) {}
    static Block* allocate(int32_t byteLength, uint32_t charCount);
    bool isSingleByte() const;
    const char* end() const;

    SharedBlock<Block> block_;
};

// The UTF-16 copy of a Utf8String made for one Win32 call.
class WideBuffer {
public:
    WideBuffer() noexcept = default;

    // Always a valid NUL-terminated text, a static empty one when no block is held.
    const WideChar* units() const;
    int32_t capacity() const;

private:
    friend class Utf8String;
    struct Block {
        int32_t refCount;
        int32_t capacity;
        WideChar* units;
    };

    explicit WideBuffer(int32_t capacity);

    SharedBlock<Block> block_;
};
