#include "imaging/resize_picture.h"

#include "codecs/wic_factory.h"
#include "imaging/copy_format.h"
#include "imaging/output_file.h"
#include "imaging/picture.h"
#include "imaging/resize_arguments.h"

ResizeOutcome resizePictureFile(const Utf8String& picturePath, const ImageSize& requested, Utf8String& copyPath)
{
    const ThreadImaging imaging;
    Picture image;
    if (!image.load(picturePath)) return image.failure();
    const ImageSize fitted = image.fitSize(requested.width, requested.height);
    if (!image.scale(fitted.width, fitted.height)) return image.failure();

    // The copy's name says its own kind, which may not be the source's.
    const PictureKind kind = image.copyKind();
    const Utf8String extension = copyExtension(fileExtension(picturePath), kind);
    ClaimedOutputFile claimed = claimOutputFile(fileBaseName(picturePath), fitted, extension);
    if (!claimed) return ResizeOutcome::Unwritable;
    std::vector<uint8_t> file;
    if (!image.encode(kind, file)) return image.failure();
    if (!claimed.write(file)) return ResizeOutcome::Unwritable;
    copyPath = claimed.path();
    claimed.keep();
    return ResizeOutcome::Written;
}
