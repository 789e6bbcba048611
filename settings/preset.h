#pragma once

#include <cstdint>

#include "settings/image_size.h"

// The kind of file a preset's copies are: the picture's own (as every
// release before presets had options), or always one of these.
enum class CopyKind : uint8_t { AsPicture, Jpeg, Png, WebP };

// What a copy keeps of its source's details.
enum class KeptDetails : uint8_t { All, AllButLocation, ColourProfileOnly };

// What a preset says beyond its size. The defaults are what a bare size has
// always done, so a preset of a size alone behaves as one always has.
struct PresetOptions {
    CopyKind kind = CopyKind::AsPicture;
    // Of JPEG and lossy WebP copies, 1 to 100; 0 for each kind's own default.
    int32_t quality = 0;
    KeptDetails details = KeptDetails::All;
    // A picture already within the size gets a copy of its own size.
    bool neverLarger = false;
    // The copy's modification time is the source's.
    bool keepDate = false;

    bool operator==(const PresetOptions& other) const
    {
        return kind == other.kind && quality == other.quality && details == other.details &&
               neverLarger == other.neverLarger && keepDate == other.keepDate;
    }
    bool operator!=(const PresetOptions& other) const { return !(*this == other); }
    bool isPlain() const { return *this == PresetOptions(); }
};

constexpr int32_t kLowestQuality = 1;
constexpr int32_t kHighestQuality = 100;

// One entry of the list: a size and its options.
struct Preset {
    ImageSize size;
    PresetOptions options;

    bool operator==(const Preset& other) const { return size == other.size && options == other.options; }
    bool operator!=(const Preset& other) const { return !(*this == other); }
};
