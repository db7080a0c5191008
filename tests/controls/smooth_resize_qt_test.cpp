// The panel's smooth resize against what Qt's smooth transformation makes of
// the same picture, pixel for pixel: the pictures on screen must not change
// when the face no longer scales them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <random>

#include "controls/smooth_resize.h"
#include "picture/win_bmp.h"

namespace ovlet::controls {
namespace {

struct Size {
    int width;
    int height;
};

struct ResizeCase {
    Size from;
    Size to;
};

// Every way an axis can go (grow, shrink, keep) in each direction, exact and
// uneven factors, one-pixel edges, and the panel's own sizes at 150 % and 200 %.
constexpr ResizeCase kCases[] = {
    {{4, 4}, {8, 8}},         {{4, 4}, {2, 2}},         {{5, 3}, {13, 7}},        {{13, 7}, {5, 3}},
    {{10, 10}, {10, 25}},     {{10, 10}, {25, 10}},     {{10, 10}, {3, 25}},      {{10, 10}, {25, 3}},
    {{1, 1}, {7, 5}},         {{7, 5}, {1, 1}},         {{1, 40}, {3, 17}},       {{40, 1}, {17, 3}},
    {{2, 2}, {3, 3}},         {{3, 3}, {2, 2}},         {{100, 75}, {99, 74}},    {{99, 74}, {100, 75}},
    {{320, 200}, {447, 279}}, {{320, 200}, {596, 372}}, {{640, 480}, {447, 335}}, {{300, 225}, {149, 112}},
    {{257, 129}, {64, 500}},  {{17, 300}, {255, 16}},   {{1000, 3}, {7, 900}},    {{33, 33}, {100, 100}},
};

// A picture of noise, with the fourth byte noisy too, so no channel or byte
// is mixed up with another unnoticed.
void FillNoise(picture::CWinBmp& bitmap, unsigned seed) {
    std::mt19937 random(seed);
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(bitmap.GetLineTable()[y]);
        for (int x = 0; x < bitmap.GetWidth(); ++x) line[x] = static_cast<std::uint32_t>(random());
    }
}

// The bitmap's lines as Qt sees a DIB in memory: bottom line first.
QImage MemoryOrder(const picture::CWinBmp& bitmap) {
    const auto* first = bitmap.GetLineTable()[bitmap.GetHeight() - 1];
    return QImage(first, bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetLineBytes(), QImage::Format_RGB32);
}

// The first pixel where the two differ, as text; empty when they match.
std::string FirstDifference(const QImage& expected, const picture::CWinBmp& actual, bool topLineFirst) {
    if (expected.width() != actual.GetWidth() || expected.height() != actual.GetHeight()) return "size differs";
    for (int y = 0; y < expected.height(); ++y) {
        const int line = topLineFirst ? y : actual.GetHeight() - 1 - y;
        const auto* got = reinterpret_cast<const std::uint32_t*>(actual.GetLineTable()[line]);
        const auto* want = reinterpret_cast<const std::uint32_t*>(expected.constScanLine(y));
        for (int x = 0; x < expected.width(); ++x) {
            if (got[x] != want[x]) {
                char text[96];
                std::snprintf(text, sizeof text, "at (%d, %d): %08x, Qt %08x", x, y, got[x], want[x]);
                return text;
            }
        }
    }
    return {};
}

class SmoothResizeAgainstQt : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(SmoothResizeAgainstQt, MatchesPixelForPixelInBothLineOrders) {
    const ResizeCase c = GetParam();
    picture::CWinBmp source;
    source.Create(c.from.width, c.from.height, 32, false);
    FillNoise(source, static_cast<unsigned>(c.from.width * 131 + c.to.height));
    // In storage order, as the panel resizes a decoded picture ...
    const QImage stored = MemoryOrder(source);
    const QImage qtStored = stored.scaled(c.to.width, c.to.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture::CWinBmp resized;
    ASSERT_TRUE(SmoothResizeBitmap(source, c.to.width, c.to.height, false, resized));
    EXPECT_EQ(FirstDifference(qtStored, resized, false), "");
    // ... and top line first, as it resizes what it keeps for a new size.
    const QImage upright = stored.mirrored(false, true);
    const QImage qtUpright = upright.scaled(c.to.width, c.to.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ASSERT_TRUE(SmoothResizeBitmap(source, c.to.width, c.to.height, true, resized));
    EXPECT_EQ(FirstDifference(qtUpright, resized, true), "");
}

INSTANTIATE_TEST_SUITE_P(Sizes, SmoothResizeAgainstQt, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace ovlet::controls
