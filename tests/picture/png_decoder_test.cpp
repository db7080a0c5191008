// The PNG decoder on pictures made here with known pixels.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include <zlib.h>

#include "picture/png_decoder.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

// A picture of width x height whose row bytes come from f(x, y, byteIndex).
template <typename F>
test_support::PngPicture MakePng(int colourType, int bitDepth, int width, int height, int bytesPerRow, F f) {
    test_support::PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = colourType;
    picture.bitDepth = bitDepth;
    for (int y = 0; y < height; ++y) {
        Bytes row(static_cast<std::size_t>(bytesPerRow));
        for (int i = 0; i < bytesPerRow; ++i) {
            row[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(f(y, i));
        }
        picture.rows.push_back(row);
    }
    return picture;
}

struct PngCase {
    const char* name;
    test_support::PngPicture picture;
    int requestedDepth;
    std::uint16_t wantDepth;
    bool wantAlpha;
    // Expected output at (x, y): 32-bit blue, green, red, alpha, or for 8-bit
    // output the index in .blue with the colour-table entry in the rest.
    std::function<Bgra(int x, int y)> want;
};

std::vector<PngCase> PngCases() {
    constexpr int w = 13, h = 7;  // odd sizes: padding and sub-byte packing show
    std::vector<PngCase> cases;
    cases.push_back({"rgb8_depth32", MakePng(2, 8, w, h, 3 * w, [](int y, int i) { return y * 30 + i; }), 32, 32, false,
                     [](int x, int y) {
                         int base = y * 30 + 3 * x;
                         return Bgra{base + 2, base + 1, base, 255};
                     }});
    cases.push_back({"rgb8_depth8_still32", MakePng(2, 8, w, h, 3 * w, [](int y, int i) { return y * 30 + i; }), 8, 32,
                     false, [](int x, int y) {
                         int base = y * 30 + 3 * x;
                         return Bgra{base + 2, base + 1, base, 255};
                     }});
    cases.push_back({"rgba8", MakePng(6, 8, w, h, 4 * w, [](int y, int i) { return (y * 50 + i * 3) & 0xFF; }), 0, 32,
                     true, [](int x, int y) {
                         auto v = [&](int i) { return (y * 50 + (4 * x + i) * 3) & 0xFF; };
                         return Bgra{v(2), v(1), v(0), v(3)};
                     }});
    cases.push_back({"rgb16_stripped",
                     MakePng(2, 16, w, h, 6 * w, [](int y, int i) { return i % 2 ? 0x55 : (y * 20 + i) & 0xFF; }), 32,
                     32, false, [](int x, int y) {
                         auto v = [&](int c) { return (y * 20 + 6 * x + 2 * c) & 0xFF; };
                         return Bgra{v(2), v(1), v(0), 255};
                     }});
    cases.push_back({"grey_alpha8", MakePng(4, 8, w, h, 2 * w, [](int y, int i) { return i % 2 ? 100 + y : i * 9; }), 0,
                     32, true, [](int x, int y) {
                         int g = 2 * x * 9;
                         return Bgra{g, g, g, 100 + y};
                     }});
    // 1-bit grey: bytes 0 and 1, colour table (0,0,0) and (255,255,255).
    cases.push_back({"grey1_depth0", MakePng(0, 1, w, h, 2, [](int y, int i) { return i == 0 ? 0xA5 ^ y : 0xF0; }), 0,
                     8, false, [](int x, int y) {
                         int byte = x < 8 ? (0xA5 ^ y) : 0xF0;
                         int bit = (byte >> (7 - x % 8)) & 1;
                         return Bgra{bit, bit * 255, bit * 255, bit * 255};
                     }});
    cases.push_back({"grey1_depth32", MakePng(0, 1, w, h, 2, [](int y, int i) { return i == 0 ? 0xA5 ^ y : 0xF0; }), 32,
                     32, false, [](int x, int y) {
                         int byte = x < 8 ? (0xA5 ^ y) : 0xF0;
                         int g = ((byte >> (7 - x % 8)) & 1) * 255;
                         return Bgra{g, g, g, 255};
                     }});
    // 4-bit grey: ramp entries i * 255 / 15.
    cases.push_back({"grey4_depth8", MakePng(0, 4, w, h, 7, [](int y, int i) { return (i * 0x23 + y) & 0xFF; }), 8, 8,
                     false, [](int x, int y) {
                         int byte = ((x / 2) * 0x23 + y) & 0xFF;
                         int index = x % 2 ? byte & 0xF : byte >> 4;
                         int grey = index * 17;
                         return Bgra{index, grey, grey, grey};
                     }});
    // 16-bit grey at 8 bits: ramp i = i, samples reduced to the high byte.
    cases.push_back({"grey16_depth8",
                     MakePng(0, 16, w, h, 2 * w, [](int y, int i) { return i % 2 ? 0xFF : y * 30 + i; }), 8, 8, false,
                     [](int x, int y) {
                         int v = y * 30 + 2 * x;
                         return Bgra{v, v, v, v};
                     }});
    test_support::PngPicture palette = MakePng(3, 8, w, h, w, [](int y, int i) { return (y + i) % 3; });
    palette.palette = {10, 20, 30, 200, 100, 50, 1, 2, 3};
    cases.push_back({"palette_depth0", palette, 0, 8, false, [](int x, int y) {
                         int index = (x + y) % 3;
                         const int colours[3][3] = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}};
                         return Bgra{index, colours[index][0], colours[index][1], colours[index][2]};
                     }});
    cases.push_back({"palette_depth32", palette, 32, 32, false, [](int x, int y) {
                         const int colours[3][3] = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}};
                         const int* c = colours[(x + y) % 3];
                         return Bgra{c[2], c[1], c[0], 255};
                     }});
    test_support::PngPicture palette2 = MakePng(3, 2, w, h, 4, [](int y, int i) { return (i * 0x1B + y) & 0xFF; });
    palette2.palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    cases.push_back({"palette2bit_depth32", palette2, 32, 32, false, [](int x, int y) {
                         int byte = ((x / 4) * 0x1B + y) & 0xFF;
                         int index = (byte >> (6 - 2 * (x % 4))) & 3;
                         const int colours[4][3] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
                         return Bgra{colours[index][2], colours[index][1], colours[index][0], 255};
                     }});
    return cases;
}

class PngDecode : public testing::TestWithParam<PngCase> {};

TEST_P(PngDecode, PixelsAndLayout) {
    const PngCase& c = GetParam();
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        test_support::PngPicture picture = c.picture;
        picture.interlaced = interlaced;
        CPNGDecoder decoder;
        CWinBmp bitmap;
        DecodeBytes(decoder, test_support::EncodePng(picture), bitmap, c.requestedDepth);
        ASSERT_EQ(bitmap.GetSize(), std::make_pair(picture.width, picture.height));
        ASSERT_EQ(bitmap.GetBitsPerPixel(), c.wantDepth);
        EXPECT_EQ(bitmap.HasAlpha(), c.wantAlpha);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                Bgra want = c.want(x, y);
                if (c.wantDepth == 8) {
                    int index = bitmap.GetLineTable()[y][x];
                    const RGBQuad& entry = bitmap.GetPalette()[index];
                    ASSERT_EQ((std::vector<int>{index, entry.red, entry.green, entry.blue, entry.reserved}),
                              (std::vector<int>{want.blue, want.green, want.red, want.alpha, 255}))
                        << x << "," << y;
                } else {
                    Bgra got = PixelAt(bitmap, x, y);
                    ASSERT_EQ((std::vector<int>{got.blue, got.green, got.red, got.alpha}),
                              (std::vector<int>{want.blue, want.green, want.red, want.alpha}))
                        << x << "," << y;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ColourTypes, PngDecode, testing::ValuesIn(PngCases()), test_support::CaseName());

test_support::PngPicture SmallRgb() {
    return MakePng(2, 8, 40, 30, 120, [](int y, int i) { return (y * 7 + i * 13) & 0xFF; });
}

TEST(PngDecoder, FailuresAndTheBitmapAfterThem) {
    Bytes good = test_support::EncodePng(SmallRgb());
    Bytes badSignature = good;
    badSignature[5] = 0;
    Bytes badCrc = good;
    badCrc[29] ^= 1;  // IHDR CRC
    // Cut inside IDAT: the failure comes after the new picture was created,
    // and the bitmap still ends as it was.
    Bytes cutInData(good.begin(), good.end() - 40);
    const Refusal kCases[] = {
        {"signature broken after four bytes", badSignature, DECERR_FORMAT,
         "Decoder error: PNG file corrupted by ASCII conversion\n"},
        {"IHDR CRC", badCrc, DECERR_FORMAT, "Decoder error: IHDR: CRC error\n"},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 20), DECERR_END_OF_DATA,
         "End of file reached while decoding.\n"},
        {"cut inside the image data", cutInData, DECERR_END_OF_DATA, "End of file reached while decoding.\n"},
    };
    CPNGDecoder decoder;
    for (const Refusal& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        bitmap.Create(3, 3, 32, true);
        const std::uint8_t marker[4] = {1, 2, 3, 4};
        std::memcpy(bitmap.GetLineTable()[2] + 8, marker, 4);
        ExpectRefusal(decoder, c, bitmap);
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(3, 3));
        EXPECT_TRUE(bitmap.HasAlpha());
        EXPECT_EQ(std::memcmp(bitmap.GetLineTable()[2] + 8, marker, 4), 0);
        CWinBmp next;
        DecodeBytes(decoder, good, next, 32);
        EXPECT_EQ(next.GetSize(), std::make_pair(40, 30));
    }
}

TEST(PngDecoder, OversizedHeaderFailsAtOnce) {
    // IHDR of 65535 x 65535 RGBA followed by nothing: refused before any
    // allocation, not by running out of data.
    test_support::PngPicture picture = MakePng(6, 8, 1, 1, 4, [](int, int) { return 1; });
    Bytes png = test_support::EncodePng(picture);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            png[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
        }
    };
    put32(16, 65535);
    put32(20, 65535);
    // Fix the IHDR CRC over type and data.
    put32(29, static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)));
    png.resize(100);
    CPNGDecoder decoder;
    CWinBmp bitmap;
    Failure failure = CatchFailure([&] { DecodeBytes(decoder, png, bitmap, 32); });
    EXPECT_EQ(failure.code, DECERR_FORMAT);
    EXPECT_NE(failure.text.find("too large"), std::string::npos) << failure.text;
    EXPECT_EQ(bitmap.GetSize(), std::make_pair(16, 16));
}

// The thumbnail's decode: every step-th row and column of the picture, a
// row at a time, for plain and interlaced pictures alike.
TEST(PngDecoder, ReducedDecodeSamplesRowsAndColumns) {
    auto source = [](int x, int y) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x % 251), static_cast<std::uint8_t>(y % 241),
                                           static_cast<std::uint8_t>((x + 3 * y) % 256)};
    };
    constexpr int kWidth = 600;
    constexpr int kHeight = 401;
    test_support::PngPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    for (int y = 0; y < kHeight; ++y) {
        Bytes row;
        for (int x = 0; x < kWidth; ++x) {
            const auto rgb = source(x, y);
            row.insert(row.end(), rgb.begin(), rgb.end());
        }
        picture.rows.push_back(row);
    }
    struct Case {
        bool interlaced;
        int maxSide;
        int width, height;  // of the result
        int step, rowStep, firstRow;
    };
    const Case cases[] = {
        {false, 100, 100, 67, 6, 6, 0},
        {false, 300, 300, 201, 2, 2, 0},
        {false, 599, 300, 201, 2, 2, 0},
        // From the last pass, which holds rows 1, 3, 5, ...
        {true, 100, 100, 67, 6, 3, 1},
        {true, 300, 300, 200, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.interlaced ? "interlaced" : "plain") + ", at most " + std::to_string(c.maxSide));
        picture.interlaced = c.interlaced;
        const Bytes png = test_support::EncodePng(picture);
        CWinBmp bitmap;
        ASSERT_TRUE(DecodePngReduced(png.data(), static_cast<std::int32_t>(png.size()), c.maxSide, bitmap));
        ASSERT_EQ(bitmap.GetSize().first, c.width);
        ASSERT_EQ(bitmap.GetSize().second, c.height);
        EXPECT_EQ(bitmap.GetBitsPerPixel(), 32);
        EXPECT_FALSE(bitmap.HasAlpha());
        for (int y = 0; y < c.height; ++y) {
            const std::uint8_t* line = bitmap.GetLineTable()[y];
            for (int x = 0; x < c.width; ++x) {
                const auto rgb = source(x * c.step, c.firstRow + y * (c.interlaced ? 2 * c.rowStep : c.step));
                ASSERT_EQ(line[4 * x + 2], rgb[0]) << x << "," << y;
                ASSERT_EQ(line[4 * x + 1], rgb[1]) << x << "," << y;
                ASSERT_EQ(line[4 * x + 0], rgb[2]) << x << "," << y;
                ASSERT_EQ(line[4 * x + 3], 255);
            }
        }
    }
    // Small enough to decode whole, or no PNG at all: nothing is done.
    const Bytes png = test_support::EncodePng(picture);
    CWinBmp bitmap;
    EXPECT_FALSE(DecodePngReduced(png.data(), static_cast<std::int32_t>(png.size()), 600, bitmap));
    const Bytes jpeg = test_support::EncodeJpeg(test_support::JpegKind::Grey, 2, 2, Bytes(4, 0));
    EXPECT_FALSE(DecodePngReduced(jpeg.data(), static_cast<std::int32_t>(jpeg.size()), 1, bitmap));
    // A picture cut short fails as a whole decode does.
    Bytes cut = png;
    cut.resize(cut.size() / 2);
    EXPECT_THROW(DecodePngReduced(cut.data(), static_cast<std::int32_t>(cut.size()), 100, bitmap), CTextException);
    // Transparency, from a palette's tRNS, comes through.
    test_support::PngPicture palette;
    palette.width = 300;
    palette.height = 2;
    palette.colourType = 3;
    palette.palette = {255, 0, 0, 0, 0, 255};
    palette.transparency = {40};
    palette.rows = {Bytes(300, 0), Bytes(300, 1)};
    const Bytes paletted = test_support::EncodePng(palette);
    ASSERT_TRUE(DecodePngReduced(paletted.data(), static_cast<std::int32_t>(paletted.size()), 100, bitmap));
    EXPECT_TRUE(bitmap.HasAlpha());
    EXPECT_EQ(bitmap.GetLineTable()[0][3], 40);
    EXPECT_EQ(bitmap.GetLineTable()[0][2], 255);
}

}  // namespace
}  // namespace ovlet::picture
