#include "tests/support/exif_orientation.h"

#include <windows.h>

#include <gdiplus.h>

#include <vector>

Bytes withExifOrientation(const Bytes& jpeg, unsigned short orientation)
{
    if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return {};
    const unsigned char low = static_cast<unsigned char>(orientation & 0xFF);
    const unsigned char high = static_cast<unsigned char>(orientation >> 8);
    const Bytes segment = {
        0xFF, 0xE1, 0x00, 0x22,              // APP1, length 34 (the length field, then 32 bytes)
        'E', 'x', 'i', 'f', 0x00, 0x00,      // Exif header
        'I', 'I', 0x2A, 0x00,                // TIFF header, little-endian
        0x08, 0x00, 0x00, 0x00,              // IFD0 at offset 8
        0x01, 0x00,                          // one entry
        0x12, 0x01, 0x03, 0x00,              // tag 0x0112, type SHORT
        0x01, 0x00, 0x00, 0x00,              // count 1
        low, high, 0x00, 0x00,               // the value, padded to four bytes
        0x00, 0x00, 0x00, 0x00,              // no next IFD
    };
    Bytes result(jpeg.begin(), jpeg.begin() + 2);
    result.insert(result.end(), segment.begin(), segment.end());
    result.insert(result.end(), jpeg.begin() + 2, jpeg.end());
    return result;
}

std::optional<int> orientationTag(const std::wstring& path)
{
    Gdiplus::Image image(path.c_str());
    if (image.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
    const UINT size = image.GetPropertyItemSize(PropertyTagOrientation);
    if (size < sizeof(Gdiplus::PropertyItem)) return std::nullopt;
    std::vector<BYTE> storage(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(storage.data());
    if (image.GetPropertyItem(PropertyTagOrientation, size, item) != Gdiplus::Ok) return std::nullopt;
    if (item->type != PropertyTagTypeShort || item->length < sizeof(unsigned short)) return std::nullopt;
    return *static_cast<const unsigned short*>(item->value);
}
