#pragma once

#include <cstddef>
#include <string>

// Turns the bytes of a text file, fed in pieces of any size, into UTF-8.
// Windows tools save text as UTF-8, with or without a byte-order mark, or as
// UTF-16 with one (Notepad's "Unicode", PowerShell 5's Out-File and ">"): a
// file that starts with the little- or big-endian UTF-16 mark is read as
// UTF-16, any other byte for byte. The mark is no part of the text.
class TextDecoder {
public:
    // Appends the UTF-8 of the bytes to text.
    void feed(const char* bytes, size_t count, std::string& text);
    // Appends the bytes held back at the start of a text shorter than a mark;
    // a last odd byte of UTF-16 is dropped.
    void finish(std::string& text);

private:
    enum class Encoding { Unknown, Utf8, Utf16LittleEndian, Utf16BigEndian };

    void takeStartByte(char byte, std::string& text);

    Encoding encoding_ = Encoding::Unknown;
    // The start until it tells the encoding; then the first byte of a UTF-16 unit.
    char held_[3] = {};
    size_t heldCount_ = 0;
};

// The UTF-8 of a whole file's bytes.
std::string decodeText(const char* bytes, size_t count);
