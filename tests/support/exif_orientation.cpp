#include "tests/support/exif_orientation.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint16_t kAscii = 2;
constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;
constexpr uint16_t kRational = 5;

struct Entry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    Bytes value;  // four bytes or fewer stand in the entry, longer ones after the directories
};
using Directory = std::vector<Entry>;

size_t directoryBytes(const Directory& directory)
{
    return directory.empty() ? 0 : 2 + 12 * directory.size() + 4;
}

Bytes text(const char* characters)
{
    return Bytes(characters, characters + std::strlen(characters) + 1);
}

void append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

Bytes exifNumber(uint32_t value, size_t bytes, bool bigEndian)
{
    Bytes out(bytes);
    for (size_t i = 0; i < bytes; ++i) out[bigEndian ? bytes - 1 - i : i] = static_cast<unsigned char>(value >> (8 * i));
    return out;
}

ExifSegment makeExifSegment(const ExifContent& content)
{
    const bool big = content.bigEndian;
    auto number = [big](uint32_t value, size_t bytes) { return exifNumber(value, bytes, big); };
    Directory ifd0, exif, gps, ifd1;
    if (content.details) {
        ifd0.push_back({0x0110, kAscii, 12, text("Test Camera")});
        exif.push_back({0x9003, kAscii, 20, text("2024:05:01 12:30:00")});
        gps.push_back({0x0001, kAscii, 2, text("N")});
        Bytes latitude;
        for (uint32_t part : {48u, 1u, 51u, 1u, 30u, 1u}) append(latitude, number(part, 4));
        gps.push_back({0x0002, kRational, 3, latitude});
    }
    ifd0.insert(ifd0.begin() + (content.details ? 1 : 0), {0x0112, kShort, 1, number(content.orientation, 2)});
    if (content.pixelSizeType != 0) {
        const size_t bytes = content.pixelSizeType == kShort ? 2 : 4;
        exif.push_back({0xA002, content.pixelSizeType, 1, number(content.pixelWidth, bytes)});
        exif.push_back({0xA003, content.pixelSizeType, 1, number(content.pixelHeight, bytes)});
    }
    // Header, IFD0, the Exif, GPS and thumbnail directories, the longer values, the thumbnail.
    const size_t pointers = (exif.empty() ? 0 : 1) + (gps.empty() ? 0 : 1);
    const size_t exifAt = 8 + directoryBytes(ifd0) + 12 * pointers;
    const size_t gpsAt = exifAt + directoryBytes(exif);
    const size_t ifd1At = gpsAt + directoryBytes(gps);
    if (!exif.empty()) ifd0.push_back({0x8769, kLong, 1, number(static_cast<uint32_t>(exifAt), 4)});
    if (!gps.empty()) ifd0.push_back({0x8825, kLong, 1, number(static_cast<uint32_t>(gpsAt), 4)});
    const Bytes thumbnail = {0xFF, 0xD8, 0xFF, 0xD9};
    if (content.thumbnail) {
        ifd1.push_back({0x0201, kLong, 1, {}});  // the thumbnail's offset, known once the values are laid out
        ifd1.push_back({0x0202, kLong, 1, number(static_cast<uint32_t>(thumbnail.size()), 4)});
    }

    ExifSegment segment;
    const unsigned char order = big ? 'M' : 'I';
    Bytes block = {order, order};
    append(block, number(42, 2));
    append(block, number(8, 4));
    Bytes values;
    const size_t valuesAt = ifd1At + directoryBytes(ifd1);
    auto write = [&](const Directory& directory, uint32_t next) {
        append(block, number(static_cast<uint32_t>(directory.size()), 2));
        for (const Entry& entry : directory) {
            for (const Bytes& field : {number(entry.tag, 2), number(entry.type, 2), number(entry.count, 4)})
                append(block, field);
            segment.valueFields[entry.tag] = kTiffStart + block.size();
            Bytes value = entry.tag == 0x0201 ? number(static_cast<uint32_t>(valuesAt + values.size()), 4) : entry.value;
            if (value.size() > 4) {
                append(block, number(static_cast<uint32_t>(valuesAt + values.size()), 4));
                append(values, value);
            } else {
                value.resize(4);
                append(block, value);
            }
        }
        append(block, number(next, 4));
    };
    segment.ifd1Link = kIfd0 + 2 + 12 * ifd0.size();
    write(ifd0, content.thumbnail ? static_cast<uint32_t>(ifd1At) : 0);
    for (const Directory* directory : {&exif, &gps}) {
        if (!directory->empty()) write(*directory, 0);
    }
    if (content.thumbnail) write(ifd1, 0);
    append(block, values);
    if (content.thumbnail) append(block, thumbnail);

    segment.data = {'E', 'x', 'i', 'f', 0, 0};
    append(segment.data, block);
    return segment;
}

Bytes jpegSegment(unsigned char marker, const Bytes& data)
{
    Bytes segment = {0xFF, marker};
    append(segment, exifNumber(static_cast<uint32_t>(data.size() + 2), 2, true));
    append(segment, data);
    return segment;
}

Bytes withSegments(const Bytes& jpeg, const Bytes& segments)
{
    if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return {};
    Bytes result(jpeg.begin(), jpeg.begin() + 2);
    append(result, segments);
    result.insert(result.end(), jpeg.begin() + 2, jpeg.end());
    return result;
}

Bytes withExifOrientation(const Bytes& jpeg, unsigned short orientation, bool bigEndian)
{
    ExifContent content;
    content.orientation = orientation;
    content.bigEndian = bigEndian;
    return withSegments(jpeg, jpegSegment(0xE1, makeExifSegment(content).data));
}
