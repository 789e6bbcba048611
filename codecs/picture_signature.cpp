#include "codecs/picture_signature.h"

#include <cstring>

bool isJpegSignature(const uint8_t* bytes, size_t count)
{
    return count >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool isPictureSignature(const uint8_t* bytes, size_t count)
{
    if (isJpegSignature(bytes, count)) return true;
    static const struct {
        const char* start;
        size_t length;
    } signatures[] = {
        {"\x89PNG\r\n\x1A\n", 8}, {"GIF8", 4}, {"BM", 2}, {"II*\0", 4}, {"MM\0*", 4},
    };
    for (const auto& signature : signatures) {
        if (count >= signature.length && std::memcmp(bytes, signature.start, signature.length) == 0) return true;
    }
    return false;
}
