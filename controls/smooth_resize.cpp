#include "controls/smooth_resize.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "picture/win_bmp.h"

namespace ovlet::controls {
namespace {

// Positions advance in 16.16 fixed point. Where an axis shrinks, the weights
// of one target pixel add up to kUnit (14 fractional bits); where it grows,
// the fraction between two pixels has 8 bits (0..255 of 256).
constexpr int kUnit = 1 << 14;

// Where one target pixel of an axis takes its source pixels from.
struct Tap {
    int index = 0;   // the first source pixel
    int weight = 0;  // growing: the next pixel's share of 256; shrinking: the first pixel's share of kUnit
    int span = 0;    // shrinking: the share of each whole source pixel after the first
};

std::vector<Tap> AxisTaps(int source, int target) {
    std::vector<Tap> taps(static_cast<std::size_t>(target));
    const std::int64_t step = (static_cast<std::int64_t>(source) << 16) / target;
    if (target >= source) {
        // Target pixel centres mapped onto the source: the first lies half a
        // source pixel before the first centre.
        std::int64_t at = std::int64_t{0x8000} * source / target - 0x8000;
        for (Tap& tap : taps) {
            const std::int64_t whole = at >> 16;
            tap.index = static_cast<int>(std::max<std::int64_t>(0, whole));
            // The last pixel and the margin before the first repeat the edge.
            tap.weight = whole < 0 || whole >= source - 1 ? 0 : static_cast<int>((at >> 8) & 0xFF);
            at += step;
        }
    } else {
        // Each whole source pixel's share, rounded up.
        const auto span = static_cast<int>(((static_cast<std::int64_t>(target) << 14) + source - 1) / source);
        std::int64_t at = 0;
        for (Tap& tap : taps) {
            tap.index = static_cast<int>(at >> 16);
            tap.weight = static_cast<int>(((0x10000 - (at & 0xFFFF)) * span) >> 16);
            tap.span = span;
            at += step;
        }
    }
    return taps;
}

// Blue, green and red sums.
using Sum = std::array<std::uint32_t, 3>;

Sum Channels(std::uint32_t pixel) {
    return {pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF};
}

void AddWeighted(Sum& total, const Sum& value, std::uint32_t weight) {
    for (std::size_t c = 0; c < total.size(); ++c) total[c] += value[c] * weight;
}

// Two sums mixed by a growing axis's fraction (of 256).
Sum Mixed(const Sum& a, const Sum& b, int fraction) {
    Sum mixed{};
    const auto keep = static_cast<std::uint32_t>(256 - fraction);
    const auto take = static_cast<std::uint32_t>(fraction);
    for (std::size_t c = 0; c < mixed.size(); ++c) mixed[c] = (a[c] * keep + b[c] * take) >> 8;
    return mixed;
}

std::uint32_t Opaque(const Sum& sum, int shift) {
    return 0xFF000000u | ((sum[2] >> shift) & 0xFF) << 16 | ((sum[1] >> shift) & 0xFF) << 8 |
           ((sum[0] >> shift) & 0xFF);
}

// All four bytes of two pixels mixed by a fraction of 256, two bytes at a
// time: each 16-bit lane holds a byte's weighted sum, which stays below 2^16.
std::uint32_t Between(std::uint32_t a, std::uint32_t b, int fraction) {
    const auto keep = static_cast<std::uint32_t>(256 - fraction);
    const auto take = static_cast<std::uint32_t>(fraction);
    constexpr std::uint32_t kLanes = 0x00FF00FF;
    const std::uint32_t even = (((a & kLanes) * keep + (b & kLanes) * take) >> 8) & kLanes;
    const std::uint32_t odd = ((((a >> 8) & kLanes) * keep + ((b >> 8) & kLanes) * take) >> 8) & kLanes;
    return even | odd << 8;
}

// The sums of one line of the target across a shrinking axis (or the
// pixels themselves where it grows) are the same for every target line that
// covers the same source line: each source line is summed once into a small
// ring of lines, and the target lines are made from the ring.
class Source {
public:
    explicit Source(const PixelRows& view) : rows(view) {}
    // Indices past the edge read the edge (the sums' last, zero-weight step
    // may reach one pixel beyond it).
    const std::uint32_t* Line(int y) const { return rows.first + std::min(y, rows.height - 1) * rows.stride; }

private:
    PixelRows rows;
};

// The weights a shrinking axis's target pixel gives its source pixels, from
// the first: the first pixel's share, whole shares while more than one is
// left, then what is left for the last (zero when nothing is: that step may
// reach one pixel past the edge).
std::vector<std::uint32_t> Weights(const Tap& tap) {
    std::vector<std::uint32_t> weights{static_cast<std::uint32_t>(tap.weight)};
    int left = kUnit - tap.weight;
    for (; left > tap.span; left -= tap.span) weights.push_back(static_cast<std::uint32_t>(tap.span));
    weights.push_back(static_cast<std::uint32_t>(std::max(left, 0)));
    return weights;
}

// Source lines turned into target-wide lines of sums, each made once while
// the target lines that read it are made: they read lines in rising order,
// fewer than `depth` of them at a time.
class LineRing {
public:
    using Make = std::function<void(int, std::vector<Sum>&)>;
    LineRing(std::size_t depth, int width, Make makeLine)
        : lines(depth, std::vector<Sum>(static_cast<std::size_t>(width))), made(depth, -1), make(std::move(makeLine)) {}
    const std::vector<Sum>& operator[](int y) {
        const std::size_t slot = static_cast<std::size_t>(y) % lines.size();
        if (made[slot] != y) {
            make(y, lines[slot]);
            made[slot] = y;
        }
        return lines[slot];
    }

private:
    std::vector<std::vector<Sum>> lines;
    std::vector<int> made;
    Make make;
};

// The source columns each target column of a shrinking axis reads, and
// their weights, laid out once for all lines.
struct ColumnSpans {
    explicit ColumnSpans(const std::vector<Tap>& columns, int sourceWidth) {
        first.reserve(columns.size() + 1);
        for (const Tap& column : columns) {
            first.push_back(weights.size());
            const std::vector<std::uint32_t> spans = Weights(column);
            for (std::size_t j = 0; j < spans.size(); ++j) {
                // A last, zero-weight step past the edge reads the edge.
                sources.push_back(std::min(column.index + static_cast<int>(j), sourceWidth - 1));
                weights.push_back(spans[j]);
            }
        }
        first.push_back(weights.size());
    }
    std::vector<std::size_t> first;
    std::vector<int> sources;
    std::vector<std::uint32_t> weights;
};

// One source line summed across each target column's shrinking span, each
// sum shifted right by `shift`.
void SumAcross(const std::uint32_t* line, const ColumnSpans& spans, int shift, std::vector<Sum>& out) {
    for (std::size_t x = 0; x + 1 < spans.first.size(); ++x) {
        std::uint32_t blue = 0, green = 0, red = 0;
        for (std::size_t j = spans.first[x]; j < spans.first[x + 1]; ++j) {
            const std::uint32_t pixel = line[spans.sources[j]];
            const std::uint32_t weight = spans.weights[j];
            blue += (pixel & 0xFF) * weight;
            green += ((pixel >> 8) & 0xFF) * weight;
            red += ((pixel >> 16) & 0xFF) * weight;
        }
        out[x] = {blue >> shift, green >> shift, red >> shift};
    }
}

}  // namespace

void SmoothResize(const PixelRows& source, const MutablePixelRows& target) {
    if (!source.first || !target.first || source.width <= 0 || source.height <= 0 || target.width <= 0 ||
        target.height <= 0) {
        return;
    }
    const Source pixels(source);
    const std::vector<Tap> columns = AxisTaps(source.width, target.width);
    const std::vector<Tap> rows = AxisTaps(source.height, target.height);
    const bool widthGrows = target.width >= source.width;
    const bool heightGrows = target.height >= source.height;
    const int lastColumn = source.width - 1;
    const auto width = static_cast<std::size_t>(target.width);
    if (widthGrows && heightGrows) {
        // Down the columns first, then across.
        std::vector<std::uint32_t> down(static_cast<std::size_t>(source.width));
        for (int y = 0; y < target.height; ++y) {
            const Tap& row = rows[static_cast<std::size_t>(y)];
            const std::uint32_t* top = pixels.Line(row.index);
            const std::uint32_t* below = pixels.Line(row.index + 1);
            for (std::size_t sourceX = 0; sourceX < down.size(); ++sourceX) {
                down[sourceX] = row.weight > 0 ? Between(top[sourceX], below[sourceX], row.weight) : top[sourceX];
            }
            std::uint32_t* out = target.first + y * target.stride;
            for (std::size_t x = 0; x < width; ++x) {
                const Tap& column = columns[x];
                const std::uint32_t left = down[static_cast<std::size_t>(std::min(column.index, lastColumn))];
                out[x] = column.weight > 0
                             ? Between(left, down[static_cast<std::size_t>(std::min(column.index + 1, lastColumn))],
                                       column.weight)
                             : left;
            }
        }
    } else if (widthGrows) {
        // Columns summed down the rows they cover, then mixed across.
        std::vector<Sum> down(static_cast<std::size_t>(source.width));
        for (int y = 0; y < target.height; ++y) {
            const Tap& row = rows[static_cast<std::size_t>(y)];
            std::fill(down.begin(), down.end(), Sum{});
            const std::vector<std::uint32_t> weights = Weights(row);
            for (std::size_t k = 0; k < weights.size(); ++k) {
                const std::uint32_t* line = pixels.Line(row.index + static_cast<int>(k));
                for (std::size_t sourceX = 0; sourceX < down.size(); ++sourceX) {
                    AddWeighted(down[sourceX], Channels(line[sourceX]), weights[k]);
                }
            }
            std::uint32_t* out = target.first + y * target.stride;
            for (std::size_t x = 0; x < width; ++x) {
                const Tap& column = columns[x];
                Sum sum = down[static_cast<std::size_t>(std::min(column.index, lastColumn))];
                if (column.weight > 0) {
                    sum = Mixed(sum, down[static_cast<std::size_t>(std::min(column.index + 1, lastColumn))],
                                column.weight);
                }
                out[x] = Opaque(sum, 14);
            }
        }
    } else if (heightGrows) {
        // Rows summed along the columns they cover, then mixed down.
        const ColumnSpans spans(columns, source.width);
        LineRing across(2, target.width,
                        [&](int y, std::vector<Sum>& line) { SumAcross(pixels.Line(y), spans, 0, line); });
        for (int y = 0; y < target.height; ++y) {
            const Tap& row = rows[static_cast<std::size_t>(y)];
            std::uint32_t* out = target.first + y * target.stride;
            const std::vector<Sum>& upper = across[std::min(row.index, source.height - 1)];
            if (row.weight > 0) {
                const std::vector<Sum>& lower = across[std::min(row.index + 1, source.height - 1)];
                for (std::size_t x = 0; x < width; ++x) out[x] = Opaque(Mixed(upper[x], lower[x], row.weight), 14);
            } else {
                for (std::size_t x = 0; x < width; ++x) out[x] = Opaque(upper[x], 14);
            }
        }
    } else {
        // Each covered row's sum, cut to 24 bits so that the sum of sums
        // keeps within 32 bits, weighted by the row's share.
        std::size_t depth = 1;
        for (const Tap& row : rows) depth = std::max(depth, Weights(row).size() + 1);
        const ColumnSpans spans(columns, source.width);
        LineRing across(depth, target.width,
                        [&](int y, std::vector<Sum>& line) { SumAcross(pixels.Line(y), spans, 4, line); });
        std::vector<Sum> total(width);
        for (int y = 0; y < target.height; ++y) {
            const Tap& row = rows[static_cast<std::size_t>(y)];
            std::fill(total.begin(), total.end(), Sum{});
            const std::vector<std::uint32_t> weights = Weights(row);
            for (std::size_t k = 0; k < weights.size(); ++k) {
                const std::vector<Sum>& line = across[std::min(row.index + static_cast<int>(k), source.height - 1)];
                for (std::size_t x = 0; x < width; ++x) AddWeighted(total[x], line[x], weights[k]);
            }
            std::uint32_t* out = target.first + y * target.stride;
            for (std::size_t x = 0; x < width; ++x) out[x] = Opaque(total[x], 24);
        }
    }
}

bool SmoothResizeBitmap(const picture::CWinBmp& source, int width, int height, bool topLineFirst,
                        picture::CWinBmp& target) {
    if (source.IsEmpty() || source.GetBitsPerPixel() != 32 || source.GetWidth() <= 0 || source.GetHeight() <= 0 ||
        width <= 0 || height <= 0) {
        return false;
    }
    target.Create(width, height, 32, false);
    // A line table entry is a line from the top; the bottom line starts memory.
    const auto view = [topLineFirst](auto* const* lines, int lineCount, int lineBytes) {
        const std::ptrdiff_t stride = lineBytes / 4;
        return topLineFirst ? std::pair{lines[0], -stride} : std::pair{lines[lineCount - 1], stride};
    };
    const auto [from, fromStride] = view(source.GetLineTable(), source.GetHeight(), source.GetLineBytes());
    const auto [to, toStride] = view(target.GetLineTable(), height, target.GetLineBytes());
    SmoothResize({reinterpret_cast<const std::uint32_t*>(from), fromStride, source.GetWidth(), source.GetHeight()},
                 {reinterpret_cast<std::uint32_t*>(to), toStride, width, height});
    return true;
}

}  // namespace ovlet::controls
