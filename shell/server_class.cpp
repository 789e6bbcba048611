#include "shell/server_class.h"

#include <cstdio>
#include <cstring>

#include "settings/size_text.h"
#include "shell/verb_text.h"

// Drawn once at random; the program's classes differ only in the size fields
// and the last byte. Every earlier release wrote the one for every user.
static const unsigned char kClassTail[8] = {0x9A, 0x4E, 0x2C, 0x61, 0x50, 0x11, 0x7D, 0xB3};
static constexpr unsigned char kUserClassLastByte = 0x3E;

Utf8String serverClassId(const ImageSize& size, bool forAllUsers)
{
    if (size.width <= 0 || size.height <= 0) return Utf8String();
    const auto height = static_cast<uint32_t>(size.height);
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(size.width), static_cast<unsigned>(height >> 16),
                  static_cast<unsigned>(height & 0xFFFFu), kClassTail[0], kClassTail[1], kClassTail[2],
                  kClassTail[3], kClassTail[4], kClassTail[5], kClassTail[6],
                  forAllUsers ? kClassTail[7] : kUserClassLastByte);
    return Utf8String::fromAnsi(text);
}

// Reads `digits` hexadecimal digits, either letter case, at text.
static bool readHex(const char* text, int digits, uint32_t& value)
{
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = text[i];
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<uint32_t>(c - 'A' + 10);
        else return false;
        value = value << 4 | digit;
    }
    return true;
}

bool parseServerClassId(const Utf8String& classId, ImageSize& size)
{
    // "{" 8 "-" 4 "-" 4 "-" 4 "-" 12 "}"
    if (classId.byteLength() != 38) return false;
    const char* text = classId.text();
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' ||
        text[37] != '}')
        return false;
    uint32_t width = 0, heightHigh = 0, heightLow = 0;
    if (!readHex(text + 1, 8, width) || !readHex(text + 10, 4, heightHigh) || !readHex(text + 15, 4, heightLow))
        return false;
    const int tailAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        uint32_t byte = 0;
        if (!readHex(text + tailAt[i], 2, byte)) return false;
        if (byte != kClassTail[i] && !(i == 7 && byte == kUserClassLastByte)) return false;
    }
    const uint32_t height = heightHigh << 16 | heightLow;
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return false;
    size = ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
    return true;
}

Utf8String serverCommand(const Utf8String& executablePath, const ImageSize& size)
{
    Utf8String command = Utf8String::fromAnsi("\"");
    command.append(executablePath);
    command.append(Utf8String::fromAnsi("\" -serve "));
    command.append(formatSize(size.width, size.height));
    return command.charCount() <= kMaxRegistryText ? command : Utf8String();
}

bool parseServeArguments(const Utf8String& arguments, ImageSize& size)
{
    const Utf8String serveSwitch = Utf8String::fromAnsi("-serve ");
    if (arguments.find(serveSwitch, 0, false) != 0) return false;
    const uint32_t sizeAt = serveSwitch.charCount();
    const int32_t blankAt = arguments.find(Utf8String::fromAnsi(" "), sizeAt, false);
    const uint32_t sizeLength = blankAt < 0 ? Utf8String::kRestOfText : static_cast<uint32_t>(blankAt) - sizeAt;
    return parseSize(arguments.mid(sizeAt, sizeLength), size);
}
