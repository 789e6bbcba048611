#include "imaging/copy_format.h"

namespace {

struct KindNames {
    PictureKind kind;
    const char* names[4];  // the usual one first; null after the last
};

const KindNames kWritten[] = {
    {PictureKind::Jpeg, {"jpg", "jpeg", "jpe", "jfif"}},
    {PictureKind::Png, {"png"}},
    {PictureKind::Gif, {"gif"}},
    {PictureKind::Bmp, {"bmp", "dib"}},
    {PictureKind::Tiff, {"tif", "tiff"}},
    {PictureKind::WebP, {"webp"}},
};

const KindNames* namesOf(PictureKind kind)
{
    for (const KindNames& written : kWritten) {
        if (written.kind == kind) return &written;
    }
    return nullptr;
}

bool anyTransparent(const PixelView& pixels)
{
    if (pixels.channels != 4) return false;
    for (int32_t y = 0; y < pixels.height; ++y) {
        const uint8_t* pixel = pixels.row(y);
        for (int32_t x = 0; x < pixels.width; ++x, pixel += 4) {
            if (pixel[3] != 255) return true;
        }
    }
    return false;
}

}  // namespace

PictureKind copyKindFor(PictureKind source, const PixelView& copy)
{
    if (namesOf(source)) return source;
    return anyTransparent(copy) ? PictureKind::Png : PictureKind::Jpeg;
}

Utf8String copyExtension(const Utf8String& sourceExtension, PictureKind kind)
{
    const KindNames* written = namesOf(kind);
    if (!written) written = namesOf(PictureKind::Jpeg);
    for (const char* name : written->names) {
        if (name && sourceExtension.compare(Utf8String::fromAnsi(name), true) == 0) return sourceExtension;
    }
    return Utf8String::fromAnsi(written->names[0]);
}
