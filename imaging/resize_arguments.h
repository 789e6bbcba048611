#pragma once

#include "settings/image_size.h"
#include "settings/preset.h"
#include "text/utf8_string.h"

// Reads "... -size WxH [option words] <picture path>": whatever stands before
// the switch is ignored, the option words (see presetText) each end with a
// blank, and the path is everything after the last of them, without the one
// pair of double quotes that may enclose it whole. False, with nothing to
// do, when the switch, the blank, a valid size or the path is missing.
bool parseResizeArguments(const Utf8String& commandLine, Preset& preset, Utf8String& picturePath);

// The text after / before the last "." of the file's name; the whole path when the name has none.
Utf8String fileExtension(const Utf8String& path);
Utf8String fileBaseName(const Utf8String& path);

// "<base>_<W>x<H>.<ext>", with "_<counter>" before the dot when counter is above 0.
Utf8String outputName(const Utf8String& baseName, const ImageSize& size, int32_t counter,
                      const Utf8String& extension);
