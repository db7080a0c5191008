#include "controls/smooth_resize.h"

#include <algorithm>
#include <array>
#include <vector>

#include "picture/win_bmp.h"

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

// The sum over a shrinking axis for one target pixel: the first source
// pixel's share, then whole shares while more than one is left, then what is
// left for the last pixel; `at(k)` is the k-th source value from the first.
template <typename At>
Sum Covered(const Tap& tap, At at) {
    Sum total{};
    AddWeighted(total, at(0), static_cast<std::uint32_t>(tap.weight));
    int left = kUnit - tap.weight;
    int k = 1;
    for (; left > tap.span; left -= tap.span, ++k) AddWeighted(total, at(k), static_cast<std::uint32_t>(tap.span));
    AddWeighted(total, at(k), static_cast<std::uint32_t>(std::max(left, 0)));
    return total;
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

// All four bytes of two pixels mixed by a fraction of 256.
std::uint32_t Between(std::uint32_t a, std::uint32_t b, int fraction) {
    const auto keep = static_cast<std::uint32_t>(256 - fraction);
    const auto take = static_cast<std::uint32_t>(fraction);
    std::uint32_t mixed = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        mixed |= ((((a >> shift) & 0xFF) * keep + ((b >> shift) & 0xFF) * take) >> 8) << shift;
    }
    return mixed;
}

class Source {
public:
    explicit Source(const PixelRows& view) : rows(view) {}
    // Indices past the edge read the edge (the sums' last, zero-weight step
    // may reach one pixel beyond it).
    std::uint32_t At(int x, int y) const {
        x = std::min(x, rows.width - 1);
        y = std::min(y, rows.height - 1);
        return rows.first[y * rows.stride + x];
    }

private:
    PixelRows rows;
};

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
    for (int y = 0; y < target.height; ++y) {
        const Tap& row = rows[static_cast<std::size_t>(y)];
        std::uint32_t* out = target.first + y * target.stride;
        for (int x = 0; x < target.width; ++x) {
            const Tap& column = columns[static_cast<std::size_t>(x)];
            if (widthGrows && heightGrows) {
                // Down the columns first, then across.
                const auto down = [&](int sourceX) {
                    const std::uint32_t top = pixels.At(sourceX, row.index);
                    return row.weight > 0 ? Between(top, pixels.At(sourceX, row.index + 1), row.weight) : top;
                };
                const std::uint32_t left = down(column.index);
                out[x] = column.weight > 0 ? Between(left, down(column.index + 1), column.weight) : left;
            } else if (widthGrows) {
                // Columns summed down the rows they cover, then mixed across.
                const auto down = [&](int sourceX) {
                    return Covered(row, [&](int k) { return Channels(pixels.At(sourceX, row.index + k)); });
                };
                Sum sum = down(column.index);
                if (column.weight > 0) sum = Mixed(sum, down(column.index + 1), column.weight);
                out[x] = Opaque(sum, 14);
            } else if (heightGrows) {
                // Rows summed along the columns they cover, then mixed down.
                const auto across = [&](int sourceY) {
                    return Covered(column, [&](int k) { return Channels(pixels.At(column.index + k, sourceY)); });
                };
                Sum sum = across(row.index);
                if (row.weight > 0) sum = Mixed(sum, across(row.index + 1), row.weight);
                out[x] = Opaque(sum, 14);
            } else {
                // Each covered row's sum, cut to 24 bits so that the sum of
                // sums keeps within 32 bits, weighted by the row's share.
                const Sum sum = Covered(row, [&](int k) {
                    Sum line = Covered(column, [&](int j) { return Channels(pixels.At(column.index + j, row.index + k)); });
                    for (std::uint32_t& c : line) c >>= 4;
                    return line;
                });
                out[x] = Opaque(sum, 24);
            }
        }
    }
}

bool SmoothResizeBitmap(const CWinBmp& source, int width, int height, bool topLineFirst, CWinBmp& target) {
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
