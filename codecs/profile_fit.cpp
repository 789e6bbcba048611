#include "codecs/profile_fit.h"

#include <cstring>

int32_t copyChannels(PictureKind kind, int32_t channels)
{
    const bool holdsGrey = kind == PictureKind::Jpeg || kind == PictureKind::Png || kind == PictureKind::Tiff;
    if (channels == 1 && !holdsGrey) return 3;
    // A JPEG is flattened; a GIF's transparency is a palette entry, not a channel.
    if (channels == 4 && (kind == PictureKind::Jpeg || kind == PictureKind::Gif)) return 3;
    return channels;
}

bool profileFitsPixels(const std::vector<uint8_t>& profile, int32_t channels)
{
    constexpr size_t kSpaceAt = 16;
    if (profile.size() < kSpaceAt + 4) return false;
    const char* space = reinterpret_cast<const char*>(profile.data() + kSpaceAt);
    if (std::memcmp(space, "GRAY", 4) == 0) return channels == 1;
    if (std::memcmp(space, "RGB ", 4) == 0) return channels == 3 || channels == 4;
    return false;
}
