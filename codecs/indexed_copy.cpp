#include "codecs/indexed_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <exception>

#include "codecs/locked_bits.h"
#include "pixels/palette_mapping.h"

namespace {

// ColorPalette is Flags, Count and Count entries, all 32-bit, in one block;
// reading and writing it as such a block keeps every entry in bounds.
static_assert(offsetof(Gdiplus::ColorPalette, Entries) == 2 * sizeof(UINT), "ColorPalette layout");
static_assert(sizeof(Gdiplus::ARGB) == sizeof(UINT) && sizeof(UINT) == sizeof(uint32_t), "ColorPalette layout");
constexpr size_t kPaletteHeader = 2;

bool readPixels(Gdiplus::Bitmap& bitmap, std::vector<uint32_t>& pixels)
{
    const size_t width = bitmap.GetWidth();
    const UINT height = bitmap.GetHeight();
    LockedBits bits(bitmap, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB);
    if (!bits.locked()) return false;
    pixels.resize(width * height);
    for (UINT y = 0; y < height; ++y) std::memcpy(pixels.data() + y * width, bits.row(y), width * sizeof(uint32_t));
    return bits.unlock();
}

bool writeIndices(Gdiplus::Bitmap& bitmap, const std::vector<uint8_t>& indices)
{
    const size_t width = bitmap.GetWidth();
    const UINT height = bitmap.GetHeight();
    if (indices.size() != width * height) return false;
    LockedBits bits(bitmap, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed);
    if (!bits.locked()) return false;
    for (UINT y = 0; y < height; ++y) std::memcpy(bits.row(y), indices.data() + y * width, width);
    return bits.unlock();
}

bool setPalette(Gdiplus::Bitmap& bitmap, const IndexedPixels& mapped)
{
    // The encoder takes the entry with alpha 0 as GIF's transparent colour.
    const UINT flags = mapped.transparentIndex >= 0 ? static_cast<UINT>(Gdiplus::PaletteFlagsHasAlpha) : 0u;
    std::vector<UINT> block{flags, static_cast<UINT>(mapped.palette.size())};
    block.insert(block.end(), mapped.palette.begin(), mapped.palette.end());
    return bitmap.SetPalette(reinterpret_cast<const Gdiplus::ColorPalette*>(block.data())) == Gdiplus::Ok;
}

std::unique_ptr<Gdiplus::Bitmap> indexedCopy(Gdiplus::Bitmap& picture, const std::vector<uint32_t>& sourcePalette)
{
    std::vector<uint32_t> pixels;
    if (!readPixels(picture, pixels)) return nullptr;
    const IndexedPixels mapped = mapToPalette(pixels, sourcePalette);

    const INT width = static_cast<INT>(picture.GetWidth());
    const INT height = static_cast<INT>(picture.GetHeight());
    std::unique_ptr<Gdiplus::Bitmap> copy(new Gdiplus::Bitmap(width, height, PixelFormat8bppIndexed));
    if (!copy || copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
    if (!setPalette(*copy, mapped) || !writeIndices(*copy, mapped.indices)) return nullptr;
    return copy;
}

}  // namespace

std::vector<uint32_t> paletteOf(Gdiplus::Image& picture)
{
    if (!Gdiplus::IsIndexedPixelFormat(picture.GetPixelFormat())) return {};
    const INT bytes = picture.GetPaletteSize();
    if (bytes < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) return {};
    std::vector<UINT> block((static_cast<size_t>(bytes) + sizeof(UINT) - 1) / sizeof(UINT));
    if (picture.GetPalette(reinterpret_cast<Gdiplus::ColorPalette*>(block.data()), bytes) != Gdiplus::Ok) return {};
    const size_t count = std::min<size_t>({block[1], block.size() - kPaletteHeader, 256});
    return std::vector<uint32_t>(block.begin() + kPaletteHeader, block.begin() + kPaletteHeader + count);
}

std::unique_ptr<Gdiplus::Bitmap> makeIndexedCopy(Gdiplus::Bitmap& picture, const std::vector<uint32_t>& sourcePalette)
{
    // A picture too large for memory gives no copy rather than ending the program.
    try {
        return indexedCopy(picture, sourcePalette);
    } catch (const std::exception&) {
        return nullptr;
    }
}
