#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/picture_decoder.h"
#include "imaging/resize_outcome.h"
#include "pixels/pixel_view.h"
#include "settings/image_size.h"
#include "settings/preset.h"
#include "text/utf8_string.h"

// The one picture of a resize run. Its decoder is chosen by the file's
// content from the program's own codecs, then Windows' (WIC), and decodes
// only once the copy's size is known, so that it can shrink as it decodes;
// the copy is scaled by the computing code while the rows arrive, turned
// upright, and written in its own kind with the metadata it keeps. Objects on
// different threads share nothing.
class Picture {
public:
    Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    virtual ~Picture();

    bool load(const Utf8String& path);
    // Fits the picture as it is shown, upright by its Exif orientation.
    ImageSize fitSize(int32_t width, int32_t height) const;
    // Replaces the picture by an upright copy of exactly that size.
    bool scale(int32_t width, int32_t height);
    // The kind the copy is written as: the one asked for, or by copyKindFor
    // for the picture's own; JPEG before a load.
    PictureKind copyKind(CopyKind asked = CopyKind::AsPicture) const;
    // The copy as the file of that kind, ready to be written, at the options'
    // quality and with the details they keep.
    bool encode(PictureKind kind, std::vector<uint8_t>& file, const PresetOptions& options = PresetOptions());

    // The held picture's size as it is shown; 0 by 0 when nothing usable is held.
    ImageSize size() const;
    // Why the last load, scale or save that failed did.
    ResizeOutcome failure() const { return failure_; }

private:
    void clear();
    bool scaleDecoded(const ImageSize& stored, PixelBuffer& scaled);
    bool fail(ResizeOutcome why);

    // Until the scale: the source, waiting after its head.
    std::unique_ptr<PictureDecoder> decoder_;
    PictureKind sourceKind_ = PictureKind::Other;
    ImageSize storedSize_;
    // How the source's pixels are stored (Exif orientation).
    int orientation_ = 1;
    // What the source says about itself, which the copy keeps.
    PictureMetadata metadata_;
    bool lossless_ = false;
    // The palette of an indexed source, which GIF copies keep.
    std::vector<uint32_t> sourcePalette_;
    // After the scale: the upright copy.
    PixelBuffer copy_;
    bool scaled_ = false;
    ResizeOutcome failure_ = ResizeOutcome::Written;
};
