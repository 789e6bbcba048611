#include "imaging/resize_picture.h"

#include "codecs/wic_factory.h"
#include "imaging/copy_format.h"
#include "imaging/output_file.h"
#include "imaging/picture.h"
#include "imaging/resize_arguments.h"

// The size the preset gives the picture: fitted into its box, but never
// above the picture's own when the preset says so.
static ImageSize copySizeFor(const Picture& image, const Preset& preset)
{
    const ImageSize fitted = image.fitSize(preset.size.width, preset.size.height);
    const ImageSize own = image.size();
    const bool larger = fitted.width > own.width || fitted.height > own.height;
    return preset.options.neverLarger && larger ? own : fitted;
}

ResizeOutcome resizePictureFile(const Utf8String& picturePath, const Preset& preset, Utf8String& copyPath)
{
    const ThreadImaging imaging;
    Picture image;
    if (!image.load(picturePath)) return image.failure();
    const ImageSize copySize = copySizeFor(image, preset);
    if (!image.scale(copySize.width, copySize.height)) return image.failure();

    // The copy's name says its own kind, which may not be the source's.
    const PictureKind kind = image.copyKind(preset.options.kind);
    const Utf8String extension = copyExtension(fileExtension(picturePath), kind);
    ClaimedOutputFile claimed = claimOutputFile(fileBaseName(picturePath), copySize, extension);
    if (!claimed) return ResizeOutcome::Unwritable;
    std::vector<uint8_t> file;
    if (!image.encode(kind, file, preset.options)) return image.failure();
    if (!claimed.write(file)) return ResizeOutcome::Unwritable;
    // A date that cannot be kept (the source gone meanwhile) costs the copy nothing.
    if (preset.options.keepDate) claimed.takeModificationTimeOf(picturePath);
    copyPath = claimed.path();
    claimed.keep();
    return ResizeOutcome::Written;
}
