// The bitmap model: packed-DIB layout, line table, colour table, drawing and
// the packed-DIB import.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "picture/pixel_rows.h"
#include "picture/resource_registry.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

TEST(WinBmp, NewBitmapIsSixteenSquareGreyEightBit) {
    CWinBmp bitmap;
    EXPECT_EQ(bitmap.GetSize(), std::make_pair(16, 16));
    EXPECT_EQ(bitmap.GetBitsPerPixel(), 8);
    EXPECT_FALSE(bitmap.HasAlpha());
    const RGBQuad& entry = bitmap.GetPalette()[200];
    EXPECT_EQ(entry.blue, 200);
    EXPECT_EQ(entry.green, 200);
    EXPECT_EQ(entry.red, 200);
    EXPECT_EQ(entry.reserved, 255);
}

// What a reader of the packed DIB sees, as the DIB format defines it: the
// 40-byte header, 2^depth colour-table entries up to 8 bits, then the rows
// bottom line first, each padded with bytes up to a multiple of 4.
struct DibView {
    const Bytes& dib;
    std::size_t Stride() const {
        std::size_t rowBits = static_cast<std::size_t>(Header().biWidth) * Header().biBitCount;
        return (rowBits + 31) / 32 * 4;
    }
    BitmapInfoHeader Header() const {
        BitmapInfoHeader header;
        std::memcpy(&header, dib.data(), sizeof header);
        return header;
    }
    std::size_t RowsStart() const {
        int depth = Header().biBitCount;
        return 40 + (depth <= 8 ? std::size_t{4} << depth : 0);
    }
    // Byte i of picture line y (0 = top line).
    std::uint8_t At(int y, std::size_t i) const {
        auto fromBottom = static_cast<std::size_t>(Header().biHeight - 1 - y);
        return dib[RowsStart() + fromBottom * Stride() + i];
    }
};

struct LayoutCase {
    const char* name;
    std::int32_t width, height;
    std::uint16_t depth;
};

// Odd widths, so every depth but 32 has padding at the end of its rows.
constexpr LayoutCase kLayouts[] = {
    {"8bit_3x2", 3, 2, 8},   {"32bit_5x3", 5, 3, 32}, {"1bit_9x3", 9, 3, 1},       {"4bit_7x2", 7, 2, 4},
    {"24bit_3x2", 3, 2, 24}, {"16bit_3x2", 3, 2, 16}, {"8bit_empty_0x0", 0, 0, 8},
};

class WinBmpLayout : public testing::TestWithParam<LayoutCase> {};

// Bytes written through the line table land where a reader of the packed DIB
// finds them: line 0 is the top line, stored last; rows are padded, so a
// reader stepping by the padded row length finds every line; the copy for the
// clipboard holds exactly the header, the table and the padded rows.
TEST_P(WinBmpLayout, WhatAReaderOfThePackedDibSees) {
    const LayoutCase& c = GetParam();
    CWinBmp bitmap;
    bitmap.Create(c.width, c.height, c.depth, false);
    const std::size_t pixelBytes = (static_cast<std::size_t>(c.width) * c.depth + 7) / 8;
    auto value = [](int y, std::size_t i) {
        return static_cast<std::uint8_t>(0x40 + 16 * static_cast<std::size_t>(y) + i);
    };
    for (int y = 0; y < c.height; ++y) {
        for (std::size_t i = 0; i < pixelBytes; ++i) {
            bitmap.GetLineTable()[y][i] = value(y, i);
        }
    }
    Bytes dib = bitmap.CopyToGlobalMemory();
    DibView view{dib};
    ASSERT_GE(dib.size(), 40u);
    BitmapInfoHeader header = view.Header();
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, c.width);
    EXPECT_EQ(header.biHeight, c.height);  // positive: bottom-up rows
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, c.depth);
    EXPECT_EQ(header.biCompression, BI_RGB);
    EXPECT_EQ(dib.size(), view.RowsStart() + view.Stride() * static_cast<std::size_t>(c.height));
    EXPECT_EQ(view.Stride() % 4, 0u);
    for (int y = 0; y < c.height; ++y) {
        for (std::size_t i = 0; i < pixelBytes; ++i) {
            ASSERT_EQ(view.At(y, i), value(y, i)) << "line " << y << " byte " << i;
        }
    }
    if (c.depth <= 8) {
        // The colour table sits between the header and the rows.
        EXPECT_EQ(dib[40 + 4 * 1], bitmap.GetPalette()[1].blue);
        EXPECT_EQ(dib[view.RowsStart() - 1], 255);  // last entry's reserved byte
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, WinBmpLayout, testing::ValuesIn(kLayouts), test_support::CaseName());

// Lines written out as red, green, blue, alpha: through the colour table up
// to 8 bits, blue and red swapped at 32 bits (wide enough for the vector
// path and its scalar tail), alpha 255 unless it is meaningful.
TEST(PixelRows, LineToRgbaForEachDepth) {
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha);
        CWinBmp bitmap;
        bitmap.Create(11, 2, 32, alpha);
        for (int x = 0; x < 11; ++x) {
            std::uint8_t* p = bitmap.GetLineTable()[1] + 4 * x;
            p[0] = static_cast<std::uint8_t>(x);        // blue
            p[1] = static_cast<std::uint8_t>(x + 50);   // green
            p[2] = static_cast<std::uint8_t>(x + 100);  // red
            p[3] = static_cast<std::uint8_t>(x + 150);  // alpha
        }
        Bytes out(44);
        rows::LineToRgba(bitmap, 1, out.data());
        for (int x = 0; x < 11; ++x) {
            const auto at = static_cast<std::size_t>(4 * x);
            EXPECT_EQ(out[at], x + 100);
            EXPECT_EQ(out[at + 1], x + 50);
            EXPECT_EQ(out[at + 2], x);
            EXPECT_EQ(out[at + 3], alpha ? x + 150 : 255);
        }
    }
    for (std::uint16_t depth : std::initializer_list<std::uint16_t>{1, 4, 8}) {
        SCOPED_TRACE(depth);
        CWinBmp bitmap;
        bitmap.Create(3, 1, depth, false);
        RGBQuad* table = bitmap.GetPalette();
        table[0] = {1, 2, 3, 0};
        table[1] = {4, 5, 6, 0};
        // Pixels 1, 0, 1 in the line's packing.
        std::uint8_t* line = bitmap.GetLineTable()[0];
        if (depth == 1) line[0] = 0xA0;
        if (depth == 4) line[0] = 0x10, line[1] = 0x10;
        if (depth == 8) line[0] = 1, line[1] = 0, line[2] = 1;
        Bytes out(12);
        rows::LineToRgba(bitmap, 0, out.data());
        EXPECT_EQ(out, (Bytes{6, 5, 4, 255, 3, 2, 1, 255, 6, 5, 4, 255}));
    }
}

// A failed decode leaves the bitmap as it was: a replacement keeps the
// storage its first Create replaces until it is closed, and nested
// replacements (a PICT handing over to the JPEG decoder) decide nothing.
TEST(WinBmp, ReplacementKeepsOrRestoresThePicture) {
    for (bool keepNew : {false, true}) {
        for (bool nested : {false, true}) {
            SCOPED_TRACE(std::to_string(keepNew) + std::to_string(nested));
            CWinBmp bitmap;
            bitmap.Create(3, 2, 32, true);
            bitmap.GetLineTable()[1][4] = 0x5A;
            bitmap.OpenReplacement();
            if (nested) bitmap.OpenReplacement();
            bitmap.Create(7, 5, 8, false);
            bitmap.Create(9, 9, 8, false);  // a second Create drops the first one's storage
            bitmap.GetLineTable()[0][0] = 0x11;
            if (nested) bitmap.CloseReplacement(false);
            bitmap.CloseReplacement(keepNew);
            if (keepNew) {
                EXPECT_EQ(bitmap.GetSize(), std::make_pair(9, 9));
                EXPECT_EQ(bitmap.GetLineTable()[0][0], 0x11);
            } else {
                EXPECT_EQ(bitmap.GetSize(), std::make_pair(3, 2));
                EXPECT_EQ(bitmap.GetBitsPerPixel(), 32);
                EXPECT_TRUE(bitmap.HasAlpha());
                EXPECT_EQ(bitmap.GetLineTable()[1][4], 0x5A);
                EXPECT_EQ(bitmap.GetLineTable()[0] - bitmap.GetLineTable()[1], 12);
            }
        }
    }
}

TEST(WinBmp, GreyRampFollowsDepth) {
    struct Case {
        std::uint16_t depth;
        int entry;
        int grey;
    };
    constexpr Case kCases[] = {{1, 1, 128}, {4, 15, 240}, {4, 1, 16}, {8, 255, 255}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.depth);
        CWinBmp bitmap;
        bitmap.Create(4, 4, c.depth, false);
        EXPECT_EQ(bitmap.GetPalette()[c.entry].red, c.grey);
        EXPECT_EQ(bitmap.GetPalette()[c.entry].reserved, 255);
    }
}

TEST(WinBmp, SetPaletteCopiesOnlyWhatTheTableHolds) {
    std::uint32_t entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i] = MakePixel(static_cast<std::uint8_t>(i), 1, 2);
    }
    CWinBmp bitmap;
    bitmap.Create(8, 1, 1, false);
    // A 1-bit bitmap has two entries; its pixel line follows them directly
    // and must not be overwritten by a 256-entry copy.
    std::memset(bitmap.GetLineTable()[0], 0xAB, 4);
    bitmap.SetPalette(entries);
    EXPECT_EQ(bitmap.GetPalette()[1].red, 1);
    EXPECT_EQ(bitmap.GetPalette()[1].blue, 2);
    EXPECT_EQ(bitmap.GetLineTable()[0][0], 0xAB);

    bitmap.Create(2, 1, 32, false);
    bitmap.SetPalette(entries);  // no table: nothing happens
    EXPECT_EQ(bitmap.GetPalette(), nullptr);
}

// A size CWinBmp::Create is asked for.
struct SizeCase {
    const char* name;
    std::int32_t width, height;
    std::uint16_t depth;
};

TEST(WinBmp, CreateRefusesBadSizesAndKeepsThePicture) {
    constexpr SizeCase kCases[] = {
        {"negative width", -1, 4, 8},
        {"negative height", 4, -1, 32},
        {"2^28 + 1 pixels", 16385, 16384, 8},
        {"over 1 GiB at 32 bits", 16384, 16384, 32},
        // 40 + 4 x 16383 x 16383 + 8 x 16383 = 2^30 + 36 bytes with its line table.
        {"36 bytes over 1 GiB with the line table", 16383, 16383, 32},
        {"line table over 1 GiB", 1, 1 << 27, 8},
        {"depth 7", 4, 4, 7},
    };
    for (const SizeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        bitmap.Create(3, 3, 32, true);
        Failure failure = CatchFailure([&] { bitmap.Create(c.width, c.height, c.depth, false); });
        EXPECT_EQ(failure.code, DECERR_FORMAT);
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(3, 3));
        EXPECT_TRUE(bitmap.HasAlpha());
    }
}

// Just below each limit a bitmap is made (its pages are never touched here).
TEST(WinBmp, CreateAcceptsPicturesAtTheLimits) {
    constexpr SizeCase kCases[] = {
        {"2^28 pixels", 16384, 16384, 8},
        {"one line fewer: 64 KiB under 1 GiB", 16383, 16382, 32},
    };
    for (const SizeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        EXPECT_EQ(CatchFailure([&] { bitmap.Create(c.width, c.height, c.depth, false); }).code, 0);
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(c.width, c.height));
    }
}

// Records what a bitmap asks the device to draw.
class RecordingDevice : public CDrawDevice {
public:
    int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                      int srcHeight, const void* bits, const BitmapInfoHeader* info, std::uint32_t usage,
                      std::uint32_t rasterOp) override {
        calls.push_back({"stretch", xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, bits, info,
                         usage, rasterOp});
        return destHeight;
    }
    int SetDIBitsToDevice(int xDest, int yDest, int width, int height, int xSrc, int ySrc, int startScan, int scanLines,
                          const void* bits, const BitmapInfoHeader* info, std::uint32_t usage) override {
        calls.push_back({"set", xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines, bits, info, usage, 0});
        return scanLines;
    }
    struct Call {
        const char* kind;
        int a, b, c, d, e, f, g, h;
        const void* bits;
        const BitmapInfoHeader* info;
        std::uint32_t usage, rasterOp;
    };
    std::vector<Call> calls;
};

TEST(WinBmp, DrawingHandsThePackedDibToTheDevice) {
    CWinBmp bitmap;
    bitmap.Create(101, 51, 32, false);
    const void* bits = bitmap.GetLineTable()[50];  // bottom line comes first
    struct Case {
        const char* name;
        std::function<void(CDrawDevice*)> draw;
        RecordingDevice::Call want;
    };
    const Case kCases[] = {
        {"Draw",
         [&](CDrawDevice* d) { bitmap.Draw(d, 3, 4, SRCCOPY); },
         {"stretch", 3, 4, 101, 51, 0, 0, 101, 51, bits, nullptr, DIB_RGB_COLORS, SRCCOPY}},
        {"DrawScaled half",
         [&](CDrawDevice* d) { bitmap.DrawScaled(d, 0, 0, 0.5, SRCCOPY); },
         {"stretch", 0, 0, 50, 25, 0, 0, 101, 51, bits, nullptr, DIB_RGB_COLORS, SRCCOPY}},
        {"DrawSection",
         [&](CDrawDevice* d) {
             bitmap.DrawSection(d, 7, 8, PictureRect{10, 5, 30, 20});
         },
         {"set", 7, 8, 20, 15, 10, 51 - 20, 0, 51, bits, nullptr, DIB_RGB_COLORS, 0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        RecordingDevice device;
        c.draw(&device);
        ASSERT_EQ(device.calls.size(), 1u);
        const auto& got = device.calls[0];
        const auto& want = c.want;
        EXPECT_STREQ(got.kind, want.kind);
        EXPECT_EQ(std::vector<int>({got.a, got.b, got.c, got.d, got.e, got.f, got.g, got.h}),
                  std::vector<int>({want.a, want.b, want.c, want.d, want.e, want.f, want.g, want.h}));
        EXPECT_EQ(got.bits, want.bits);
        EXPECT_EQ(got.info, bitmap.GetInfoHeader());
        EXPECT_EQ(got.rasterOp, want.rasterOp);
    }
    bitmap.Draw(nullptr, 0, 0);  // no device: nothing to do, no crash
    RecordingDevice device;
    bitmap.DrawScaled(&device, 0, 0, 1e300);  // would overflow int: drawn not at all
    EXPECT_TRUE(device.calls.empty());
}

// A packed DIB as a resource stores it: header, colour table, lines.
Bytes MakePackedDib(std::int32_t width, std::int32_t height, std::uint16_t depth, std::uint32_t colours,
                    std::size_t pixelBytes) {
    BitmapInfoHeader header{};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = depth;
    header.biClrUsed = colours;
    Bytes bytes(sizeof header);
    std::memcpy(bytes.data(), &header, sizeof header);
    std::uint32_t tableEntries = depth <= 8 ? (colours ? colours : 1u << depth) : 0;
    for (std::uint32_t i = 0; i < tableEntries; ++i) {
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(i), 0x11, 0x22, 0});
    }
    for (std::size_t i = 0; i < pixelBytes; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i + 1));
    }
    return bytes;
}

TEST(WinBmp, CreateFromPackedDibChecksWhatItCopies) {
    struct Case {
        const char* name;
        Bytes dib;
        bool accepted;
    };
    const Bytes full = MakePackedDib(3, 2, 8, 0, 8);
    const Case kCases[] = {
        {"8-bit full table", MakePackedDib(3, 2, 8, 0, 8), true},
        {"8-bit with 16 colours", MakePackedDib(3, 2, 8, 16, 8), true},
        {"32-bit", MakePackedDib(2, 2, 32, 0, 16), true},
        {"lines cut short", MakePackedDib(3, 2, 8, 0, 7), false},
        {"header cut", Bytes(full.begin(), full.begin() + 20), false},
        {"top-down", MakePackedDib(3, -2, 8, 0, 8), false},
        {"depth 2", MakePackedDib(3, 2, 2, 0, 8), false},
        {"300 colours at 8 bits", MakePackedDib(3, 2, 8, 300, 8), false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        bitmap.Create(1, 1, 32, true);
        ASSERT_EQ(bitmap.CreateFromPackedDib(std::span<const std::uint8_t>(c.dib)), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(bitmap.GetSize(), std::make_pair(1, 1));
            continue;
        }
        EXPECT_FALSE(bitmap.HasAlpha());
        // The bottom line of the DIB is the first stored: bytes 1, 2, 3...
        auto [w, h] = bitmap.GetSize();
        EXPECT_EQ(bitmap.GetLineTable()[h - 1][0], 1);
        EXPECT_EQ(bitmap.GetLineTable()[0][0], 1 + bitmap.GetLineBytes());
        if (bitmap.GetBitsPerPixel() == 8) {
            EXPECT_EQ(bitmap.GetPalette()[5].blue, 5);
            EXPECT_EQ(bitmap.GetPalette()[5].red, 0x22);
        }
        (void)w;
    }
}

TEST(WinBmp, LoadFromResourceUsesTheRegisteredLookup) {
    static const Bytes kDib = MakePackedDib(4, 3, 8, 0, 12);
    SetBitmapResourceLookup([](std::uint16_t id) -> std::span<const std::uint8_t> {
        if (id == 130) {
            return kDib;
        }
        return {};
    });
    CWinBmp bitmap;
    EXPECT_TRUE(bitmap.LoadFromResource(130));
    EXPECT_EQ(bitmap.GetSize(), std::make_pair(4, 3));
    EXPECT_FALSE(bitmap.LoadFromResource(131));
    EXPECT_EQ(bitmap.GetSize(), std::make_pair(4, 3));
    SetBitmapResourceLookup(nullptr);
    EXPECT_FALSE(bitmap.LoadFromResource(130));
}

TEST(WinBmp, CopyToGlobalMemoryCopiesThePackedDib) {
    CWinBmp bitmap;
    bitmap.Create(2, 2, 8, false);
    bitmap.GetLineTable()[0][1] = 77;
    std::vector<std::uint8_t> copy = bitmap.CopyToGlobalMemory();
    ASSERT_EQ(copy.size(), bitmap.GetStorageSize());
    EXPECT_EQ(std::memcmp(copy.data(), bitmap.GetInfoHeader(), copy.size()), 0);
}

}  // namespace
}  // namespace ovlet::picture
