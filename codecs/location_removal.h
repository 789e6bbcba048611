#pragma once

#include "codecs/picture_decoder.h"
#include "settings/preset.h"

// Leaves out of the metadata what `kept` says to leave out, in every form it
// holds (the Exif block, the XMP packet, a JPEG source's own segments). What
// cannot be read well enough to be sure of is left out whole.
void keepOnly(KeptDetails kept, PictureMetadata& metadata);
