#include "tests/support/exif_orientation.h"

Bytes withExifOrientation(const Bytes& jpeg, unsigned short orientation, bool bigEndian)
{
    if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return {};
    // A 16- or 32-bit number in the segment's byte order.
    auto number = [bigEndian](uint32_t value, size_t bytes) {
        Bytes out(bytes);
        for (size_t i = 0; i < bytes; ++i)
            out[bigEndian ? bytes - 1 - i : i] = static_cast<unsigned char>(value >> (8 * i));
        return out;
    };
    Bytes segment = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0x00, 0x00};  // APP1, length 34
    const Bytes order = bigEndian ? Bytes{'M', 'M'} : Bytes{'I', 'I'};
    for (const Bytes& field : {order, number(42, 2),  // TIFF header
                               number(8, 4),          // IFD0 at offset 8
                               number(1, 2),          // one entry
                               number(0x0112, 2), number(3, 2), number(1, 4),  // Orientation, SHORT, count 1
                               number(orientation, 2), number(0, 2),           // the value, padded to four bytes
                               number(0, 4)})                                  // no next IFD
        segment.insert(segment.end(), field.begin(), field.end());
    Bytes result(jpeg.begin(), jpeg.begin() + 2);
    result.insert(result.end(), segment.begin(), segment.end());
    result.insert(result.end(), jpeg.begin() + 2, jpeg.end());
    return result;
}
