#include <gtest/gtest.h>

#include <vector>

#include "codecs/tiff_block.h"
#include "codecs/tiff_profile.h"
#include "tests/support/picture_bytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes smallTiff(const Bytes& profile = {})
{
    return tiffBytes(4, 3, [](int x, int) { return Colour{x * 60, 0, 0}; }, 6, profile);
}

// The tags of the first directory in their order, and the profile it points at.
std::vector<uint16_t> tagsOf(const Bytes& file, Bytes& profile)
{
    TiffBlock tiff(file.data(), file.size());
    std::vector<uint16_t> tags;
    if (!tiff.readHeader() || !tiff.holdsDirectory(tiff.firstDirectory())) return tags;
    const size_t directory = tiff.firstDirectory();
    for (uint16_t i = 0; i < tiff.read16(directory); ++i) tags.push_back(tiff.read16(directory + 2 + 12 * i));
    TiffEntry entry;
    if (tiff.findEntry(directory, 34675, entry)) {
        const uint32_t at = tiff.read32(entry.valueField);
        profile.assign(file.begin() + at, file.begin() + at + entry.count);
    }
    return tags;
}

}  // namespace

TEST(TiffProfile, AddsTheProfileInItsPlaceAmongTheTagsOnce)
{
    const Bytes profile = {'p', 'r', 'o', 'f', 'i', 'l', 'e'};  // odd, so the directory needs its pad
    Bytes file = smallTiff();
    Bytes none;
    const std::vector<uint16_t> before = tagsOf(file, none);
    ASSERT_EQ(before.size(), 11u);
    ASSERT_TRUE(addTiffProfile(file, profile));
    Bytes kept;
    std::vector<uint16_t> expected = before;
    expected.push_back(34675);
    EXPECT_EQ(tagsOf(file, kept), expected);
    EXPECT_EQ(kept, profile);
    TiffBlock rebuilt(file.data(), file.size());
    EXPECT_TRUE(rebuilt.readHeader() && rebuilt.firstDirectory() % 2 == 0);

    // A file that holds a profile keeps its own.
    Bytes withOwn = smallTiff({'o', 'w', 'n', '!'});
    const Bytes own = withOwn;
    EXPECT_TRUE(addTiffProfile(withOwn, profile));
    EXPECT_EQ(withOwn, own);

    for (const Bytes& broken : {Bytes{'I', 'I', 42, 0, 0xF0, 0, 0, 0}, Bytes{'P', 'N', 'G'}, Bytes{}}) {
        Bytes copy = broken;
        EXPECT_FALSE(addTiffProfile(copy, profile));
        EXPECT_EQ(copy, broken);
    }
}
