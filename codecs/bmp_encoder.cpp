#include "codecs/bmp_encoder.h"

#include <new>

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kVersion5HeaderBytes = 124;
constexpr uint32_t kBitFields = 3;
// bV5CSType: the pixels are sRGB, or described by the embedded profile.
constexpr uint32_t kSrgbSpace = 0x73524742;      // 'sRGB'
constexpr uint32_t kEmbeddedProfile = 0x4D424544;  // 'MBED'
constexpr uint32_t kPerceptualIntent = 4;          // LCS_GM_IMAGES
// 72 dots an inch, as pixels a metre.
constexpr uint32_t kPixelsPerMetre = 2835;

void put16(std::vector<uint8_t>& file, uint32_t value)
{
    file.push_back(static_cast<uint8_t>(value));
    file.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& file, uint32_t value)
{
    put16(file, value & 0xFFFF);
    put16(file, value >> 16);
}

// Rows bottom-up, each padded to four bytes.
void putPixels(std::vector<uint8_t>& file, const PixelView& pixels, uint32_t bytesPerPixel, uint32_t rowBytes)
{
    for (int32_t y = pixels.height - 1; y >= 0; --y) {
        const uint8_t* source = pixels.row(y);
        const size_t rowStart = file.size();
        for (int32_t x = 0; x < pixels.width; ++x, source += pixels.channels) {
            const uint8_t grey = source[0];
            file.push_back(grey);
            file.push_back(pixels.channels == 1 ? grey : source[1]);
            file.push_back(pixels.channels == 1 ? grey : source[2]);
            if (bytesPerPixel == 4) file.push_back(source[3]);
        }
        file.resize(rowStart + rowBytes, 0);
    }
}

}  // namespace

bool encodeBmp(const PixelView& pixels, const std::vector<uint8_t>& colourProfile, std::vector<uint8_t>& file)
{
    file.clear();
    if (!pixels.isValid()) return false;
    const uint32_t bytesPerPixel = pixels.channels == 4 ? 4 : 3;
    const uint64_t rowBytes = (uint64_t{static_cast<uint32_t>(pixels.width)} * bytesPerPixel + 3) / 4 * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint32_t>(pixels.height);
    // Alpha and a profile need the version-5 header; plain BGR the classic one every reader knows.
    const bool version5 = bytesPerPixel == 4 || !colourProfile.empty();
    const uint32_t headerBytes = version5 ? kVersion5HeaderBytes : kInfoHeaderBytes;
    const uint64_t pixelsAt = kFileHeaderBytes + headerBytes;
    const uint64_t fileBytes = pixelsAt + pixelBytes + colourProfile.size();
    if (fileBytes > UINT32_MAX) return false;
    try {
        file.reserve(static_cast<size_t>(fileBytes));
        file.push_back('B');
        file.push_back('M');
        put32(file, static_cast<uint32_t>(fileBytes));
        put32(file, 0);
        put32(file, static_cast<uint32_t>(pixelsAt));

        put32(file, headerBytes);
        put32(file, static_cast<uint32_t>(pixels.width));
        put32(file, static_cast<uint32_t>(pixels.height));  // positive: bottom-up
        put16(file, 1);
        put16(file, bytesPerPixel * 8);
        put32(file, bytesPerPixel == 4 ? kBitFields : 0);
        put32(file, static_cast<uint32_t>(pixelBytes));
        put32(file, kPixelsPerMetre);
        put32(file, kPixelsPerMetre);
        put32(file, 0);  // colours used: no palette
        put32(file, 0);
        if (version5) {
            for (const uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
                put32(file, bytesPerPixel == 4 ? mask : 0);
            put32(file, colourProfile.empty() ? kSrgbSpace : kEmbeddedProfile);
            file.resize(file.size() + 36 + 12, 0);  // end points and gamma, unused
            put32(file, kPerceptualIntent);
            // The profile follows the pixels; its place counts from the header's start.
            put32(file, colourProfile.empty() ? 0 : static_cast<uint32_t>(headerBytes + pixelBytes));
            put32(file, static_cast<uint32_t>(colourProfile.size()));
            put32(file, 0);
        }
        putPixels(file, pixels, bytesPerPixel, static_cast<uint32_t>(rowBytes));
        file.insert(file.end(), colourProfile.begin(), colourProfile.end());
    } catch (const std::bad_alloc&) {
        file.clear();
        return false;
    }
    return true;
}
