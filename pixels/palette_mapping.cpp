#include "pixels/palette_mapping.h"

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "pixels/colour_cells.h"
#include "pixels/median_cut.h"

namespace {

constexpr size_t kMaxColours = 256;
constexpr uint32_t kTransparent = 0x00000000u;

// The distinct opaque colours in order of appearance; empty when there are more than limit.
std::vector<uint32_t> distinctColours(const std::vector<uint32_t>& pixels, size_t limit)
{
    std::unordered_set<uint32_t> seen;
    std::vector<uint32_t> colours;
    for (uint32_t pixel : pixels) {
        if (isTransparent(pixel) || !seen.insert(pixel | kOpaque).second) continue;
        if (colours.size() == limit) return {};
        colours.push_back(pixel | kOpaque);
    }
    return colours;
}

// GIF keeps one transparent entry and no partial alpha: the first entry below
// half alpha becomes that entry, every other one opaque. False when the
// palette cannot show the pixels (no opaque entry, or no room for transparency).
bool adoptPalette(const std::vector<uint32_t>& source, bool anyOpaque, bool anyTransparent, IndexedPixels& out)
{
    if (source.empty() || source.size() > kMaxColours) return false;
    IndexedPixels adopted;
    adopted.palette = source;
    for (size_t i = 0; i < adopted.palette.size(); ++i) {
        uint32_t& entry = adopted.palette[i];
        if (isTransparent(entry) && adopted.transparentIndex < 0) {
            adopted.transparentIndex = static_cast<int>(i);
            entry &= ~kOpaque;
        } else {
            entry |= kOpaque;
        }
    }
    if (anyTransparent && adopted.transparentIndex < 0) {
        if (adopted.palette.size() == kMaxColours) return false;
        adopted.transparentIndex = static_cast<int>(adopted.palette.size());
        adopted.palette.push_back(kTransparent);
    }
    const size_t opaqueEntries = adopted.palette.size() - (adopted.transparentIndex >= 0 ? 1 : 0);
    if (anyOpaque && opaqueEntries == 0) return false;
    out = std::move(adopted);
    return true;
}

IndexedPixels paletteFromPixels(const std::vector<uint32_t>& pixels, bool anyTransparent)
{
    IndexedPixels made;
    const size_t room = anyTransparent ? kMaxColours - 1 : kMaxColours;
    made.palette = distinctColours(pixels, room);
    if (made.palette.empty()) made.palette = medianCutPalette(pixels, room);
    if (anyTransparent) {
        made.transparentIndex = static_cast<int>(made.palette.size());
        made.palette.push_back(kTransparent);
    }
    // GDI+ takes no empty palette, so a picture of no pixels still gets a colour.
    if (made.palette.empty()) made.palette.push_back(kOpaque);
    return made;
}

// Exact palette colours are looked up, so they map to themselves; any other
// colour takes the entry nearest to the centre of its cell, found once
// per cell, which keeps large pictures fast at an error of a few levels.
class NearestColour {
public:
    NearestColour(const std::vector<uint32_t>& palette, int transparentIndex)
        : palette_(palette), transparentIndex_(transparentIndex), nearest_(kCellCount, -1), holdsEntry_(kCellCount)
    {
        for (size_t i = 0; i < palette.size(); ++i) {
            if (static_cast<int>(i) == transparentIndex) continue;
            exact_.emplace(palette[i], static_cast<uint8_t>(i));
            holdsEntry_[cellOf(palette[i])] = true;
        }
    }

    uint8_t indexOf(uint32_t pixel)
    {
        const uint32_t colour = pixel | kOpaque;
        const uint32_t cell = cellOf(colour);
        if (holdsEntry_[cell]) {
            const auto found = exact_.find(colour);
            if (found != exact_.end()) return found->second;
        }
        if (nearest_[cell] < 0) nearest_[cell] = search(cell);
        return static_cast<uint8_t>(nearest_[cell]);
    }

private:
    int16_t search(uint32_t cell) const
    {
        int16_t best = 0;
        int bestDistance = INT_MAX;
        for (size_t i = 0; i < palette_.size(); ++i) {
            if (static_cast<int>(i) == transparentIndex_) continue;
            int distance = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const int offset = cellCentre(cell, channel) - channelValue(palette_[i], channel);
                distance += offset * offset;
            }
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<int16_t>(i);
            }
        }
        return best;
    }

    const std::vector<uint32_t>& palette_;
    int transparentIndex_;
    std::vector<int16_t> nearest_;
    std::vector<bool> holdsEntry_;
    std::unordered_map<uint32_t, uint8_t> exact_;
};

}  // namespace

IndexedPixels mapToPalette(const std::vector<uint32_t>& pixels, const std::vector<uint32_t>& sourcePalette)
{
    const bool anyTransparent = std::any_of(pixels.begin(), pixels.end(), isTransparent);
    const bool anyOpaque = !std::all_of(pixels.begin(), pixels.end(), isTransparent);
    IndexedPixels result;
    if (!adoptPalette(sourcePalette, anyOpaque, anyTransparent, result))
        result = paletteFromPixels(pixels, anyTransparent);

    NearestColour nearest(result.palette, result.transparentIndex);
    result.indices.resize(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        result.indices[i] = isTransparent(pixels[i]) ? static_cast<uint8_t>(result.transparentIndex)
                                                     : nearest.indexOf(pixels[i]);
    return result;
}
