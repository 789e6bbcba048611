#include "tests/support/picture_bytes.h"

#include <cstdint>

namespace {

using Bytes = std::vector<unsigned char>;

void put(Bytes& bytes, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// The pixels row by row from the top, each as the given channels of its colour.
Bytes pixelsOf(int width, int height, const PixelColour& pixel, bool bgra, bool bottomUp = false)
{
    Bytes pixels;
    for (int row = 0; row < height; ++row) {
        const int y = bottomUp ? height - 1 - row : row;
        for (int x = 0; x < width; ++x) {
            const Colour colour = pixel(x, y);
            if (bgra) {
                for (int value : {colour.blue, colour.green, colour.red, colour.alpha})
                    pixels.push_back(static_cast<unsigned char>(value));
            } else {
                for (int value : {colour.red, colour.green, colour.blue})
                    pixels.push_back(static_cast<unsigned char>(value));
            }
        }
    }
    return pixels;
}

}  // namespace

Bytes tiffBytes(int width, int height, const PixelColour& pixel, int orientation, const Bytes& profile)
{
    const Bytes pixels = pixelsOf(width, height, pixel, false);
    struct Entry {
        uint16_t tag, type;
        uint32_t count, value;
    };
    const uint16_t kShort = 3, kLong = 4, kUndefined = 7;
    const int entryCount = profile.empty() ? 11 : 12;
    // The header, the directory, then the bits per sample, the profile and the pixels.
    const uint32_t directory = 8;
    const uint32_t bitsAt = directory + 2 + 12 * entryCount + 4;
    const uint32_t profileAt = bitsAt + 6;
    const uint32_t pixelsAt = profileAt + static_cast<uint32_t>(profile.size());
    std::vector<Entry> entries = {
        {256, kLong, 1, static_cast<uint32_t>(width)},
        {257, kLong, 1, static_cast<uint32_t>(height)},
        {258, kShort, 3, bitsAt},
        {259, kShort, 1, 1},
        {262, kShort, 1, 2},
        {273, kLong, 1, pixelsAt},
        {274, kShort, 1, static_cast<uint32_t>(orientation)},
        {277, kShort, 1, 3},
        {278, kLong, 1, static_cast<uint32_t>(height)},
        {279, kLong, 1, static_cast<uint32_t>(pixels.size())},
        {284, kShort, 1, 1},
    };
    if (!profile.empty()) entries.push_back({34675, kUndefined, static_cast<uint32_t>(profile.size()), profileAt});
    Bytes file = {'I', 'I', 42, 0};
    put(file, directory, 4);
    put(file, static_cast<uint32_t>(entries.size()), 2);
    for (const Entry& entry : entries) {
        put(file, entry.tag, 2);
        put(file, entry.type, 2);
        put(file, entry.count, 4);
        put(file, entry.value, entry.type == kShort && entry.count == 1 ? 2 : 4);
        if (entry.type == kShort && entry.count == 1) put(file, 0, 2);
    }
    put(file, 0, 4);
    for (int i = 0; i < 3; ++i) put(file, 8, 2);
    file.insert(file.end(), profile.begin(), profile.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes iconBytes(int width, int height, const PixelColour& pixel)
{
    const Bytes pixels = pixelsOf(width, height, pixel, true, true);
    // The mask that follows the colours: rows of bits padded to 32, all shown.
    const size_t maskBytes = static_cast<size_t>((width + 31) / 32 * 4) * static_cast<size_t>(height);
    const uint32_t imageBytes = static_cast<uint32_t>(40 + pixels.size() + maskBytes);
    Bytes file;
    put(file, 0, 2);
    put(file, 1, 2);  // an icon
    put(file, 1, 2);  // of one image
    file.push_back(static_cast<unsigned char>(width & 0xFF));
    file.push_back(static_cast<unsigned char>(height & 0xFF));
    put(file, 0, 2);   // no palette
    put(file, 1, 2);   // planes
    put(file, 32, 2);  // bits per pixel
    put(file, imageBytes, 4);
    put(file, 6 + 16, 4);
    // Its bitmap header counts the colours and the mask as one picture twice as high.
    put(file, 40, 4);
    put(file, static_cast<uint32_t>(width), 4);
    put(file, static_cast<uint32_t>(height * 2), 4);
    put(file, 1, 2);
    put(file, 32, 2);
    for (int i = 0; i < 6; ++i) put(file, 0, 4);
    file.insert(file.end(), pixels.begin(), pixels.end());
    file.insert(file.end(), maskBytes, 0);
    return file;
}

Bytes targaBytes(int width, int height, const PixelColour& pixel)
{
    Bytes file = {0, 0, 2};  // no id, no palette, true colour
    put(file, 0, 5);         // no palette
    put(file, 0, 4);         // origin
    put(file, static_cast<uint32_t>(width), 2);
    put(file, static_cast<uint32_t>(height), 2);
    file.push_back(32);
    file.push_back(0x28);  // rows from the top, 8 bits of alpha
    const Bytes pixels = pixelsOf(width, height, pixel, true);
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}
