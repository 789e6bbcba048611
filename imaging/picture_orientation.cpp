#include "imaging/picture_orientation.h"

#include <memory>
#include <new>

Gdiplus::RotateFlipType rotateFlipForOrientation(uint16_t orientation)
{
    switch (orientation) {
    case 2: return Gdiplus::RotateNoneFlipX;
    case 3: return Gdiplus::Rotate180FlipNone;
    case 4: return Gdiplus::Rotate180FlipX;
    case 5: return Gdiplus::Rotate90FlipX;
    case 6: return Gdiplus::Rotate90FlipNone;
    case 7: return Gdiplus::Rotate270FlipX;
    case 8: return Gdiplus::Rotate270FlipNone;
    default: return Gdiplus::RotateNoneFlipNone;
    }
}

static bool readOrientation(Gdiplus::Image& picture, uint16_t& orientation)
{
    const UINT bytes = picture.GetPropertyItemSize(PropertyTagOrientation);
    // One SHORT behind the item header; anything much larger is not a real tag.
    if (bytes < sizeof(Gdiplus::PropertyItem) + sizeof(uint16_t) || bytes > 4096) return false;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[bytes]);
    if (!buffer) return false;
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.get());
    if (picture.GetPropertyItem(PropertyTagOrientation, bytes, item) != Gdiplus::Ok) return false;
    if (item->type != PropertyTagTypeShort || item->length < sizeof(uint16_t) || !item->value) return false;
    orientation = *static_cast<const uint16_t*>(item->value);
    return true;
}

void turnUpright(Gdiplus::Image& picture)
{
    uint16_t orientation = 1;
    if (!readOrientation(picture, orientation)) return;
    const Gdiplus::RotateFlipType turn = rotateFlipForOrientation(orientation);
    if (turn != Gdiplus::RotateNoneFlipNone) picture.RotateFlip(turn);
}
