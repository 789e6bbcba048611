#include "shell/server_class.h"

#include <cstdio>
#include <cstring>

#include "settings/preset_text.h"
#include "settings/size_text.h"
#include "shell/verb_text.h"

// Drawn once at random; the program's classes differ only in the size
// fields, the two option bytes and the last byte. Every earlier release
// wrote the one for every user, of a plain preset.
static const unsigned char kClassTail[8] = {0x9A, 0x4E, 0x2C, 0x61, 0x50, 0x11, 0x7D, 0xB3};
static constexpr unsigned char kUserClassLastByte = 0x3E;
// The quality goes into this byte of the tail, the other options into the next.
static constexpr int kQualityByte = 5;
static constexpr int kOptionsByte = 6;

// The options other than the quality as bits: kind, details, never larger, keep date.
static unsigned optionBits(const PresetOptions& options)
{
    return static_cast<unsigned>(options.kind) | static_cast<unsigned>(options.details) << 2 |
           (options.neverLarger ? 1u : 0u) << 4 | (options.keepDate ? 1u : 0u) << 5;
}

static bool readOptionBits(unsigned bits, unsigned quality, PresetOptions& options)
{
    const unsigned kind = bits & 3u, details = bits >> 2 & 3u;
    if (bits >> 6 != 0 || details > static_cast<unsigned>(KeptDetails::ColourProfileOnly) ||
        quality > static_cast<unsigned>(kHighestQuality))
        return false;
    options.kind = static_cast<CopyKind>(kind);
    options.details = static_cast<KeptDetails>(details);
    options.neverLarger = (bits >> 4 & 1u) != 0;
    options.keepDate = (bits >> 5 & 1u) != 0;
    options.quality = static_cast<int32_t>(quality);
    return true;
}

Utf8String serverClassId(const Preset& preset, bool forAllUsers)
{
    const ImageSize& size = preset.size;
    if (size.width <= 0 || size.height <= 0) return Utf8String();
    const auto height = static_cast<uint32_t>(size.height);
    unsigned char tail[8];
    for (int i = 0; i < 8; ++i) tail[i] = kClassTail[i];
    tail[kQualityByte] ^= static_cast<unsigned char>(preset.options.quality & 0x7F);
    tail[kOptionsByte] ^= static_cast<unsigned char>(optionBits(preset.options));
    if (!forAllUsers) tail[7] = kUserClassLastByte;
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(size.width), static_cast<unsigned>(height >> 16),
                  static_cast<unsigned>(height & 0xFFFFu), tail[0], tail[1], tail[2], tail[3], tail[4], tail[5],
                  tail[6], tail[7]);
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

bool parseServerClassId(const Utf8String& classId, Preset& preset)
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
    uint32_t tail[8] = {};
    for (int i = 0; i < 8; ++i) {
        if (!readHex(text + tailAt[i], 2, tail[i])) return false;
        const bool optionByte = i == kQualityByte || i == kOptionsByte;
        if (!optionByte && tail[i] != kClassTail[i] && !(i == 7 && tail[i] == kUserClassLastByte)) return false;
    }
    PresetOptions options;
    if (!readOptionBits(tail[kOptionsByte] ^ kClassTail[kOptionsByte], tail[kQualityByte] ^ kClassTail[kQualityByte],
                        options))
        return false;
    const uint32_t height = heightHigh << 16 | heightLow;
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return false;
    preset = Preset{ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)}, options};
    return true;
}

Utf8String serverCommand(const Utf8String& executablePath, const Preset& preset)
{
    Utf8String command = Utf8String::fromAnsi("\"");
    command.append(executablePath);
    command.append(Utf8String::fromAnsi("\" -serve "));
    command.append(presetText(preset));
    return command.charCount() <= kMaxRegistryText ? command : Utf8String();
}

bool parseServeArguments(const Utf8String& arguments, Preset& preset)
{
    const Utf8String serveSwitch = Utf8String::fromAnsi("-serve ");
    if (arguments.find(serveSwitch, 0, false) != 0) return false;
    const uint32_t sizeAt = serveSwitch.charCount();
    const int32_t blankAt = arguments.find(Utf8String::fromAnsi(" "), sizeAt, false);
    const uint32_t sizeLength = blankAt < 0 ? Utf8String::kRestOfText : static_cast<uint32_t>(blankAt) - sizeAt;
    Preset read;
    if (!parseSize(arguments.mid(sizeAt, sizeLength), read.size)) return false;
    if (blankAt >= 0) readOptionWords(arguments, static_cast<uint32_t>(blankAt) + 1, read.options);
    preset = read;
    return true;
}
