#include "pixels/median_cut.h"

#include <algorithm>

#include "pixels/colour_cells.h"

namespace {

struct Cell {
    uint64_t count = 0;
    uint64_t sums[3] = {};  // of the exact channel values, so means lose nothing to the cells
};

struct Histogram {
    std::vector<Cell> cells = std::vector<Cell>(kCellCount);
    std::vector<uint32_t> occupied;  // cell numbers; boxes are runs of this list
};

Histogram histogramOf(const std::vector<uint32_t>& pixels)
{
    Histogram histogram;
    for (uint32_t pixel : pixels) {
        if (isTransparent(pixel)) continue;
        Cell& cell = histogram.cells[cellOf(pixel)];
        if (cell.count++ == 0) histogram.occupied.push_back(cellOf(pixel));
        for (int channel = 0; channel < 3; ++channel) cell.sums[channel] += channelValue(pixel, channel);
    }
    return histogram;
}

struct Box {
    size_t begin;
    size_t end;
    int widest;    // the channel whose cell coordinates spread most
    double error;  // the summed squared spread: the box that loses most splits first
};

Box measure(const Histogram& histogram, size_t begin, size_t end)
{
    double count = 0;
    double means[3] = {};
    for (size_t i = begin; i < end; ++i) {
        const uint32_t cell = histogram.occupied[i];
        const double weight = static_cast<double>(histogram.cells[cell].count);
        count += weight;
        for (int channel = 0; channel < 3; ++channel) means[channel] += weight * cellCoordinate(cell, channel);
    }
    double spreads[3] = {};
    for (size_t i = begin; i < end; ++i) {
        const uint32_t cell = histogram.occupied[i];
        const double weight = static_cast<double>(histogram.cells[cell].count);
        for (int channel = 0; channel < 3; ++channel) {
            const double offset = cellCoordinate(cell, channel) - means[channel] / count;
            spreads[channel] += weight * offset * offset;
        }
    }
    Box box{begin, end, 0, 0.0};
    for (int channel = 0; channel < 3; ++channel) {
        box.error += spreads[channel];
        if (spreads[channel] > spreads[box.widest]) box.widest = channel;
    }
    return box;
}

// Sorts a box of two or more cells along its widest channel and returns where
// half of its pixels lie on each side; both sides keep at least one cell.
size_t cutInHalf(Histogram& histogram, const Box& box)
{
    const auto first = histogram.occupied.begin() + static_cast<std::ptrdiff_t>(box.begin);
    const auto last = histogram.occupied.begin() + static_cast<std::ptrdiff_t>(box.end);
    std::sort(first, last, [&box](uint32_t a, uint32_t b) {
        return cellCoordinate(a, box.widest) < cellCoordinate(b, box.widest);
    });
    uint64_t total = 0;
    for (auto cell = first; cell != last; ++cell) total += histogram.cells[*cell].count;
    size_t cut = box.begin + 1;
    uint64_t below = histogram.cells[histogram.occupied[box.begin]].count;
    while (cut + 1 < box.end && 2 * below < total) below += histogram.cells[histogram.occupied[cut++]].count;
    return cut;
}

uint32_t meanColour(const Histogram& histogram, const Box& box)
{
    uint64_t count = 0;
    uint64_t sums[3] = {};
    for (size_t i = box.begin; i < box.end; ++i) {
        const Cell& cell = histogram.cells[histogram.occupied[i]];
        count += cell.count;
        for (int channel = 0; channel < 3; ++channel) sums[channel] += cell.sums[channel];
    }
    uint32_t colour = kOpaque;
    for (int channel = 0; channel < 3; ++channel)
        colour |= static_cast<uint32_t>((sums[channel] + count / 2) / count) << (16 - 8 * channel);
    return colour;
}

}  // namespace

std::vector<uint32_t> medianCutPalette(const std::vector<uint32_t>& pixels, size_t limit)
{
    Histogram histogram = histogramOf(pixels);
    if (histogram.occupied.empty() || limit == 0) return {};
    std::vector<Box> boxes{measure(histogram, 0, histogram.occupied.size())};
    while (boxes.size() < limit) {
        Box* largest = nullptr;
        for (Box& box : boxes)
            if (box.end - box.begin > 1 && (!largest || box.error > largest->error)) largest = &box;
        if (!largest) break;
        const Box whole = *largest;
        const size_t cut = cutInHalf(histogram, whole);
        *largest = measure(histogram, whole.begin, cut);
        boxes.push_back(measure(histogram, cut, whole.end));
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes) palette.push_back(meanColour(histogram, box));
    return palette;
}
