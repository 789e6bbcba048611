#include "imaging/resize_picture.h"

#include "imaging/output_file.h"
#include "imaging/picture.h"
#include "imaging/resize_arguments.h"

ResizeOutcome resizePictureFile(const Utf8String& picturePath, const ImageSize& requested, Utf8String& copyPath)
{
    Picture image;
    if (!image.load(picturePath)) return image.failure();
    const ImageSize fitted = image.fitSize(requested.width, requested.height);
    if (!image.scale(fitted.width, fitted.height)) return image.failure();

    const Utf8String extension = fileExtension(picturePath);
    ClaimedOutputFile claimed = claimOutputFile(fileBaseName(picturePath), fitted, extension);
    if (!claimed) return ResizeOutcome::Unwritable;
    if (!image.save(claimed.path(), mimeTypeForExtension(extension))) return image.failure();
    copyPath = claimed.path();
    claimed.keep();
    return ResizeOutcome::Written;
}
