#pragma once

#include "settings/image_size.h"
#include "text/utf8_string.h"

// Claims the first free name of "<base>_<W>x<H>[_n].<ext>" by creating it
// empty, so that no existing file or folder is ever written over, not even by
// a second copy made at the same moment. False when no name can be created.
bool claimOutputFile(const Utf8String& baseName, const ImageSize& size, const Utf8String& extension,
                     Utf8String& claimed);
