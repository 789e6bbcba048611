#pragma once

#include <cstdint>

#include "codecs/byte_source.h"
#include "codecs/jpeg_segment.h"
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
