// A file's first bytes as the orientation reader gets them: any bytes give an
// orientation from 1 to 8 without a read outside them, and a cut-off start
// of the same file gives the same orientation or 1, since only the segments
// up to the Exif one are read.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "codecs/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const int orientation = exifOrientation(bytes, size);
    require(orientation >= 1 && orientation <= 8, "the orientation is 1 to 8");
    for (size_t cut : {size / 2, size > 0 ? size - 1 : 0}) {
        const int early = exifOrientation(bytes, cut);
        require(early == orientation || early == 1, "a shorter start reads the same tag or none");
    }
    return 0;
}
