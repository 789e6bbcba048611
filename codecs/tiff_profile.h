#pragma once

#include <cstdint>
#include <vector>

// Adds the ICC profile (tag 34675) to the first directory of a TIFF file that
// holds none, as Windows' encoder writes it and Wine's does not: the
// directory is written anew at the file's end with the tag in its place among
// the entries, after the profile, and the header points at it. True when the
// file holds the profile afterwards; false, the file as it was, when the
// file cannot be walked or would pass 4 GB.
bool addTiffProfile(std::vector<uint8_t>& file, const std::vector<uint8_t>& profile);
