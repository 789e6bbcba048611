#pragma once

#include "pixels/pixel_view.h"
#include "settings/image_size.h"

// The size a picture stored at `stored` shows at with its Exif orientation:
// 5 to 8 lie on their side, so width and height trade places.
ImageSize uprightSize(const ImageSize& stored, int orientation);

// Copies the stored pixels into `upright` turned and mirrored as the Exif
// orientation says (any value but 2 to 8 copies them as they are). False,
// with nothing written, unless upright has the upright size and as many
// channels as stored.
bool copyUpright(const PixelView& stored, int orientation, const MutablePixelView& upright);
