// CPictDecoder on pictures built byte by byte: version 1 and 2 headers, the
// skipping of every opcode family before the image, bit maps, indexed and
// direct pixel maps, PackBits rows, embedded JPEG data and every refusal.
#include <gtest/gtest.h>

#include <functional>

#include "picture/jpeg_decoder.h"
#include "picture/pict_decoder.h"
#include "tests/picture/decoder_test_util.h"

namespace ovlet::picture {
namespace {

struct Rect {
    unsigned top, left, bottom, right;
};

// Writes a picture: the 512-byte application header, size, frame, version,
// then opcodes. Version 2 opcodes are aligned to even offsets.
class PictWriter {
public:
    explicit PictWriter(int pictVersion, Rect frame = {0, 0, 10, 10}) : version(pictVersion) {
        w.Zeros(512).U16Be(0);
        AddRect(frame);
        if (version == 2) {
            w.Raw({0x00, 0x11, 0x02, 0xFF});
            Op(0x0C00).Zeros(24);
        } else {
            w.Raw({0x11, 0x01});
        }
    }
    test_support::ByteWriter& Op(unsigned opcode) {
        if (version == 2) {
            if (w.Size() % 2 != 0) {
                w.U8(0);
            }
            return w.U16Be(opcode);
        }
        return w.U8(opcode);
    }
    test_support::ByteWriter& AddRect(Rect r) { return w.U16Be(r.top).U16Be(r.left).U16Be(r.bottom).U16Be(r.right); }
    Bytes End() {
        Op(0xFF);  // end of picture; Op writes it as 0x00FF in version 2
        return w.bytes;
    }
    test_support::ByteWriter w;
    int version;
};

// The pixel map record after rowBytes and bounds.
void AddPixMapRecord(test_support::ByteWriter& w, int pixelSize, int cmpCount, int packType = 0) {
    const auto size = static_cast<unsigned>(pixelSize);
    w.U16Be(0).U16Be(static_cast<unsigned>(packType)).U32Be(0).U32Be(0x00480000).U32Be(0x00480000);
    w.U16Be(size >= 16 ? 16 : 0).U16Be(size).U16Be(static_cast<unsigned>(cmpCount));
    w.U16Be(size >= 16 ? 8 : size).U32Be(0).U32Be(0).U32Be(0);
}

// The head of a packed 8-bit pixel map of one pixel: opcode, rowBytes,
// bounds and the pixel map record; its colour table comes next.
void StartOnePixelMap(PictWriter& p) {
    p.Op(0x98).U16Be(0x8002);
    p.AddRect({0, 0, 1, 1});
    AddPixMapRecord(p.w, 8, 1);
}

// A colour table of Rgba colours; without the device flag each entry's value
// word is its index, given here in reverse order to show it is honoured.
void AddColourTable(test_support::ByteWriter& w, const std::vector<std::uint32_t>& colours, bool device = false) {
    w.U32Be(0).U16Be(device ? 0x8000 : 0).U16Be(static_cast<unsigned>(colours.size() - 1));
    for (std::size_t k = 0; k < colours.size(); ++k) {
        std::size_t i = device ? k : colours.size() - 1 - k;
        std::uint32_t c = colours[i];
        w.U16Be(device ? 0x1234 : static_cast<unsigned>(i));
        w.U16Be(((c >> 16) & 0xFF) * 257).U16Be(((c >> 8) & 0xFF) * 257).U16Be((c & 0xFF) * 257);
    }
}

// PackBits rows with their byte counts, all as literal runs.
Bytes PackedRows(const std::vector<Bytes>& rows, bool longCounts) {
    test_support::ByteWriter w;
    for (const Bytes& row : rows) {
        test_support::ByteWriter packed;
        for (std::size_t i = 0; i < row.size(); i += 128) {
            std::size_t n = std::min<std::size_t>(128, row.size() - i);
            packed.U8(static_cast<unsigned>(n - 1));
            packed.Raw(
                Bytes(row.begin() + static_cast<std::ptrdiff_t>(i), row.begin() + static_cast<std::ptrdiff_t>(i + n)));
        }
        longCounts ? w.U16Be(static_cast<unsigned>(packed.Size())) : w.U8(static_cast<unsigned>(packed.Size()));
        w.Raw(packed.bytes);
    }
    return w.bytes;
}

Bytes Concat(const std::vector<Bytes>& rows) {
    Bytes out;
    for (const Bytes& r : rows) out.insert(out.end(), r.begin(), r.end());
    return out;
}

// What follows the record of every image opcode: source and destination
// rectangles, transfer mode, a region when the opcode has one, the rows.
void AddImageRows(PictWriter& p, Rect bounds, bool region, const Bytes& data) {
    p.AddRect(bounds);
    p.AddRect(bounds);
    p.w.U16Be(0);
    if (region) {
        p.w.U16Be(10).Zeros(8);
    }
    p.w.Raw(data);
}

// A 1-bit bit map opcode (0x90, 0x91, 0x98 or 0x99).
void AddBitMap(PictWriter& p, unsigned opcode, unsigned rowBytes, Rect bounds, const Bytes& data) {
    p.Op(opcode).U16Be(rowBytes);
    p.AddRect(bounds);
    AddImageRows(p, bounds, opcode == 0x91 || opcode == 0x99, data);
}

// An indexed pixel map opcode (0x90, 0x98, ...).
void AddPixMap(PictWriter& p, unsigned opcode, unsigned rowBytes, Rect bounds, int pixelSize,
               const std::vector<std::uint32_t>& colours, const Bytes& data, bool device = false) {
    p.Op(opcode).U16Be(rowBytes | 0x8000);
    p.AddRect(bounds);
    AddPixMapRecord(p.w, pixelSize, 1);
    AddColourTable(p.w, colours, device);
    AddImageRows(p, bounds, opcode == 0x91 || opcode == 0x99, data);
}

// A direct-bits opcode (0x9A, or 0x9B with a region).
void AddDirectBits(PictWriter& p, unsigned opcode, unsigned rowBytes, Rect bounds, int pixelSize, int cmpCount,
                   const Bytes& data) {
    p.Op(opcode).U32Be(0xFF).U16Be(rowBytes | 0x8000);
    p.AddRect(bounds);
    AddPixMapRecord(p.w, pixelSize, cmpCount, 4);
    AddImageRows(p, bounds, opcode == 0x9B, data);
}

// Pixels of a 1-bit row: set bits black, clear bits white.
std::vector<std::uint32_t> BitPixels(const Bytes& row, int width) {
    std::vector<std::uint32_t> out;
    for (int x = 0; x < width; ++x) {
        out.push_back((row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1 ? kBlack : kWhite);
    }
    return out;
}

// A picture of the given version holding what `add` writes, made when its
// case runs; without `withEnd` it stops right after that, with no end opcode.
std::function<Bytes()> Picture(int version, std::function<void(PictWriter&)> add, bool withEnd = true) {
    return [=] {
        PictWriter p(version);
        add(p);
        return withEnd ? p.End() : p.w.bytes;
    };
}
std::function<Bytes()> CutPicture(int version, std::function<void(PictWriter&)> add) {
    return Picture(version, std::move(add), false);
}

// Pictures of one bit map, pixel map or direct-bits opcode (the last two
// only exist in version 2).
std::function<Bytes()> BitMapPicture(int version, unsigned opcode, unsigned rowBytes, Rect bounds, const Bytes& data) {
    return Picture(version, [=](PictWriter& p) { AddBitMap(p, opcode, rowBytes, bounds, data); });
}
std::function<Bytes()> PixMapPicture(unsigned opcode, unsigned rowBytes, Rect bounds, int pixelSize,
                                     const std::vector<std::uint32_t>& colours, const Bytes& data,
                                     bool device = false) {
    return Picture(2, [=](PictWriter& p) { AddPixMap(p, opcode, rowBytes, bounds, pixelSize, colours, data, device); });
}
std::function<Bytes()> DirectBitsPicture(unsigned opcode, unsigned rowBytes, Rect bounds, int pixelSize, int cmpCount,
                                         const Bytes& data) {
    return Picture(2, [=](PictWriter& p) { AddDirectBits(p, opcode, rowBytes, bounds, pixelSize, cmpCount, data); });
}

std::vector<std::uint32_t> Join(const std::vector<std::vector<std::uint32_t>>& rows) {
    std::vector<std::uint32_t> out;
    for (const auto& r : rows) out.insert(out.end(), r.begin(), r.end());
    return out;
}

const std::vector<std::uint32_t> kFour = {Rgba(255, 0, 0), Rgba(0, 255, 0), Rgba(0, 0, 255), Rgba(10, 20, 30)};

struct DecodeCase {
    std::string name;
    std::function<Bytes()> make;
    int depth;
    int wantDepth;
    int wantWidth, wantHeight;
    bool wantAlpha;
    std::vector<std::uint32_t> want;  // top line first: pixels, or indices at 8 bits
};

std::vector<DecodeCase> DecodeCases() {
    std::vector<DecodeCase> cases;
    const Bytes row0 = {0x80, 0x01, 0xFF, 0x00, 0xAA, 0xEE};  // 40 pixels used of 48
    const Bytes row1 = {0x0F, 0xF0, 0x00, 0xFF, 0x55, 0x11};
    const auto want40 = Join({BitPixels(row0, 40), BitPixels(row1, 40)});
    for (unsigned opcode : {0x90u, 0x98u}) {
        for (int version : {1, 2}) {
            std::string name = std::string("v") + std::to_string(version) +
                               (opcode == 0x90 ? " BitsRect" : " PackBitsRect") + " rowBytes 6";
            cases.push_back({name, BitMapPicture(version, opcode, 6, {0, 0, 2, 40}, Concat({row0, row1})), 32, 32, 40,
                             2, false, want40});
        }
    }
    {
        // 70 pixels in rows of 10 bytes: BitsRect keeps them unpacked,
        // PackBitsRect packs them with byte counts.
        Bytes a(10), b(10);
        for (std::size_t i = 0; i < 10; ++i) {
            a[i] = static_cast<std::uint8_t>(i * 37 + 1);
            b[i] = static_cast<std::uint8_t>(0xF0 ^ (i * 11));
        }
        auto want = Join({BitPixels(a, 70), BitPixels(b, 70)});
        cases.push_back({"v2 BitsRect rowBytes 10 unpacked", BitMapPicture(2, 0x90, 10, {0, 0, 2, 70}, Concat({a, b})),
                         32, 32, 70, 2, false, want});
        cases.push_back({"v1 PackBitsRect rowBytes 10 packed",
                         BitMapPicture(1, 0x98, 10, {0, 0, 2, 70}, PackedRows({a, b}, false)), 32, 32, 70, 2, false,
                         want});
        cases.push_back({"v2 BitsRgn skips its region", BitMapPicture(2, 0x91, 10, {0, 0, 2, 70}, Concat({a, b})), 32,
                         32, 70, 2, false, want});
        cases.push_back(
            {"bit map at 8 bits", BitMapPicture(2, 0x90, 2, {0, 0, 1, 3}, {0xA0, 0x00}), 0, 8, 3, 1, false, {1, 0, 1}});
        cases.push_back({"bit map with bounds off the origin",
                         BitMapPicture(2, 0x90, 2, {100, 200, 101, 203}, {0x40, 0x00}),
                         32,
                         32,
                         3,
                         1,
                         false,
                         {kWhite, kBlack, kWhite}});
    }
    {
        // 8-bit pixel maps: 1-byte counts up to rowBytes 250, 2-byte above.
        for (int width : {100, 249, 250, 251, 300}) {
            std::vector<Bytes> rows(2, Bytes(static_cast<std::size_t>(width)));
            std::vector<std::uint32_t> want;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                for (std::size_t x = 0; x < rows[r].size(); ++x) {
                    rows[r][x] = static_cast<std::uint8_t>((x + r) % 4);
                    want.push_back(kFour[(x + r) % 4]);
                }
            }
            std::string name = "8 bit pixel map rowBytes " + std::to_string(width);
            cases.push_back({name,
                             PixMapPicture(0x98, static_cast<unsigned>(width), {0, 0, 2, static_cast<unsigned>(width)},
                                           8, kFour, PackedRows(rows, width > 250)),
                             32, 32, width, 2, false, want});
        }
    }
    cases.push_back({"8 bit pixel map indices and region",
                     PixMapPicture(0x99, 8, {0, 0, 1, 8}, 8, kFour, PackedRows({{0, 1, 2, 3, 3, 2, 1, 0}}, false)),
                     8,
                     8,
                     8,
                     1,
                     false,
                     {0, 1, 2, 3, 3, 2, 1, 0}});
    cases.push_back({"8 bit pixel map rowBytes 6 unpacked",
                     PixMapPicture(0x98, 6, {0, 0, 1, 6}, 8, kFour, {3, 2, 1, 0, 1, 2}),
                     32,
                     32,
                     6,
                     1,
                     false,
                     {kFour[3], kFour[2], kFour[1], kFour[0], kFour[1], kFour[2]}});
    cases.push_back({"4 bit pixel map",
                     PixMapPicture(0x98, 2, {0, 0, 1, 3}, 4, kFour, {0x32, 0x10}),
                     32,
                     32,
                     3,
                     1,
                     false,
                     {kFour[3], kFour[2], kFour[1]}});
    cases.push_back({"2 bit pixel map indices",
                     PixMapPicture(0x98, 2, {0, 0, 1, 5}, 2, kFour, {0x1B, 0xC0}),
                     0,
                     8,
                     5,
                     1,
                     false,
                     {0, 1, 2, 3, 3}});
    cases.push_back({"1 bit pixel map",
                     PixMapPicture(0x98, 2, {0, 0, 1, 3}, 1, {kFour[0], kFour[1]}, {0x40, 0x00}),
                     32,
                     32,
                     3,
                     1,
                     false,
                     {kFour[0], kFour[1], kFour[0]}});
    cases.push_back({"device colour table ignores value words",
                     PixMapPicture(0x98, 2, {0, 0, 1, 2}, 8, kFour, {0, 3}, true),
                     32,
                     32,
                     2,
                     1,
                     false,
                     {kFour[0], kFour[3]}});
    cases.push_back({"colour components keep their high bytes",
                     Picture(2,
                             [](PictWriter& p) {
                                 StartOnePixelMap(p);
                                 p.w.U32Be(0).U16Be(0).U16Be(0).U16Be(0).U16Be(0xFFFF).U16Be(0x8000).U16Be(0x00FF);
                                 p.AddRect({0, 0, 1, 1});
                                 p.AddRect({0, 0, 1, 1});
                                 p.w.U16Be(0).Raw({0, 0});
                             }),
                     32,
                     32,
                     1,
                     1,
                     false,
                     {Rgba(255, 128, 0)}});
    {
        // PackBits flags: 0xFE repeats one unit three times, 0x80 is a
        // no-op, 0x02 copies three; a run longer than the row is cut.
        cases.push_back(
            {"PackBits flags",
             PixMapPicture(0x98, 8, {0, 0, 2, 8}, 8, kFour, {7, 0xFE, 3, 0x80, 0x02, 1, 2, 1, 5, 0x01, 0, 1, 0xF0, 2}),
             8,
             8,
             8,
             2,
             false,
             {3, 3, 3, 1, 2, 1, 0, 0, 0, 1, 2, 2, 2, 2, 2, 2}});
    }
    // Direct pixel maps.
    cases.push_back(
        {"32 bit three planes",
         DirectBitsPicture(0x9A, 12, {0, 0, 1, 3}, 32, 3, PackedRows({{10, 20, 30, 40, 50, 60, 70, 80, 90}}, false)),
         32,
         32,
         3,
         1,
         false,
         {Rgba(10, 40, 70), Rgba(20, 50, 80), Rgba(30, 60, 90)}});
    cases.push_back(
        {"32 bit four planes have alpha",
         DirectBitsPicture(0x9A, 8, {0, 0, 1, 2}, 32, 4, PackedRows({{1, 2, 10, 20, 30, 40, 50, 60}}, false)),
         32,
         32,
         2,
         1,
         true,
         {Rgba(10, 30, 50, 1), Rgba(20, 40, 60, 2)}});
    cases.push_back({"32 bit asked for 8 bits",
                     DirectBitsPicture(0x9A, 4, {0, 0, 1, 1}, 32, 3, PackedRows({{1, 2, 3}}, false)),
                     8,
                     32,
                     1,
                     1,
                     false,
                     {Rgba(1, 2, 3)}});
    cases.push_back({"32 bit with a region (0x9B)",
                     DirectBitsPicture(0x9B, 4, {0, 0, 1, 1}, 32, 3, PackedRows({{1, 2, 3}}, false)),
                     32,
                     32,
                     1,
                     1,
                     false,
                     {Rgba(1, 2, 3)}});
    {
        // 80 pixels of three planes are 240 bytes, but the stored rowBytes
        // of 320 asks for 16-bit counts, as QuickDraw writes them.
        Bytes row(240);
        std::vector<std::uint32_t> want;
        for (unsigned x = 0; x < 80; ++x) {
            row[x] = static_cast<std::uint8_t>(x);
            row[80 + x] = static_cast<std::uint8_t>(2 * x);
            row[160 + x] = static_cast<std::uint8_t>(3 * x);
            want.push_back(Rgba(x, 2 * x, 3 * x));
        }
        cases.push_back({"32 bit counts follow the stored rowBytes",
                         DirectBitsPicture(0x9A, 320, {0, 0, 1, 80}, 32, 3, PackedRows({row}, true)), 32, 32, 80, 1,
                         false, want});
        cases.push_back({"32 bit short counts below 251",
                         DirectBitsPicture(0x9A, 240, {0, 0, 1, 80}, 32, 3, PackedRows({row}, false)), 32, 32, 80, 1,
                         false, want});
    }
    // 16-bit direct pixel maps: the stored rowBytes decides the count size,
    // one byte up to 250 and two bytes from 251 on.
    for (unsigned rowBytes : {249u, 250u, 251u}) {
        unsigned width = rowBytes / 2;
        Bytes row;
        std::vector<std::uint32_t> want;
        for (unsigned x = 0; x < width; ++x) {
            unsigned w = (x * 2654435761u >> 7) & 0x7FFF;
            row.push_back(static_cast<std::uint8_t>(w >> 8));
            row.push_back(static_cast<std::uint8_t>(w));
            want.push_back(Rgba(((w >> 10) & 0x1F) << 3, ((w >> 5) & 0x1F) << 3, (w & 0x1F) << 3));
        }
        // Literal runs of at most 128 two-byte units.
        test_support::ByteWriter packed;
        for (std::size_t i = 0; i < row.size(); i += 256) {
            std::size_t n = std::min<std::size_t>(256, row.size() - i);
            packed.U8(static_cast<unsigned>(n / 2 - 1));
            packed.Raw(
                Bytes(row.begin() + static_cast<std::ptrdiff_t>(i), row.begin() + static_cast<std::ptrdiff_t>(i + n)));
        }
        test_support::ByteWriter data;
        rowBytes > 250 ? data.U16Be(static_cast<unsigned>(packed.Size()))
                       : data.U8(static_cast<unsigned>(packed.Size()));
        data.Raw(packed.bytes);
        cases.push_back({"16 bit rowBytes " + std::to_string(rowBytes),
                         DirectBitsPicture(0x9A, rowBytes, {0, 0, 1, width}, 16, 3, data.bytes), 32, 32,
                         static_cast<int>(width), 1, false, want});
    }
    cases.push_back({"16 bit repeat of two-byte units",
                     DirectBitsPicture(0x9A, 8, {0, 0, 1, 4}, 16, 3, {0x06, 0xFE, 0x7C, 0x00, 0x00, 0x03, 0xE0}),
                     32,
                     32,
                     4,
                     1,
                     false,
                     {Rgba(248, 0, 0), Rgba(248, 0, 0), Rgba(248, 0, 0), Rgba(0, 248, 0)}});
    cases.push_back({"16 bit rows under 8 bytes are unpacked",
                     DirectBitsPicture(0x9A, 2, {0, 0, 1, 1}, 16, 3, {0x00, 0x1F}),
                     32,
                     32,
                     1,
                     1,
                     false,
                     {Rgba(0, 0, 248)}});
    return cases;
}

class PictDecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(PictDecodeTest, DecodesExpectedPixels) {
    const DecodeCase& c = GetParam();
    CPictDecoder decoder;
    CWinBmp bitmap;
    ExpectDecoded(decoder, c.make(), c.depth, {c.wantDepth, c.wantWidth, c.wantHeight, c.wantAlpha, c.want}, bitmap);
}

INSTANTIATE_TEST_SUITE_P(Pict, PictDecodeTest, testing::ValuesIn(DecodeCases()), test_support::CaseName());

// A version 1 bit map at 8 bits shows clear bits white and set bits black.
TEST(PictBitMap, EightBitTableIsWhiteThenBlack) {
    PictWriter p(1);
    AddBitMap(p, 0x90, 2, {0, 0, 1, 2}, {0x40, 0x00});
    CPictDecoder decoder;
    CWinBmp bitmap;
    DecodeBytes(decoder, p.End(), bitmap, 8);
    const RGBQuad* palette = bitmap.GetPalette();
    EXPECT_EQ(Rgba(palette[0].red, palette[0].green, palette[0].blue, palette[0].reserved), kWhite);
    EXPECT_EQ(Rgba(palette[1].red, palette[1].green, palette[1].blue, palette[1].reserved), kBlack);
}

// Every opcode family that may come before the image is skipped by its
// layout, so the image after it still decodes.
struct SkipCase {
    const char* name;
    int version;
    std::function<void(PictWriter&)> write;
};

std::vector<SkipCase> SkipCases() {
    return {
        {"TxFace leaves an odd offset", 2, [](PictWriter& p) { p.Op(0x04).U8(1); }},
        {"v1 TxFace", 1, [](PictWriter& p) { p.Op(0x04).U8(1); }},
        {"NOP and fixed lengths", 2,
         [](PictWriter& p) {
             p.Op(0x00);
             p.Op(0x02).Zeros(8);
             p.Op(0x03).Zeros(2);
             p.Op(0x1A).Zeros(6);
             p.Op(0x20).Zeros(8);
             p.Op(0x30).Zeros(8);
             p.Op(0x38);
             p.Op(0x60).Zeros(12);
             p.Op(0x68).Zeros(4);
             p.Op(0x88);
             p.Op(0xA0).Zeros(2);
         }},
        {"clip region", 2, [](PictWriter& p) { p.Op(0x01).U16Be(10).Zeros(8); }},
        {"v1 clip region", 1, [](PictWriter& p) { p.Op(0x01).U16Be(12).Zeros(10); }},
        {"LongText", 2,
         [](PictWriter& p) {
             p.Op(0x28).Zeros(4).U8(3).Raw({'a', 'b', 'c'});
         }},
        {"DHText", 2,
         [](PictWriter& p) {
             p.Op(0x29).U8(5).U8(2).Raw({'a', 'b'});
         }},
        {"DVText", 1, [](PictWriter& p) { p.Op(0x2A).U8(5).U8(1).Raw({'a'}); }},
        {"DHDVText", 2,
         [](PictWriter& p) {
             p.Op(0x2B).U8(5).U8(6).U8(4).Raw({'a', 'b', 'c', 'd'});
         }},
        {"polygon", 2, [](PictWriter& p) { p.Op(0x71).U16Be(14).Zeros(12); }},
        {"region opcodes", 2,
         [](PictWriter& p) {
             for (unsigned op = 0x80; op <= 0x84; ++op) {
                 p.Op(op).U16Be(12).Zeros(10);
             }
         }},
        {"dithered pattern", 2, [](PictWriter& p) { p.Op(0x12).U16Be(2).Zeros(13); }},
        {"full colour pattern", 2,
         [](PictWriter& p) {
             p.Op(0x13).U16Be(1).Zeros(8).U16Be(0x8002);
             p.AddRect({0, 0, 8, 2});
             AddPixMapRecord(p.w, 8, 1);
             AddColourTable(p.w, kFour);
             p.w.Zeros(16);  // 8 rows of 2 unpacked bytes
         }},
        {"long comment", 2, [](PictWriter& p) { p.Op(0xA1).U16Be(100).U16Be(5).Zeros(5); }},
        {"reserved with a length word", 2,
         [](PictWriter& p) {
             p.Op(0x24).U16Be(3).Zeros(3);
             p.Op(0x92).U16Be(0);
             p.Op(0x9C).U16Be(1).Zeros(1);
             p.Op(0xA5).U16Be(4).Zeros(4);
         }},
        {"reserved without data", 2,
         [](PictWriter& p) {
             p.Op(0x17);
             p.Op(0xB0);
             p.Op(0xCF);
             p.Op(0x8000);
             p.Op(0x80FF);
         }},
        {"reserved with a 32-bit length", 2,
         [](PictWriter& p) {
             p.Op(0xD0).U32Be(5).Zeros(5);
             p.Op(0x8100).U32Be(2).Zeros(2);
             p.Op(0xFFFE).U32Be(0);
         }},
        {"reserved sized by the opcode", 2,
         [](PictWriter& p) {
             p.Op(0x0100).Zeros(2);
             p.Op(0x0180).Zeros(3);
             p.Op(0x7F00).Zeros(254);
             p.Op(0x7FFF).Zeros(255);
         }},
        {"zero bytes before the version", 0, {}},
    };
}

class PictSkipTest : public testing::TestWithParam<SkipCase> {};

TEST_P(PictSkipTest, ImageAfterTheOpcodesDecodes) {
    const SkipCase& c = GetParam();
    Bytes file;
    if (c.version == 0) {
        // Zero bytes between the frame and the version opcode.
        PictWriter p(2);
        AddBitMap(p, 0x90, 2, {0, 0, 1, 3}, {0xA0, 0x00});
        file = p.End();
        file.insert(file.begin() + 522, {0, 0});
    } else {
        PictWriter p(c.version);
        c.write(p);
        AddBitMap(p, 0x90, 2, {0, 0, 1, 3}, {0xA0, 0x00});
        file = p.End();
    }
    CPictDecoder decoder;
    CWinBmp bitmap;
    ASSERT_NO_THROW(DecodeBytes(decoder, file, bitmap, 32));
    EXPECT_EQ(Pixels32(bitmap), (std::vector<std::uint32_t>{kBlack, kWhite, kBlack}));
}

INSTANTIATE_TEST_SUITE_P(Pict, PictSkipTest, testing::ValuesIn(SkipCases()), test_support::CaseName());

struct FailCase {
    const char* name;
    std::function<Bytes()> make;
    int wantCode;
    std::string wantText;
    int depth = 32;
};

std::vector<FailCase> FailCases() {
    auto withImage = [](int version, std::function<void(PictWriter&)> before) {
        return Picture(version, [=](PictWriter& p) {
            before(p);
            AddBitMap(p, 0x90, 2, {0, 0, 1, 3}, {0xA0, 0x00});
        });
    };
    std::vector<FailCase> cases;
    cases.push_back({"only vector data", Picture(2, [](PictWriter& p) { p.Op(0x30).Zeros(8); }), DECERR_UNSUPPORTED,
                     Raised("PICT contained only vector data!\n")});
    cases.push_back({"v1 only vector data", [] { return PictWriter(1).End(); }, DECERR_UNSUPPORTED,
                     Raised("PICT contained only vector data!\n")});
    cases.push_back({"version missing",
                     [] {
                         Bytes b = PictWriter(1).End();
                         b[522] = 0x12;
                         return b;
                     },
                     DECERR_SIGNATURE, Raised("Error decoding pict: Version number missing.")});
    cases.push_back({"version 3",
                     [] {
                         Bytes b = PictWriter(1).End();
                         b[523] = 0x03;
                         return b;
                     },
                     DECERR_SIGNATURE, Raised("Illegal version number.")});
    cases.push_back({"version 2 without 0xFF",
                     [] {
                         Bytes b = PictWriter(2).End();
                         b[525] = 0xFE;
                         return b;
                     },
                     DECERR_SIGNATURE, Raised("Illegal version number.")});
    cases.push_back({"under 512 bytes", [] { return Bytes(300, 0); }, DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"opcode data past the end",
                     CutPicture(2, [](PictWriter& p) { p.Op(0xA1).U16Be(0).U16Be(200).Zeros(10); }), DECERR_END_OF_DATA,
                     kEndOfDataText});
    cases.push_back({"32-bit length past the end", withImage(2, [](PictWriter& p) { p.Op(0xD0).U32Be(0xFFFFFFF0u); }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"pattern type 3", withImage(2, [](PictWriter& p) { p.Op(0x12).U16Be(3); }), DECERR_FORMAT,
                     Raised("Unknown pattern type in pixPat.")});
    cases.push_back({"region size 1", withImage(2, [](PictWriter& p) { p.Op(0x81).U16Be(1); }), DECERR_FORMAT, ""});
    cases.push_back({"clip size 0", withImage(2, [](PictWriter& p) { p.Op(0x01).U16Be(0); }), DECERR_FORMAT, ""});
    cases.push_back({"colour table value equal to its size",
                     Picture(2,
                             [](PictWriter& p) {
                                 StartOnePixelMap(p);
                                 p.w.U32Be(0).U16Be(0).U16Be(1).U16Be(0).Zeros(6).U16Be(2).Zeros(6);
                             }),
                     DECERR_FORMAT, Raised("pixel value greater than colour table size.")});
    cases.push_back({"pixel size 3", PixMapPicture(0x98, 2, {0, 0, 1, 1}, 3, kFour, {0, 0}), DECERR_FORMAT,
                     Raised("Illegal bpp value in unpackbits: 3\n")});
    cases.push_back({"16 bit at 8 bits", DirectBitsPicture(0x9A, 2, {0, 0, 1, 1}, 16, 3, {0, 0}), DECERR_FORMAT,
                     Raised("Bad bits per pixel in expandBuf8."), 8});
    cases.push_back({"rows past the end",
                     CutPicture(2,
                                [](PictWriter& p) {
                                    AddBitMap(p, 0x90, 10, {0, 0, 4, 70}, Bytes(25, 0));
                                }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"packed row count past the end",
                     CutPicture(2,
                                [](PictWriter& p) {
                                    AddPixMap(p, 0x98, 100, {0, 0, 2, 100}, 8, kFour, {50, 0, 1});
                                }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"bounds of 2^32 pixels", BitMapPicture(2, 0x90, 2, {1, 1, 0, 0}, {0, 0}), DECERR_FORMAT, ""});
    cases.push_back({"QuickTime data without a JPEG start",
                     Picture(2,
                             [](PictWriter& p) {
                                 p.Op(0x8200).U32Be(10).Raw({0xFF, 0xD8, 0xFE, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xD8, 0xFF});
                             }),
                     DECERR_UNSUPPORTED, Raised("PICT file contains unrecognized quicktime data.\n")});
    cases.push_back({"QuickTime data at the very end",
                     CutPicture(2,
                                [](PictWriter& p) {
                                    p.Op(0x8200).U32Be(100).Raw({0, 0xFF, 0xD8});
                                }),
                     DECERR_END_OF_DATA, kEndOfDataText});
    cases.push_back({"JPEG data without a JPEG decoder",
                     Picture(2,
                             [](PictWriter& p) {
                                 p.Op(0x8200).U32Be(10).Raw({0xFF, 0xD8, 0xFF, 0xE0});
                             }),
                     DECERR_UNSUPPORTED, Raised("Library not compiled for PICT/JPEG.")});
    return cases;
}

class PictFailTest : public testing::TestWithParam<FailCase> {};

TEST_P(PictFailTest, FailsWithCodeAndText) {
    const FailCase& c = GetParam();
    CPictDecoder decoder;
    ExpectFailure(decoder, c.make(), c.wantCode, c.wantText, c.depth);
}

INSTANTIATE_TEST_SUITE_P(Pict, PictFailTest, testing::ValuesIn(FailCases()), test_support::CaseName());

// JPEG data 30 bytes into a QuickTime block decodes through the JPEG decoder
// to the same pixels as the JPEG file on its own.
TEST(PictJpeg, EmbeddedJpegDecodesLikeTheFile) {
    Bytes jpeg = test_support::ReadFileBytes(CorpusPath("jpeg/libjpeg-turbo/testorig.jpg"));
    ASSERT_FALSE(jpeg.empty());
    PictWriter p(2);
    p.Op(0x8200).U32Be(static_cast<std::uint32_t>(30 + jpeg.size())).Zeros(30).Raw(jpeg);
    Bytes pict = p.End();

    CJPEGDecoder jpegDecoder;
    CWinBmp direct;
    DecodeBytes(jpegDecoder, jpeg, direct, 32);
    for (int depth : {0, 32}) {
        SCOPED_TRACE(depth);
        CPictDecoder decoder(&jpegDecoder);
        CWinBmp embedded;
        DecodeBytes(decoder, pict, embedded, depth);
        ASSERT_EQ(embedded.GetBitsPerPixel(), 32);
        EXPECT_EQ(embedded.GetSize(), direct.GetSize());
        EXPECT_EQ(Pixels32(embedded), Pixels32(direct));
    }
}

}  // namespace
}  // namespace ovlet::picture
