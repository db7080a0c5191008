// CBmpDecoder on bitmaps built byte by byte: each header variant, row
// padding, both row orders, the run-length escapes, and every refusal.
#include <gtest/gtest.h>

#include <optional>

#include "picture/bmp_decoder.h"
#include "tests/picture/decoder_test_util.h"

namespace ovlet::picture {
namespace {

struct BmpLayout {
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;  // Rgba values; alpha is not stored
    std::uint32_t clrUsed = 0;
    Bytes pixels;
    std::optional<std::uint32_t> bfSize;  // default: the true file size
    std::uint32_t biSize = 40;
    const char* signature = "BM";
};

Bytes MakeBmp(const BmpLayout& s) {
    test_support::ByteWriter info;
    info.U32Le(s.biSize).U32Le(static_cast<std::uint32_t>(s.width));
    info.U32Le(static_cast<std::uint32_t>(s.height)).U16Le(1).U16Le(s.bits);
    info.U32Le(s.compression).U32Le(0).U32Le(2835).U32Le(2835).U32Le(s.clrUsed).U32Le(0);
    for (std::uint32_t c : s.palette) {
        info.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF).U8(0);
    }
    auto total = static_cast<std::uint32_t>(14 + info.Size() + s.pixels.size());
    test_support::ByteWriter file;
    file.U8(static_cast<unsigned char>(s.signature[0])).U8(static_cast<unsigned char>(s.signature[1]));
    file.U32Le(s.bfSize.value_or(total)).U32Le(0).U32Le(static_cast<std::uint32_t>(14 + info.Size()));
    file.Raw(info.bytes).Raw(s.pixels);
    return file.bytes;
}

// Entry i of a test palette: distinct and easy to name.
constexpr std::uint32_t PaletteColour(unsigned i) {
    return Rgba(i, 255 - i, (i * 7) & 0xFF);
}

std::vector<std::uint32_t> TestPalette(unsigned n) {
    std::vector<std::uint32_t> p;
    for (unsigned i = 0; i < n; ++i) {
        p.push_back(PaletteColour(i));
    }
    return p;
}

std::vector<std::uint32_t> Colours(std::initializer_list<unsigned> indices) {
    std::vector<std::uint32_t> out;
    for (unsigned i : indices) {
        out.push_back(PaletteColour(i));
    }
    return out;
}

struct DecodeCase {
    const char* name;
    BmpLayout layout;
    int depth;      // requested
    int wantDepth;  // of the bitmap
    std::int32_t wantWidth, wantHeight;
    std::vector<std::uint32_t> want;  // top line first: pixels, or indices at 8 bits
};

std::vector<DecodeCase> DecodeCases() {
    std::vector<DecodeCase> cases;
    {
        // 11 pixels: one whole byte and three pixels from the top bits of
        // the next; rows are padded to 4 bytes. Bottom row stored first.
        BmpLayout s{.width = 11,
                    .height = 2,
                    .bits = 1,
                    .palette = {Rgba(200, 0, 0), Rgba(0, 0, 200)},
                    .pixels = {0xA0, 0x60, 0, 0, 0xFF, 0xFF, 0, 0}};
        std::uint32_t r = Rgba(200, 0, 0), b = Rgba(0, 0, 200);
        cases.push_back({"1 bit through its colour table", s, 32, 32, 11, 2, {b, b, b, b, b, b, b, b, b, b, b,
                                                                              b, r, b, r, r, r, r, r, r, b, b}});
        cases.push_back({"1 bit at 8 bits keeps the indices", s, 0, 8, 11, 2, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                                               1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1}});
    }
    {
        // 5 pixels of 4 bits: 3 bytes of pixels and 1 of padding; the fifth
        // pixel is the high nibble of the third byte.
        BmpLayout s{.width = 5, .height = 1, .bits = 4, .palette = TestPalette(16), .pixels = {0x12, 0x34, 0x5F, 0xEE}};
        cases.push_back({"4 bit odd width", s, 32, 32, 5, 1, Colours({1, 2, 3, 4, 5})});
        cases.push_back({"4 bit at 8 bits", s, 8, 8, 5, 1, {1, 2, 3, 4, 5}});
    }
    {
        // biClrUsed 0 at 8 bits means 256 entries before the pixels.
        BmpLayout s{.width = 3,
                    .height = 2,
                    .bits = 8,
                    .palette = TestPalette(256),
                    .pixels = {7, 8, 9, 0xEE, 250, 251, 255, 0xEE}};
        cases.push_back({"8 bit with a full table", s, 32, 32, 3, 2, Colours({250, 251, 255, 7, 8, 9})});
        cases.push_back({"8 bit indices", s, 0, 8, 3, 2, {250, 251, 255, 7, 8, 9}});
    }
    {
        BmpLayout s{.width = 3,
                    .height = 2,
                    .bits = 8,
                    .palette = TestPalette(4),
                    .clrUsed = 4,
                    .pixels = {0, 1, 2, 0, 3, 3, 3, 0}};
        cases.push_back({"8 bit with biClrUsed 4", s, 32, 32, 3, 2, Colours({3, 3, 3, 0, 1, 2})});
    }
    {
        // 3 pixels of 24 bits: 9 bytes and 3 of padding per row.
        BmpLayout s{
            .width = 3, .height = 2, .bits = 24, .pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0xEE, 0xEE, 0xEE,
                                                            10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE}};
        std::vector<std::uint32_t> want = {Rgba(12, 11, 10), Rgba(15, 14, 13), Rgba(18, 17, 16),
                                           Rgba(3, 2, 1),    Rgba(6, 5, 4),    Rgba(9, 8, 7)};
        cases.push_back({"24 bit odd width", s, 32, 32, 3, 2, want});
        cases.push_back({"24 bit asked for 8 bits", s, 8, 32, 3, 2, want});
        BmpLayout topDown = s;
        topDown.height = -2;
        cases.push_back(
            {"24 bit top-down",
             topDown,
             32,
             32,
             3,
             2,
             {Rgba(3, 2, 1), Rgba(6, 5, 4), Rgba(9, 8, 7), Rgba(12, 11, 10), Rgba(15, 14, 13), Rgba(18, 17, 16)}});
    }
    {
        BmpLayout s{.width = 2, .height = 1, .bits = 32, .compression = 3, .pixels = {1, 2, 3, 4, 5, 6, 7, 8}};
        cases.push_back({"32 bit copied with its fourth byte", s, 32, 32, 2, 1, {Rgba(3, 2, 1, 4), Rgba(7, 6, 5, 8)}});
    }
    {
        // Encoded run, absolute run of odd length with its padding byte,
        // then end of bitmap.
        BmpLayout s{.width = 6,
                    .height = 1,
                    .bits = 8,
                    .compression = 1,
                    .palette = TestPalette(256),
                    .pixels = {0x03, 0x05, 0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x00, 0x01}};
        cases.push_back({"RLE8 runs", s, 8, 8, 6, 1, {5, 5, 5, 1, 2, 3}});
        cases.push_back({"RLE8 runs at 32 bits", s, 32, 32, 6, 1, Colours({5, 5, 5, 1, 2, 3})});
    }
    {
        // Two lines, bottom first, with end-of-line codes; the top line ends
        // early and its rest stays 0.
        BmpLayout s{.width = 3,
                    .height = 2,
                    .bits = 8,
                    .compression = 1,
                    .palette = TestPalette(256),
                    .pixels = {0x03, 0x09, 0x00, 0x00, 0x01, 0x04, 0x00, 0x01}};
        cases.push_back({"RLE8 lines and early end", s, 8, 8, 3, 2, {4, 0, 0, 9, 9, 9}});
    }
    {
        // A run longer than the line is cut at its end.
        BmpLayout s{.width = 4,
                    .height = 2,
                    .bits = 8,
                    .compression = 1,
                    .palette = TestPalette(256),
                    .pixels = {0x06, 0x07, 0x00, 0x00, 0x00, 0x05, 1, 2, 3, 4, 5, 0, 0x00, 0x01}};
        cases.push_back({"RLE8 runs past the line end are cut", s, 8, 8, 4, 2, {1, 2, 3, 4, 7, 7, 7, 7}});
    }
    {
        BmpLayout s{.width = 5,
                    .height = 1,
                    .bits = 4,
                    .compression = 2,
                    .palette = TestPalette(16),
                    .pixels = {0x05, 0x12, 0x00, 0x01}};
        cases.push_back({"RLE4 run alternates nibbles", s, 8, 8, 5, 1, {1, 2, 1, 2, 1}});
    }
    {
        // Three nibbles in two bytes: no padding byte follows.
        BmpLayout s{.width = 5,
                    .height = 1,
                    .bits = 4,
                    .compression = 2,
                    .palette = TestPalette(16),
                    .pixels = {0x00, 0x03, 0x12, 0x30, 0x02, 0x44, 0x00, 0x01}};
        cases.push_back({"RLE4 absolute run of 3", s, 8, 8, 5, 1, {1, 2, 3, 4, 4}});
    }
    {
        // Five nibbles in three bytes: one padding byte follows.
        BmpLayout s{.width = 5,
                    .height = 1,
                    .bits = 4,
                    .compression = 2,
                    .palette = TestPalette(16),
                    .pixels = {0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x00, 0x01}};
        cases.push_back({"RLE4 absolute run of 5", s, 32, 32, 5, 1, Colours({1, 2, 3, 4, 5})});
    }
    return cases;
}

class BmpDecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(BmpDecodeTest, DecodesExpectedPixels) {
    const DecodeCase& c = GetParam();
    CBmpDecoder decoder;
    CWinBmp bitmap;
    ExpectDecoded(decoder, MakeBmp(c.layout), c.depth, {c.wantDepth, c.wantWidth, c.wantHeight, false, c.want}, bitmap);
    if (c.wantDepth == 8 && !c.layout.palette.empty()) {
        // The file's colour table becomes the bitmap's.
        for (std::size_t i = 0; i < c.layout.palette.size(); ++i) {
            RGBQuad q = bitmap.GetPalette()[i];
            std::uint32_t got = Rgba(q.red, q.green, q.blue, q.reserved);
            ASSERT_EQ(got, c.layout.palette[i]) << "entry " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bmp, BmpDecodeTest, testing::ValuesIn(DecodeCases()), test_support::CaseName());

struct FailCase {
    const char* name;
    BmpLayout layout;
    int wantCode;
    std::string wantText;  // empty: not checked
    int truncateBy = 0;    // bytes cut off the end of the file
};

std::vector<FailCase> FailCases() {
    BmpLayout rgb{.width = 3, .height = 2, .bits = 24, .pixels = Bytes(24, 0x40)};
    std::vector<FailCase> cases;
    cases.push_back({"not BM", Changed(rgb, [](auto& s) { s.signature = "MB"; }), DECERR_SIGNATURE,
                     Raised("Bitmap decoder: This isn't a bitmap.")});
    cases.push_back({"core header", Changed(rgb, [](auto& s) { s.biSize = 12; }), DECERR_FORMAT,
                     Raised("Bitmap decoder: BITMAPINFOHEADER has wrong size.")});
    cases.push_back({"v5 header", Changed(rgb, [](auto& s) { s.biSize = 124; }), DECERR_FORMAT,
                     Raised("Bitmap decoder: BITMAPINFOHEADER has wrong size.")});
    cases.push_back({"16 bits", Changed(rgb, [](auto& s) { s.bits = 16; }), DECERR_FORMAT,
                     Raised("Decoding bmp: Illegal bpp value.")});
    cases.push_back({"0 bits", Changed(rgb, [](auto& s) { s.bits = 0; }), DECERR_FORMAT,
                     Raised("Decoding bmp: Illegal bpp value.")});
    cases.push_back({"three bytes short of bfSize", Changed(rgb, [](auto& s) { s.bfSize = 14 + 40 + 24 + 3; }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"bfSize of several GiB", Changed(rgb, [](auto& s) { s.bfSize = 0xFFFFFF00u; }), DECERR_END_OF_DATA,
                     kEndOfDataText});
    cases.push_back(
        {"pixel rows cut short", Changed(rgb, [](auto& s) { s.bfSize = 0; }), DECERR_END_OF_DATA, kEndOfDataText, 1});
    cases.push_back({"header cut short", rgb, DECERR_END_OF_DATA, kEndOfDataText, 24 + 20});
    cases.push_back({"negative width", Changed(rgb, [](auto& s) { s.width = -3; }), DECERR_FORMAT, ""});
    cases.push_back({"most negative height", Changed(rgb, [](auto& s) { s.height = INT32_MIN; }), DECERR_FORMAT, ""});
    cases.push_back({"2^28 pixels and more",
                     Changed(rgb,
                             [](auto& s) {
                                 s.width = 20000;
                                 s.height = 20000;
                             }),
                     DECERR_FORMAT, ""});
    cases.push_back({"no width and 2^31 lines",
                     Changed(rgb,
                             [](auto& s) {
                                 s.width = 0;
                                 s.height = 0x7F000000;
                                 s.pixels = {};
                             }),
                     DECERR_FORMAT, ""});
    cases.push_back({"colour count beyond the file",
                     BmpLayout{.width = 1, .height = 1, .bits = 8, .clrUsed = 0x40000000u, .pixels = {0, 0, 0, 0}},
                     DECERR_END_OF_DATA, kEndOfDataText});
    BmpLayout rle{.width = 4, .height = 2, .bits = 8, .compression = 1, .palette = TestPalette(256)};
    cases.push_back({"RLE8 delta", Changed(rle, [](auto& s) { s.pixels = {0x02, 0x01, 0x00, 0x02, 0x01, 0x01}; }),
                     DECERR_UNSUPPORTED, Raised("Encountered delta escape.")});
    cases.push_back({"RLE4 delta",
                     Changed(rle,
                             [](auto& s) {
                                 s.bits = 4;
                                 s.compression = 2;
                                 s.palette = TestPalette(16);
                                 s.pixels = {0x00, 0x02, 0x01, 0x01};
                             }),
                     DECERR_UNSUPPORTED, Raised("Encountered delta escape.")});
    cases.push_back({"RLE8 ends before its lines",
                     Changed(rle,
                             [](auto& s) {
                                 s.pixels = {0x04, 0x01, 0x00, 0x00, 0x02};
                             }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"RLE8 absolute run past the data",
                     Changed(rle,
                             [](auto& s) {
                                 s.pixels = {0x00, 0x09, 1, 2, 3};
                             }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"RLE stored top-down",
                     Changed(rle,
                             [](auto& s) {
                                 s.height = -2;
                                 s.pixels = {0x00, 0x01};
                             }),
                     DECERR_FORMAT, ""});
    return cases;
}

class BmpFailTest : public testing::TestWithParam<FailCase> {};

TEST_P(BmpFailTest, FailsWithCodeAndText) {
    const FailCase& c = GetParam();
    Bytes file = MakeBmp(c.layout);
    file.resize(file.size() - static_cast<std::size_t>(c.truncateBy));
    CBmpDecoder decoder;
    ExpectFailure(decoder, file, c.wantCode, c.wantText);
}

INSTANTIATE_TEST_SUITE_P(Bmp, BmpFailTest, testing::ValuesIn(FailCases()), test_support::CaseName());

// bfSize may promise up to two bytes more than the file holds, and 0 means
// no promise at all.
TEST(BmpExtent, ForgivesTwoMissingBytesAndSizeZero) {
    BmpLayout s{.width = 3, .height = 2, .bits = 24, .pixels = Bytes(24, 0x40)};
    for (std::uint32_t bfSize : {0u, 14u + 40u + 24u + 1u, 14u + 40u + 24u + 2u}) {
        SCOPED_TRACE(bfSize);
        s.bfSize = bfSize;
        CBmpDecoder decoder;
        EXPECT_EQ(DecodeFailure(decoder, MakeBmp(s)).code, 0);
    }
}

}  // namespace

// A header that promises a huge picture without the rows for it fails
// before the bitmap is replaced, so no gigabyte is allocated for it.
TEST(BmpAllocation, ShortFileFailsBeforeCreate) {
    BmpLayout s{.width = 16000, .height = 16000, .bits = 24, .pixels = Bytes(64, 0)};
    s.bfSize = 0;
    CBmpDecoder decoder;
    CWinBmp bitmap;
    std::uint64_t creates = bitmap.GetCreateCount();
    Bytes file = MakeBmp(s);
    CDataSource source;
    source.OpenData("memory", file.data(), static_cast<std::int32_t>(file.size()));
    try {
        decoder.DecodeSource(&source, &bitmap, 32);
        FAIL() << "decoded";
    } catch (const CTextException& error) {
        EXPECT_EQ(error.GetCode(), DECERR_END_OF_DATA);
    }
    EXPECT_EQ(bitmap.GetCreateCount(), creates);
}

}  // namespace ovlet::picture
