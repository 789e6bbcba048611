#include <algorithm>
#include <cstring>

#include "codecs/jpeg_metadata.h"

namespace {

constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp2 = 0xE2;
// An ICC profile splits into at most 255 chunks; this leaves room for Exif,
// XMP and its extension beside it, and bounds what a crafted file costs.
constexpr size_t kMostKeptSegments = 300;

// The source read through a buffer of its own, so that a walk byte by byte
// costs few reads of a file.
class BufferedReader {
public:
    explicit BufferedReader(ByteSource& source) : source_(source) {}

    bool byte(uint8_t& out) { return bytes(&out, 1); }
    // All count bytes into out (or past them when out is nullptr); false when the source ends first.
    bool bytes(uint8_t* out, size_t count)
    {
        while (count > 0) {
            if (at_ == end_ && !refill()) return false;
            const size_t taken = std::min(count, end_ - at_);
            if (out) {
                std::memcpy(out, buffer_ + at_, taken);
                out += taken;
            }
            at_ += taken;
            count -= taken;
        }
        return true;
    }

private:
    bool refill()
    {
        at_ = 0;
        end_ = source_.read(buffer_, sizeof buffer_);
        return end_ > 0;
    }

    ByteSource& source_;
    uint8_t buffer_[4096];
    size_t at_ = 0;
    size_t end_ = 0;
};

// The next marker, the way libjpeg finds it: stray bytes before it and fill
// bytes (0xFF) are passed over, as is a stuffed 0xFF 0x00.
bool nextMarker(BufferedReader& reader, uint8_t& marker)
{
    uint8_t byte = 0;
    for (;;) {
        do {
            if (!reader.byte(byte)) return false;
        } while (byte != 0xFF);
        do {
            if (!reader.byte(byte)) return false;
        } while (byte == 0xFF);
        if (byte != 0) {
            marker = byte;
            return true;
        }
    }
}

bool hasNoLength(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

bool readHeadSegments(ByteSource& source, JpegSegments& segments)
{
    segments.clear();
    BufferedReader reader(source);
    uint8_t start[2] = {};
    if (!reader.bytes(start, 2) || start[0] != 0xFF || start[1] != kStartOfImage) return false;
    // A segment cut short ends the walk with those before it: the file is a
    // JPEG, if a broken one.
    uint8_t marker = 0;
    while (nextMarker(reader, marker) && marker != kStartOfScan && marker != kEndOfImage) {
        if (hasNoLength(marker)) continue;
        // A 16-bit big-endian length that counts itself, then the content.
        uint8_t length[2] = {};
        if (!reader.bytes(length, 2)) break;
        const size_t lengthValue = static_cast<size_t>(length[0]) << 8 | length[1];
        if (lengthValue < 2) break;
        const size_t contentBytes = lengthValue - 2;
        if ((marker == kApp1 || marker == kApp2) && segments.size() < kMostKeptSegments) {
            JpegSegment segment;
            segment.marker = marker;
            segment.data.resize(contentBytes);
            if (!reader.bytes(segment.data.data(), contentBytes)) break;
            segments.push_back(std::move(segment));
        } else if (!reader.bytes(nullptr, contentBytes)) {
            break;
        }
    }
    return true;
}
