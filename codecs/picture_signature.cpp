#include "codecs/picture_signature.h"

bool isJpegSignature(const uint8_t* bytes, size_t count)
{
    return count >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}
