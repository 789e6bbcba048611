#pragma once

#include <cstddef>
#include <cstdint>

// Colours are 0xAARRGGBB, the order GDI+ uses; channel 0 is red, 1 green, 2 blue.
// The palette histogram and the nearest-colour cache share one grid of cells:
// each channel cut into 64 steps of 4 levels, fine enough that smooth
// gradients keep their steps.
constexpr int kCellBits = 6;
constexpr size_t kCellCount = size_t{1} << (3 * kCellBits);
constexpr uint32_t kOpaque = 0xFF000000u;

// GIF has no partial alpha: below half is transparent.
inline bool isTransparent(uint32_t argb) { return (argb >> 24) < 128; }

inline int channelValue(uint32_t argb, int channel) { return static_cast<int>((argb >> (16 - 8 * channel)) & 0xFF); }

inline uint32_t cellOf(uint32_t argb)
{
    uint32_t cell = 0;
    for (int channel = 0; channel < 3; ++channel)
        cell = cell << kCellBits | static_cast<uint32_t>(channelValue(argb, channel) >> (8 - kCellBits));
    return cell;
}

inline int cellCoordinate(uint32_t cell, int channel)
{
    return static_cast<int>((cell >> ((2 - channel) * kCellBits)) & ((1u << kCellBits) - 1));
}

// The middle of the levels a cell covers on one channel.
inline int cellCentre(uint32_t cell, int channel)
{
    return (cellCoordinate(cell, channel) << (8 - kCellBits)) + (1 << (7 - kCellBits));
}
