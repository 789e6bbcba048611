#include "imaging/indexed_copy.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <exception>

#include "imaging/palette_mapping.h"

namespace {

// ColorPalette is Flags, Count and Count entries, all 32-bit, in one block;
// reading and writing it as such a block keeps every entry in bounds.
static_assert(offsetof(Gdiplus::ColorPalette, Entries) == 2 * sizeof(UINT), "ColorPalette layout");
static_assert(sizeof(Gdiplus::ARGB) == sizeof(UINT) && sizeof(UINT) == sizeof(uint32_t), "ColorPalette layout");
constexpr size_t kPaletteHeader = 2;

// One LockBits lock on a whole bitmap, released once.
class LockedBits {
public:
    LockedBits(Gdiplus::Bitmap& bitmap, UINT mode, Gdiplus::PixelFormat format) : bitmap_(bitmap)
    {
        const Gdiplus::Rect whole(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
        locked_ = bitmap.LockBits(&whole, mode, format, &data_) == Gdiplus::Ok;
    }
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;
    ~LockedBits() { unlock(); }

    bool locked() const { return locked_; }
    unsigned char* row(UINT y) const
    {
        return static_cast<unsigned char*>(data_.Scan0) + static_cast<std::ptrdiff_t>(y) * data_.Stride;
    }
    // Written pixels reach the bitmap here, so a writer checks the result.
    bool unlock()
    {
        if (!locked_) return false;
        locked_ = false;
        return bitmap_.UnlockBits(&data_) == Gdiplus::Ok;
    }

private:
    Gdiplus::Bitmap& bitmap_;
    Gdiplus::BitmapData data_ = {};
    bool locked_ = false;
};

// A picture that is no bitmap yet (loaded, never scaled) is drawn once, unscaled, into one.
std::unique_ptr<Gdiplus::Bitmap> drawnAsBitmap(Gdiplus::Image& picture)
{
    const INT width = static_cast<INT>(picture.GetWidth());
    const INT height = static_cast<INT>(picture.GetHeight());
    std::unique_ptr<Gdiplus::Bitmap> bitmap(new Gdiplus::Bitmap(width, height, PixelFormat32bppARGB));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Graphics graphics(bitmap.get());
    if (graphics.GetLastStatus() != Gdiplus::Ok) return nullptr;
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    if (graphics.DrawImage(&picture, 0, 0, width, height) != Gdiplus::Ok) return nullptr;
    return bitmap;
}

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

std::unique_ptr<Gdiplus::Bitmap> indexedCopy(Gdiplus::Image& picture, const std::vector<uint32_t>& sourcePalette)
{
    std::unique_ptr<Gdiplus::Bitmap> drawn;
    Gdiplus::Bitmap* source = dynamic_cast<Gdiplus::Bitmap*>(&picture);
    if (!source) {
        drawn = drawnAsBitmap(picture);
        source = drawn.get();
    }
    std::vector<uint32_t> pixels;
    if (!source || !readPixels(*source, pixels)) return nullptr;
    const IndexedPixels mapped = mapToPalette(pixels, sourcePalette);

    const INT width = static_cast<INT>(source->GetWidth());
    const INT height = static_cast<INT>(source->GetHeight());
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

std::unique_ptr<Gdiplus::Bitmap> makeIndexedCopy(Gdiplus::Image& picture, const std::vector<uint32_t>& sourcePalette)
{
    // A picture too large for memory gives no copy rather than ending the program.
    try {
        return indexedCopy(picture, sourcePalette);
    } catch (const std::exception&) {
        return nullptr;
    }
}
