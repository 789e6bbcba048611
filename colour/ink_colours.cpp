#include "colour/ink_colours.h"

#include <lcms2.h>

namespace {

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

// A transform from the photo's CMYK profile to sRGB, or none where the
// profile is missing, unreadable or not of inks. Perceptual, as a print
// profile's gamut is mapped for photos.
void* inkTransform(const std::vector<uint8_t>& bytes, bool inverted)
{
    if (bytes.empty()) return nullptr;
    const Profile source(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
    if (!source || cmsGetColorSpace(source.get()) != cmsSigCmykData) return nullptr;
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb) return nullptr;
    return cmsCreateTransform(source.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8, srgb.get(), TYPE_BGR_8,
                              INTENT_PERCEPTUAL, 0);
}

}  // namespace

void InkColours::TransformDeleter::operator()(void* transform) const
{
    cmsDeleteTransform(transform);
}

InkColours::InkColours(const std::vector<uint8_t>& profile, bool inverted)
    : transform_(inkTransform(profile, inverted)), inverted_(inverted)
{
}

InkColours::~InkColours() = default;

void InkColours::toBgr(const uint8_t* inks, int32_t width, uint8_t* bgr) const
{
    if (width <= 0) return;
    if (transform_) {
        cmsDoTransform(transform_.get(), inks, bgr, static_cast<cmsUInt32Number>(width));
        return;
    }
    for (int32_t x = 0; x < width; ++x, inks += 4, bgr += 3) {
        const int k = inverted_ ? inks[3] : 255 - inks[3];
        for (int c = 0; c < 3; ++c) {
            const int light = inverted_ ? inks[2 - c] : 255 - inks[2 - c];
            bgr[c] = static_cast<uint8_t>((light * k + 127) / 255);
        }
    }
}
