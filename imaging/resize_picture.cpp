#include "imaging/resize_picture.h"

#include <windows.h>

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
    Utf8String claimed;
    if (!claimOutputFile(fileBaseName(picturePath), fitted, extension, claimed)) return ResizeOutcome::Unwritable;
    if (!image.save(claimed, mimeTypeForExtension(extension))) {
        // The name was created empty by this run, so nobody else's file goes.
        DeleteFileW(claimed.toWide().units());
        return image.failure();
    }
    copyPath = claimed;
    return ResizeOutcome::Written;
}
