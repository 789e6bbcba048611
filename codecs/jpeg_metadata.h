#pragma once

#include <cstdint>

#include "codecs/byte_source.h"
#include "codecs/jpeg_segment.h"
#include "codecs/picture_decoder.h"
#include "settings/image_size.h"

// The Exif orientation (1 to 8) in the segments' Exif APP1; 1 when there is none.
int orientationOfSegments(const JpegSegments& segments);

// The APP1 and APP2 segments of a JPEG file's head, read by walking its
// segments up to the first scan; false when the bytes are no JPEG.
bool readHeadSegments(ByteSource& source, JpegSegments& segments);

// What a copy of `width` x `height` keeps of the source's segments, in their
// order: the ICC profile chunks as they are, the first Exif segment and XMP.
// Exif that cannot be walked whole is left out, and so is any Exif after the
// first; its pixel dimensions become the copy's, and
// when the copy was turned upright its orientation becomes 1 and its link to
// the thumbnail is cut; XMP's tiff:Orientation becomes 1 then too.
JpegSegments segmentsForCopy(const JpegSegments& source, bool turnedUpright, const ImageSize& copySize);

// What the segments hold in the form every encoder takes: the ICC profile's
// chunks joined in their order (none when a chunk is missing or repeated),
// the first Exif segment's TIFF block and the first XMP packet.
PictureMetadata metadataOfSegments(JpegSegments segments);

// The segments that carry metadata into a JPEG: the profile in chunks of at
// most 65519 bytes, the Exif and the XMP packet each in one segment when it
// fits one; what does not fit is left out.
JpegSegments segmentsOfMetadata(const PictureMetadata& metadata);

// What a copy of `copySize` keeps of its source's metadata, made as
// segmentsForCopy makes a JPEG's: the Exif block, when it can be walked whole,
// and XMP tell the copy's size and turn. The colour profile, in either form,
// goes unless it fits the copy's pixels of `channels` (profileFitsPixels).
PictureMetadata metadataForCopy(const PictureMetadata& source, bool turnedUpright, const ImageSize& copySize,
                                int32_t channels);

// The segments a JPEG copy writes: a JPEG source's own, or the metadata of
// another kind as segments.
JpegSegments segmentsOfCopy(const PictureMetadata& copy);
