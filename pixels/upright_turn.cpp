#include "pixels/upright_turn.h"

#include <cstring>

namespace {

// Where a stored pixel (x, y) lands in the upright picture: across from y
// and down from x when the picture lies on its side, then counted from the
// far edge when mirrored. Indexed by orientation 1 to 8.
struct Turn {
    bool onSide;
    bool mirrorAcross;
    bool mirrorDown;
};
constexpr Turn kTurns[] = {
    {false, false, false},  // 1: as stored
    {false, true, false},   // 2: mirrored left to right
    {false, true, true},    // 3: upside down
    {false, false, true},   // 4: mirrored top to bottom
    {true, false, false},   // 5: transposed
    {true, true, false},    // 6: stored turned anticlockwise; shown turned clockwise
    {true, true, true},     // 7: transversed
    {true, false, true},    // 8: stored turned clockwise; shown turned anticlockwise
};

Turn turnFor(int orientation)
{
    return orientation >= 1 && orientation <= 8 ? kTurns[orientation - 1] : kTurns[0];
}

}  // namespace

ImageSize uprightSize(const ImageSize& stored, int orientation)
{
    return turnFor(orientation).onSide ? ImageSize{stored.height, stored.width} : stored;
}

bool copyUpright(const PixelView& stored, int orientation, const MutablePixelView& upright)
{
    if (!stored.isValid() || !upright.isValid() || stored.channels != upright.channels) return false;
    const ImageSize size = uprightSize(ImageSize{stored.width, stored.height}, orientation);
    if (upright.width != size.width || upright.height != size.height) return false;

    const Turn turn = turnFor(orientation);
    const ptrdiff_t channels = stored.channels;
    // Steps in the upright picture for one stored pixel to the right and one
    // row down, counted as offsets from its first byte: a pointer stepped
    // past the start of a mirrored row would leave the array.
    ptrdiff_t across = turn.onSide ? upright.stride : channels;
    ptrdiff_t down = turn.onSide ? channels : upright.stride;
    ptrdiff_t origin = 0;
    if (turn.mirrorAcross) {
        origin += (upright.width - 1) * channels;
        (turn.onSide ? down : across) *= -1;
    }
    if (turn.mirrorDown) {
        origin += (upright.height - 1) * upright.stride;
        (turn.onSide ? across : down) *= -1;
    }
    for (int32_t y = 0; y < stored.height; ++y) {
        const uint8_t* source = stored.row(y);
        const ptrdiff_t rowStart = origin + y * down;
        for (int32_t x = 0; x < stored.width; ++x, source += channels)
            std::memcpy(upright.pixels + (rowStart + x * across), source, static_cast<size_t>(channels));
    }
    return true;
}
