#pragma once

#include "settings/preset.h"
#include "text/utf8_string.h"

// What a preset's options change, in the interface's language, such as
// "JPEG 85, no location"; empty for a plain preset.
Utf8String presetDescription(const PresetOptions& options);

// The preset as a verb's name carries it: "1024x768", or
// "1024x768 (JPEG 85, no location)".
Utf8String verbPresetText(const Preset& preset);

// The preset as the dialog lists it: "1024x768", or
// "1024x768 - JPEG 85, no location".
Utf8String listedPresetText(const Preset& preset);
