#include "codecs/picture_signature.h"

#include <cstring>

bool isPictureSignature(const uint8_t* bytes, size_t count)
{
    static const struct {
        const char* start;
        size_t length;
    } signatures[] = {
        {"\xFF\xD8\xFF", 3}, {"\x89PNG\r\n\x1A\n", 8}, {"GIF8", 4}, {"BM", 2}, {"II*\0", 4}, {"MM\0*", 4},
    };
    for (const auto& signature : signatures) {
        if (count >= signature.length && std::memcmp(bytes, signature.start, signature.length) == 0) return true;
    }
    return false;
}
