#include "codecs/tiff_profile.h"

#include <cstring>

#include "codecs/tiff_block.h"

namespace {

constexpr uint16_t kProfileTag = 34675;
constexpr uint16_t kTiffUndefined = 7;

void put(std::vector<uint8_t>& bytes, uint32_t value, int count, bool bigEndian)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * (bigEndian ? count - 1 - i : i))));
}

}  // namespace

bool addTiffProfile(std::vector<uint8_t>& file, const std::vector<uint8_t>& profile)
{
    if (profile.empty()) return true;
    TiffBlock tiff(file.data(), file.size());
    if (!tiff.readHeader()) return false;
    const size_t directory = tiff.firstDirectory();
    if (!tiff.holds(directory, 2)) return false;
    const uint16_t entries = tiff.read16(directory);
    const size_t linkField = directory + 2 + kTiffEntryBytes * entries;
    if (!tiff.holds(directory + 2, kTiffEntryBytes * entries + 4)) return false;
    TiffEntry present;
    if (tiff.findEntry(directory, kProfileTag, present)) return true;

    // Offsets are even in TIFF; the profile, then the directory, each on a word.
    const size_t profileAt = file.size() + file.size() % 2;
    const size_t directoryAt = profileAt + profile.size() + profile.size() % 2;
    const size_t end = directoryAt + 2 + kTiffEntryBytes * (entries + 1u) + 4;
    if (end > UINT32_MAX || entries == UINT16_MAX) return false;
    const bool bigEndian = tiff.bigEndian();
    std::vector<uint8_t> rebuilt;
    rebuilt.reserve(end - profileAt);
    if (profileAt + profile.size() < directoryAt) rebuilt.push_back(0);
    put(rebuilt, entries + 1u, 2, bigEndian);
    const auto putProfileEntry = [&] {
        put(rebuilt, kProfileTag, 2, bigEndian);
        put(rebuilt, kTiffUndefined, 2, bigEndian);
        put(rebuilt, static_cast<uint32_t>(profile.size()), 4, bigEndian);
        put(rebuilt, static_cast<uint32_t>(profileAt), 4, bigEndian);
    };
    bool added = false;
    for (uint16_t i = 0; i < entries; ++i) {
        const size_t at = directory + 2 + kTiffEntryBytes * i;
        if (!added && tiff.read16(at) > kProfileTag) {
            putProfileEntry();
            added = true;
        }
        rebuilt.insert(rebuilt.end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                       file.begin() + static_cast<std::ptrdiff_t>(at + kTiffEntryBytes));
    }
    if (!added) {
        putProfileEntry();
    }
    rebuilt.insert(rebuilt.end(), file.begin() + static_cast<std::ptrdiff_t>(linkField),
                   file.begin() + static_cast<std::ptrdiff_t>(linkField + 4));

    if (file.size() < profileAt) file.push_back(0);
    file.insert(file.end(), profile.begin(), profile.end());
    file.insert(file.end(), rebuilt.begin(), rebuilt.end());
    std::vector<uint8_t> header;
    put(header, static_cast<uint32_t>(directoryAt), 4, bigEndian);
    std::memcpy(file.data() + 4, header.data(), 4);
    return true;
}
