#pragma once

#include <cstddef>

#include "codecs/jpeg_segment.h"

// What a JPEG head segment carries, told by the name it starts with.
enum class SegmentKind { ColourProfile, Exif, Xmp, XmpExtension, Other };

// The names, each with the NUL that ends it ("Exif" has two).
constexpr char kExifName[] = "Exif\0";
constexpr size_t kExifNameBytes = sizeof kExifName;
constexpr char kProfileName[] = "ICC_PROFILE";
constexpr char kXmpName[] = "http://ns.adobe.com/xap/1.0/";
constexpr size_t kXmpNameBytes = sizeof kXmpName;

SegmentKind kindOf(const JpegSegment& segment);
