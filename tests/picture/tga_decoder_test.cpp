// CTGADecoder on Targa files built byte by byte: pixel depths, colour maps,
// grey images, both origins, run-length packets (also across row ends) and
// every refusal.
#include <gtest/gtest.h>

#include <initializer_list>

#include "picture/tga_decoder.h"
#include "tests/picture/decoder_test_util.h"

namespace ovlet::picture {
namespace {

struct TgaLayout {
    std::uint8_t idLength = 0;
    std::uint8_t mapType = 0;
    std::uint8_t imageType = 2;
    std::uint16_t cmapStart = 0;
    std::uint16_t cmapLength = 0;
    std::uint8_t cmapEntrySize = 0;
    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::uint8_t depth = 24;
    std::uint8_t descriptor = 0;
    Bytes colourMap;
    Bytes pixels;
};

Bytes MakeTga(const TgaLayout& s) {
    test_support::ByteWriter w;
    w.U8(s.idLength).U8(s.mapType).U8(s.imageType).U16Le(s.cmapStart).U16Le(s.cmapLength);
    w.U8(s.cmapEntrySize).U16Le(0).U16Le(0).U16Le(s.width).U16Le(s.height).U8(s.depth);
    w.U8(s.descriptor);
    for (unsigned i = 0; i < s.idLength; ++i) {
        w.U8(0xA0 + i);
    }
    w.Raw(s.colourMap).Raw(s.pixels);
    return w.bytes;
}

constexpr std::uint8_t kTop = 0x20;

struct DecodeCase {
    const char* name;
    TgaLayout layout;
    int depth;
    int wantDepth;
    bool wantAlpha;
    std::vector<std::uint32_t> want;  // top line first: pixels, or indices at 8 bits
};

std::vector<DecodeCase> DecodeCases() {
    std::vector<DecodeCase> cases;
    // 2 x 2 true colour; stored bottom row first unless the top bit is set.
    const Bytes bottomRow = {1, 2, 3, 4, 5, 6};
    const Bytes topRow = {7, 8, 9, 10, 11, 12};
    const std::vector<std::uint32_t> want24 = {Rgba(9, 8, 7), Rgba(12, 11, 10), Rgba(3, 2, 1), Rgba(6, 5, 4)};
    {
        TgaLayout s{.width = 2, .height = 2, .depth = 24};
        s.pixels = bottomRow;
        s.pixels.insert(s.pixels.end(), topRow.begin(), topRow.end());
        cases.push_back({"24 bit bottom origin", s, 32, 32, false, want24});
        cases.push_back({"24 bit asked for 8 bits", s, 8, 32, false, want24});
        TgaLayout t = s;
        t.descriptor = kTop;
        t.pixels = topRow;
        t.pixels.insert(t.pixels.end(), bottomRow.begin(), bottomRow.end());
        cases.push_back({"24 bit top origin", t, 32, 32, false, want24});
        TgaLayout id = s;
        id.idLength = 5;
        cases.push_back({"identification bytes skipped", id, 32, 32, false, want24});
        TgaLayout rightToLeft = s;
        rightToLeft.descriptor = 0x10;  // ignored
        cases.push_back({"right-to-left bit ignored", rightToLeft, 32, 32, false, want24});
    }
    cases.push_back({"15 bit",
                     TgaLayout{.width = 2, .depth = 15, .pixels = {0xFF, 0x7F, 0x1F, 0x80}},
                     32,
                     32,
                     false,
                     {Rgba(248, 248, 248), Rgba(0, 0, 248)}});
    cases.push_back({"16 bit attribute bit is alpha 0x80",
                     TgaLayout{.width = 2, .depth = 16, .pixels = {0xFF, 0xFF, 0xFF, 0x7F}},
                     32,
                     32,
                     true,
                     {Rgba(248, 248, 248, 0x80), Rgba(248, 248, 248, 0)}});
    cases.push_back({"32 bit as stored",
                     TgaLayout{.width = 1, .depth = 32, .pixels = {1, 2, 3, 4}},
                     32,
                     32,
                     true,
                     {Rgba(3, 2, 1, 4)}});
    {
        // A grey image uses the grey ramp, colour map or not.
        TgaLayout s{.mapType = 1,
                    .imageType = 3,
                    .cmapLength = 2,
                    .cmapEntrySize = 24,
                    .width = 3,
                    .depth = 8,
                    .colourMap = {9, 9, 9, 9, 9, 9},
                    .pixels = {0, 128, 255}};
        cases.push_back(
            {"grey through the ramp", s, 32, 32, false, {Rgba(0, 0, 0), Rgba(128, 128, 128), Rgba(255, 255, 255)}});
        cases.push_back({"grey indices", s, 0, 8, false, {0, 128, 255}});
    }
    {
        // Entries 2 and 3 of the map; index 0 was never filled and is black.
        TgaLayout s{.mapType = 1,
                    .imageType = 1,
                    .cmapStart = 2,
                    .cmapLength = 2,
                    .cmapEntrySize = 24,
                    .width = 3,
                    .depth = 8,
                    .colourMap = {10, 20, 30, 40, 50, 60},
                    .pixels = {3, 2, 0}};
        cases.push_back({"colour map with a first entry",
                         s,
                         32,
                         32,
                         false,
                         {Rgba(60, 50, 40), Rgba(30, 20, 10), Rgba(0, 0, 0, 0)}});
        cases.push_back({"colour map indices", s, 0, 8, false, {3, 2, 0}});
    }
    cases.push_back({"colour map of 16-bit entries",
                     TgaLayout{.mapType = 1,
                               .imageType = 1,
                               .cmapLength = 1,
                               .cmapEntrySize = 16,
                               .width = 1,
                               .depth = 8,
                               .colourMap = {0x00, 0x7C},
                               .pixels = {0}},
                     32,
                     32,
                     false,
                     {Rgba(248, 0, 0, 0)}});
    {
        // The map runs past entry 255: what an index cannot reach is dropped.
        TgaLayout s{.mapType = 1,
                    .imageType = 1,
                    .cmapStart = 250,
                    .cmapLength = 10,
                    .cmapEntrySize = 24,
                    .width = 1,
                    .depth = 8,
                    .pixels = {255}};
        for (int i = 0; i < 10; ++i) {
            s.colourMap.insert(s.colourMap.end(), {static_cast<std::uint8_t>(i), 0, 0});
        }
        cases.push_back({"colour map past 256 entries", s, 32, 32, false, {Rgba(0, 0, 5)}});
    }
    cases.push_back({"8 bit true colour without a map is grey",
                     TgaLayout{.imageType = 2, .width = 2, .depth = 8, .pixels = {7, 200}},
                     32,
                     32,
                     false,
                     {Rgba(7, 7, 7), Rgba(200, 200, 200)}});
    // Run-length packets.
    cases.push_back({"run packet",
                     TgaLayout{.imageType = 10, .width = 3, .depth = 24, .pixels = {0x82, 1, 2, 3}},
                     32,
                     32,
                     false,
                     {Rgba(3, 2, 1), Rgba(3, 2, 1), Rgba(3, 2, 1)}});
    cases.push_back({"raw packet",
                     TgaLayout{.imageType = 10, .width = 3, .depth = 24, .pixels = {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                     32,
                     32,
                     false,
                     {Rgba(3, 2, 1), Rgba(6, 5, 4), Rgba(9, 8, 7)}});
    cases.push_back(
        {"run packet across rows",
         TgaLayout{.imageType = 10, .width = 2, .height = 2, .depth = 24, .pixels = {0x82, 1, 2, 3, 0x00, 4, 5, 6}},
         32,
         32,
         false,
         {Rgba(3, 2, 1), Rgba(6, 5, 4), Rgba(3, 2, 1), Rgba(3, 2, 1)}});
    cases.push_back({"raw packet across rows, top origin",
                     TgaLayout{.imageType = 10,
                               .width = 2,
                               .height = 2,
                               .depth = 24,
                               .descriptor = kTop,
                               .pixels = {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x80, 10, 11, 12}},
                     32,
                     32,
                     false,
                     {Rgba(3, 2, 1), Rgba(6, 5, 4), Rgba(9, 8, 7), Rgba(12, 11, 10)}});
    cases.push_back({"16 bit run packet",
                     TgaLayout{.imageType = 10, .width = 2, .depth = 16, .pixels = {0x81, 0x00, 0xFC}},
                     32,
                     32,
                     true,
                     {Rgba(248, 0, 0, 0x80), Rgba(248, 0, 0, 0x80)}});
    {
        TgaLayout s{.mapType = 1,
                    .imageType = 9,
                    .cmapLength = 2,
                    .cmapEntrySize = 24,
                    .width = 3,
                    .height = 2,
                    .depth = 8,
                    .colourMap = {0, 0, 255, 255, 0, 0},
                    .pixels = {0x84, 1, 0x00, 0}};
        cases.push_back({"colour-mapped run-length indices", s, 0, 8, false, {1, 1, 0, 1, 1, 1}});
        cases.push_back(
            {"colour-mapped run-length colours",
             s,
             32,
             32,
             false,
             {Rgba(0, 0, 255), Rgba(0, 0, 255), Rgba(255, 0, 0), Rgba(0, 0, 255), Rgba(0, 0, 255), Rgba(0, 0, 255)}});
    }
    cases.push_back({"grey run-length",
                     TgaLayout{.imageType = 11, .width = 3, .depth = 8, .pixels = {0x01, 5, 6, 0x80, 7}},
                     32,
                     32,
                     false,
                     {Rgba(5, 5, 5), Rgba(6, 6, 6), Rgba(7, 7, 7)}});
    return cases;
}

class TgaDecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(TgaDecodeTest, DecodesExpectedPixels) {
    const DecodeCase& c = GetParam();
    CTGADecoder decoder;
    CWinBmp bitmap;
    ExpectDecoded(decoder, MakeTga(c.layout), c.depth,
                  {c.wantDepth, c.layout.width, c.layout.height, c.wantAlpha, c.want}, bitmap);
}

INSTANTIATE_TEST_SUITE_P(Tga, TgaDecodeTest, testing::ValuesIn(DecodeCases()), test_support::CaseName());

// At 8 bits a colour-mapped image hands its map to the bitmap and a grey one
// keeps the grey ramp.
TEST(TgaPalette, MapOrGreyRampAtEightBits) {
    TgaLayout mapped{.mapType = 1,
                     .imageType = 1,
                     .cmapLength = 1,
                     .cmapEntrySize = 24,
                     .depth = 8,
                     .colourMap = {10, 20, 30},
                     .pixels = {0}};
    TgaLayout grey = mapped;
    grey.imageType = 3;
    for (const auto& [layout, want] : {std::pair{mapped, Rgba(30, 20, 10)}, std::pair{grey, Rgba(0, 0, 0)}}) {
        SCOPED_TRACE(static_cast<int>(layout.imageType));
        CTGADecoder decoder;
        CWinBmp bitmap;
        DecodeBytes(decoder, MakeTga(layout), bitmap, 0);
        RGBQuad q = bitmap.GetPalette()[0];
        EXPECT_EQ(Rgba(q.red, q.green, q.blue, q.reserved), want);
        q = bitmap.GetPalette()[200];
        // Entries the map did not fill are black, as they are at 32 bits.
        EXPECT_EQ(q.red, layout.imageType == 3 ? 200 : 0);
    }
}

struct FailCase {
    const char* name;
    TgaLayout layout;
    int wantCode;
    std::string wantText;
    int truncateBy = 0;
};

std::vector<FailCase> FailCases() {
    TgaLayout raw{.width = 2, .height = 2, .depth = 24, .pixels = Bytes(12, 9)};
    TgaLayout rle{.imageType = 10, .width = 2, .height = 2, .depth = 24, .pixels = {0x83, 1, 2, 3}};
    std::vector<FailCase> cases;
    cases.push_back({"image type 0", Changed(raw, [](auto& s) { s.imageType = 0; }), DECERR_FORMAT,
                     Raised("Unknown TGA image type.")});
    cases.push_back({"image type 99", Changed(raw, [](auto& s) { s.imageType = 99; }), DECERR_FORMAT,
                     Raised("Unknown TGA image type.")});
    cases.push_back({"header cut short", raw, DECERR_END_OF_DATA, kEndOfDataText, 12 + 6});
    cases.push_back({"pixels cut short", raw, DECERR_END_OF_DATA, kEndOfDataText, 1});
    cases.push_back({"run-length value cut short", rle, DECERR_END_OF_DATA, kEndOfDataText, 1});
    cases.push_back({"run-length packets end before the rows",
                     Changed(rle,
                             [](auto& s) {
                                 s.pixels = {0x81, 1, 2, 3};
                             }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"colour map cut short",
                     TgaLayout{.mapType = 1,
                               .imageType = 1,
                               .cmapLength = 200,
                               .cmapEntrySize = 24,
                               .depth = 8,
                               .colourMap = Bytes(30, 0)},
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"identification bytes past the end", Changed(raw, [](auto& s) { s.idLength = 40; }),
                     DECERR_END_OF_DATA, kEndOfDataText, 12 + 40});
    cases.push_back({"colour map of 8-bit entries",
                     TgaLayout{.mapType = 1,
                               .imageType = 1,
                               .cmapLength = 1,
                               .cmapEntrySize = 8,
                               .depth = 8,
                               .colourMap = {0},
                               .pixels = {0}},
                     DECERR_FORMAT, ""});
    cases.push_back({"pixel depth 12", Changed(raw, [](auto& s) { s.depth = 12; }), DECERR_FORMAT, ""});
    cases.push_back({"65535 x 65535", Changed(raw, [](auto& s) { s.width = s.height = 65535; }), DECERR_FORMAT, ""});
    return cases;
}

class TgaFailTest : public testing::TestWithParam<FailCase> {};

TEST_P(TgaFailTest, FailsWithCodeAndText) {
    const FailCase& c = GetParam();
    Bytes file = MakeTga(c.layout);
    file.resize(file.size() - static_cast<std::size_t>(c.truncateBy));
    CTGADecoder decoder;
    ExpectFailure(decoder, file, c.wantCode, c.wantText);
}

INSTANTIATE_TEST_SUITE_P(Tga, TgaFailTest, testing::ValuesIn(FailCases()), test_support::CaseName());

}  // namespace

namespace {

// Uncompressed pixels that cannot all be there fail before the bitmap is
// replaced.
// Run-length data needs at least a header and a value per 128 pixels.
TEST(TgaAllocation, ShortFileFailsBeforeCreate) {
    for (std::uint8_t type : std::initializer_list<std::uint8_t>{2, 10}) {
        SCOPED_TRACE(static_cast<int>(type));
        TgaLayout s{.imageType = type, .width = 16000, .height = 16000, .depth = 32, .pixels = Bytes(64, 0xFF)};
        CTGADecoder decoder;
        CWinBmp bitmap;
        std::uint64_t creates = bitmap.GetCreateCount();
        Bytes file = MakeTga(s);
        CDataSource source;
        source.OpenData("memory", file.data(), static_cast<std::int32_t>(file.size()));
        EXPECT_THROW(decoder.DecodeSource(&source, &bitmap, 32), CTextException);
        EXPECT_EQ(bitmap.GetCreateCount(), creates);
    }
}

}  // namespace
}  // namespace ovlet::picture
