// The smooth resize on its own: what any resize must keep, whatever the
// factors (the exact pixels are compared with Qt's in smooth_resize_qt_test).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "controls/smooth_resize.h"
#include "picture/win_bmp.h"

namespace ovlet::controls {
namespace {

struct Size {
    int width;
    int height;
};

constexpr Size kSizes[] = {{1, 1}, {2, 3}, {7, 7}, {16, 9}, {33, 1}, {1, 33}, {64, 48}, {100, 3}};

std::vector<std::uint32_t> Pixels(int width, int height, std::uint32_t value) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), value);
}

std::vector<std::uint32_t> Resized(const std::vector<std::uint32_t>& from, Size fromSize, Size toSize) {
    std::vector<std::uint32_t> to = Pixels(toSize.width, toSize.height, 0xDEADBEEF);
    SmoothResize({from.data(), fromSize.width, fromSize.width, fromSize.height},
                 {to.data(), toSize.width, toSize.width, toSize.height});
    return to;
}

// A single colour stays that colour for every pair of sizes: the weights of
// each target pixel add up to one. The fourth byte is 0xFF where an axis
// shrinks, and kept where both grow.
TEST(SmoothResize, UniformColourStaysExactForEveryPairOfSizes) {
    constexpr std::uint32_t kColour = 0x12C86432;
    for (Size from : kSizes) {
        for (Size to : kSizes) {
            SCOPED_TRACE(std::to_string(from.width) + "x" + std::to_string(from.height) + " to " +
                         std::to_string(to.width) + "x" + std::to_string(to.height));
            const bool grows = to.width >= from.width && to.height >= from.height;
            const std::uint32_t want = grows ? kColour : (kColour | 0xFF000000);
            const auto out = Resized(Pixels(from.width, from.height, kColour), from, to);
            for (std::uint32_t pixel : out) ASSERT_EQ(pixel, want);
        }
    }
}

TEST(SmoothResize, SameSizeCopiesEveryByte) {
    for (Size size : kSizes) {
        std::vector<std::uint32_t> from(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
        for (std::size_t i = 0; i < from.size(); ++i) from[i] = static_cast<std::uint32_t>(i * 2654435761u);
        EXPECT_EQ(Resized(from, size, size), from);
    }
}

// Halving a checker board of black and white averages each 2 x 2 block: grey
// (the sum keeps 8 bits, so 255 / 2 rounds down), never a colour cast.
TEST(SmoothResize, HalvingACheckerBoardGivesEvenGrey) {
    constexpr Size kFrom{8, 6};
    std::vector<std::uint32_t> checker(kFrom.width * kFrom.height);
    for (int y = 0; y < kFrom.height; ++y) {
        for (int x = 0; x < kFrom.width; ++x)
            checker[static_cast<std::size_t>(y * kFrom.width + x)] = (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
    }
    for (std::uint32_t pixel : Resized(checker, kFrom, {4, 3})) EXPECT_EQ(pixel, 0xFF7F7F7Fu);
}

// Doubling a black-and-white edge puts the two pure colours at the ends and
// steps in between that never go back.
TEST(SmoothResize, EnlargingAnEdgeRisesSteadily) {
    const std::vector<std::uint32_t> edge = {0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF};
    const auto out = Resized(edge, {4, 1}, {16, 1});
    EXPECT_EQ(out.front(), 0xFF000000u);
    EXPECT_EQ(out.back(), 0xFFFFFFFFu);
    for (std::size_t i = 1; i < out.size(); ++i) EXPECT_GE(out[i] & 0xFF, out[i - 1] & 0xFF) << i;
}

// A negative stride reads the rows from the last in memory: resizing a
// picture upside down gives the upside-down result when the weights are
// symmetric (an exact halving).
TEST(SmoothResize, NegativeStrideWalksRowsBackwards) {
    constexpr int kWidth = 2;
    constexpr int kHeight = 4;
    const std::vector<std::uint32_t> rows = {0xFF000000, 0xFF000000, 0xFF101010, 0xFF101010,
                                             0xFF808080, 0xFF808080, 0xFFF0F0F0, 0xFFF0F0F0};
    std::vector<std::uint32_t> forward(2), backward(2);
    SmoothResize({rows.data(), kWidth, kWidth, kHeight}, {forward.data(), 1, 1, 2});
    SmoothResize({rows.data() + (kHeight - 1) * kWidth, -kWidth, kWidth, kHeight}, {backward.data() + 1, -1, 1, 2});
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(forward[0], 0xFF080808u);
}

TEST(SmoothResizeBitmap, RefusesWhatItCannotResizeAndLeavesTheTargetAlone) {
    picture::CWinBmp target;
    target.Create(5, 5, 32, false);
    const auto createCount = target.GetCreateCount();
    picture::CWinBmp eightBit;
    eightBit.Create(4, 4, 8, false);
    picture::CWinBmp empty;
    empty.FreeStorage();
    picture::CWinBmp good;
    good.Create(4, 4, 32, false);
    struct Case {
        const char* name;
        const picture::CWinBmp* source;
        int width, height;
    };
    const Case kCases[] = {{"8 bits", &eightBit, 2, 2},
                           {"empty", &empty, 2, 2},
                           {"no width", &good, 0, 2},
                           {"no height", &good, 2, 0},
                           {"negative", &good, -2, 2}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(SmoothResizeBitmap(*c.source, c.width, c.height, false, target));
        EXPECT_EQ(target.GetCreateCount(), createCount);
        EXPECT_EQ(target.GetWidth(), 5);
    }
}

// The bitmap form keeps the picture's orientation either way it reads the
// lines: a picture dark at the top stays dark at the top.
TEST(SmoothResizeBitmap, KeepsTopAtTheTopInBothLineOrders) {
    picture::CWinBmp source;
    source.Create(3, 9, 32, false);
    for (int y = 0; y < 9; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(source.GetLineTable()[y]);  // y from the top
        for (int x = 0; x < 3; ++x) line[x] = y < 3 ? 0xFF000000 : 0xFFFFFFFF;
    }
    for (bool topLineFirst : {false, true}) {
        SCOPED_TRACE(topLineFirst);
        picture::CWinBmp out;
        ASSERT_TRUE(SmoothResizeBitmap(source, 6, 3, topLineFirst, out));
        ASSERT_EQ(out.GetBitsPerPixel(), 32);
        ASSERT_EQ(out.GetHeight(), 3);
        const auto* top = reinterpret_cast<const std::uint32_t*>(out.GetLineTable()[0]);
        const auto* bottom = reinterpret_cast<const std::uint32_t*>(out.GetLineTable()[2]);
        EXPECT_EQ(top[0], 0xFF000000u);
        EXPECT_EQ(bottom[0], 0xFFFFFFFFu);
    }
}

}  // namespace
}  // namespace ovlet::controls
