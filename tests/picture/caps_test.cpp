// The limits that keep a hostile picture from taking the program's memory or
// time, each tried just below and just above: below, the picture decodes (or
// fails later for a reason of its own); above, it is refused with the limit's
// code before its pixels are made. Also the pictures small files used to
// blow up into.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <functional>

#include "picture/any_pic_decoder.h"
#include "tests/picture/picture_test_support.h"
#include "tests/support/byte_writer.h"

namespace ovlet::picture {
namespace {

void Append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

// JPEG ---------------------------------------------------------------------

Bytes JpegSegment(unsigned marker, const Bytes& body) {
    Bytes out = {0xFF, static_cast<std::uint8_t>(marker)};
    test_support::PutU16Be(out, static_cast<unsigned>(body.size() + 2));
    Append(out, body);
    return out;
}

// A grey picture's headers whose Huffman tables have one 1-bit code each, for
// symbol 0: a zero bit is a block with DC difference 0 and, in a sequential
// scan, its end of block, so zero bytes are valid data.
Bytes GreyJpegHead(unsigned width, unsigned height, bool progressive) {
    Bytes out = {0xFF, 0xD8};
    Bytes table = {0x00};
    table.insert(table.end(), 64, 1);
    Append(out, JpegSegment(0xDB, table));
    Bytes frame = {8};
    test_support::PutU16Be(frame, height);
    test_support::PutU16Be(frame, width);
    Append(frame, {1, 1, 0x11, 0});
    Append(out, JpegSegment(progressive ? 0xC2 : 0xC0, frame));
    Bytes oneCode = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Bytes dc = {0x00}, ac = {0x10};
    Append(dc, oneCode);
    Append(ac, oneCode);
    Append(out, JpegSegment(0xC4, dc));
    Append(out, JpegSegment(0xC4, ac));
    return out;
}

Bytes JpegScan(unsigned first, unsigned last) {
    return JpegSegment(0xDA, {1, 1, 0x00, static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(last), 0});
}

std::int64_t Blocks(unsigned width, unsigned height) {
    return std::int64_t{(width + 7) / 8} * ((height + 7) / 8);
}

// A progressive grey picture of `scans` scans: one that codes every block's
// DC value, then AC scans without data, each a pass over every block.
Bytes ProgressiveJpeg(unsigned width, unsigned height, int scans) {
    Bytes out = GreyJpegHead(width, height, true);
    Append(out, JpegScan(0, 0));
    out.insert(out.end(), static_cast<std::size_t>((Blocks(width, height) + 7) / 8), 0);
    for (int i = 1; i < scans; ++i) {
        Append(out, JpegScan(1, 63));
    }
    Append(out, {0xFF, 0xD9});
    return out;
}

// A sequential grey picture cut off after its data reaches `fileBytes`.
Bytes CutJpeg(unsigned width, unsigned height, std::size_t fileBytes) {
    Bytes out = GreyJpegHead(width, height, false);
    Append(out, JpegScan(0, 63));
    out.resize(std::max(fileBytes, out.size() + 1), 0);
    return out;
}

// PNG ----------------------------------------------------------------------

Bytes PngChunk(const char* type, const Bytes& data) {
    Bytes out;
    test_support::PutU32Be(out, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    Append(typed, data);
    Append(out, typed);
    test_support::PutU32Be(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    return out;
}

Bytes PngWithImageData(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType, const Bytes& idat,
                       const Bytes& before = {}) {
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    test_support::PutU32Be(header, width);
    test_support::PutU32Be(header, height);
    Append(header, {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colourType), 0, 0, 0});
    Append(out, PngChunk("IHDR", header));
    Append(out, before);
    Append(out, PngChunk("IDAT", idat));
    Append(out, PngChunk("IEND", {}));
    return out;
}

// A blank picture, every row stored as zeros.
Bytes BlankPng(int width, int height, int bitDepth, int colourType, bool interlaced) {
    int channels = colourType == 6 ? 4 : colourType == 2 ? 3 : colourType == 4 ? 2 : 1;
    test_support::PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bitDepth = bitDepth;
    picture.colourType = colourType;
    picture.interlaced = interlaced;
    picture.rows.assign(static_cast<std::size_t>(height),
                        Bytes(static_cast<std::size_t>((width * bitDepth * channels + 7) / 8), 0));
    return test_support::EncodePng(picture);
}

// BMP, TGA, PICT -----------------------------------------------------------

// An 8-bit run-length bitmap with a grey colour table; bfSize 0.
Bytes Rle8Bmp(std::int32_t width, std::int32_t height, const Bytes& data) {
    Bytes out = {'B', 'M'};
    test_support::PutU32Le(out, 0);
    test_support::PutU32Le(out, 0);
    test_support::PutU32Le(out, 14 + 40 + 1024);
    for (std::uint32_t v : {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
        test_support::PutU32Le(out, v);
    }
    test_support::PutU16Le(out, 1);
    test_support::PutU16Le(out, 8);
    for (std::uint32_t v : {1u, 0u, 0u, 0u, 0u, 0u}) {
        test_support::PutU32Le(out, v);
    }
    for (unsigned i = 0; i < 256; ++i) {
        Append(out, {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0});
    }
    Append(out, data);
    return out;
}

Bytes Bmp24(std::int32_t width, std::int32_t height, std::size_t pixelBytes) {
    Bytes out = {'B', 'M'};
    for (std::uint32_t v : {0u, 0u, 54u, 40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)}) {
        test_support::PutU32Le(out, v);
    }
    test_support::PutU16Le(out, 1);
    test_support::PutU16Le(out, 24);
    for (std::uint32_t v : {0u, 0u, 0u, 0u, 0u, 0u}) {
        test_support::PutU32Le(out, v);
    }
    out.resize(out.size() + pixelBytes, 0x80);
    return out;
}

// A grey 8-bit Targa, uncompressed (type 3) or run-length encoded (11).
Bytes GreyTga(unsigned width, unsigned height, bool runLength, const Bytes& data) {
    Bytes out = {0, 0, static_cast<std::uint8_t>(runLength ? 11 : 3), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    test_support::PutU16Le(out, width);
    test_support::PutU16Le(out, height);
    Append(out, {8, 0x20});
    Append(out, data);
    return out;
}

// A version 2 picture with one 8-bit pixel map (PackBitsRect) of two colours,
// its rows rowBytes long (0: the width); `rows` follows its header as it
// stands.
Bytes PixMapPict(unsigned width, unsigned height, const Bytes& rows, unsigned rowBytes = 0) {
    Bytes out(512, 0);
    Append(out, {0, 0, 0, 0, 0, 0});
    test_support::PutU16Be(out, height);
    test_support::PutU16Be(out, width);
    Append(out, {0x00, 0x11, 0x02, 0xFF, 0x0C, 0x00});
    out.insert(out.end(), 24, 0);
    test_support::PutU16Be(out, 0x0098);
    test_support::PutU16Be(out, 0x8000 | (rowBytes ? rowBytes : width));
    for (unsigned v : {0u, 0u, height, width}) test_support::PutU16Be(out, v);
    Append(out, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x48, 0, 0, 0, 0x48, 0, 0, 0, 0, 0, 8, 0, 1, 0, 8});
    out.insert(out.end(), 12, 0);
    // Colour table of two entries; rectangles; transfer mode.
    Append(out, {0, 0, 0, 0, 0x80, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    for (int i = 0; i < 2; ++i) {
        for (unsigned v : {0u, 0u, height, width}) test_support::PutU16Be(out, v);
    }
    test_support::PutU16Be(out, 0);
    Append(out, rows);
    return out;
}

// The bytes that follow a pixel map's record up to its rows: colour table,
// two rectangles and the transfer mode.
constexpr std::size_t kPixMapTail = 24 + 16 + 2;

// Cases --------------------------------------------------------------------

struct CapCase {
    std::string name;
    std::function<Bytes()> make;
    int code;                   // 0: decodes
    std::int64_t maxBytes = 0;  // a lower memory limit, or 0
    // A refusal comes before the bitmap is made; false for the cases below a
    // limit that fail later for a reason of their own.
    bool refusedAtOnce = true;
};

void PrintTo(const CapCase& c, std::ostream* out) {
    *out << c.name;
}

// Pictures over 2^22 pixels must come with data that could describe them:
// 2048 x 2049 is the first row over, 2048 x 2048 the last picture exempt.
constexpr unsigned kWide = 2048;
constexpr unsigned kOverSmall = 2049;
constexpr unsigned kSmall = 2048;

std::vector<CapCase> CapCases() {
    std::vector<CapCase> cases;
    // JPEG: at most 1000 scans, whatever the picture's size.
    cases.push_back({"jpeg 1000 scans", [] { return ProgressiveJpeg(8, 8, 1000); }, 0});
    cases.push_back({"jpeg 1001 scans", [] { return ProgressiveJpeg(8, 8, 1001); }, DECERR_FORMAT});
    // JPEG: at most 32 passes over the blocks of a picture of 16384 blocks.
    cases.push_back({"jpeg 32 passes", [] { return ProgressiveJpeg(1024, 1024, 32); }, 0});
    cases.push_back({"jpeg 33 passes", [] { return ProgressiveJpeg(1024, 1024, 33); }, DECERR_FORMAT});
    // JPEG: a bit of data for every block (2048 x 2049 has 65792 blocks).
    std::size_t jpegBytes = static_cast<std::size_t>(Blocks(kWide, kOverSmall) / 8);
    cases.push_back({"jpeg with a bit a block", [=] { return CutJpeg(kWide, kOverSmall, jpegBytes); }, 0});
    cases.push_back(
        {"jpeg a byte short", [=] { return CutJpeg(kWide, kOverSmall, jpegBytes - 1); }, DECERR_END_OF_DATA});
    cases.push_back({"jpeg of 2^22 pixels from a few bytes", [] { return CutJpeg(kWide, kSmall, 200); }, 0});
    cases.push_back({"jpeg of 2^22 + 2048 pixels from a few bytes", [] { return CutJpeg(kWide, kOverSmall, 200); },
                     DECERR_END_OF_DATA});
    // JPEG: a progressive picture's coefficients count with its bitmap. The
    // limit holds a 512 x 512 grey bitmap and libjpeg's rows, not the 512 KiB
    // of coefficients besides.
    cases.push_back({"jpeg sequential under a limit", [] { return CutJpeg(512, 512, 8192); }, 0, 600000});
    cases.push_back(
        {"jpeg progressive under the same limit", [] { return ProgressiveJpeg(512, 512, 2); }, DECERR_FORMAT, 600000});

    // PNG: image data that inflates at most 1032 times (2048 x 2049 grey
    // needs 4196352 bytes of samples, so 4067 bytes of data). Just enough
    // bytes that are no deflate stream pass the check and fail in zlib.
    std::size_t samples = std::size_t{kWide} * kOverSmall;
    std::size_t idatBytes = (samples + 1031) / 1032;
    cases.push_back({"png with data enough to inflate",
                     [=] { return PngWithImageData(kWide, kOverSmall, 8, 0, Bytes(idatBytes, 0xFF)); }, DECERR_FORMAT,
                     0, false});
    cases.push_back({"png with a byte of data too few",
                     [=] { return PngWithImageData(kWide, kOverSmall, 8, 0, Bytes(idatBytes - 1, 0xFF)); },
                     DECERR_END_OF_DATA});
    cases.push_back({"png of 2^22 pixels from a few bytes",
                     [] { return PngWithImageData(kWide, kSmall, 8, 0, Bytes(8, 0xFF)); }, DECERR_FORMAT, 0, false});
    cases.push_back({"png of 2^22 + 2048 pixels from a few bytes",
                     [] { return PngWithImageData(kWide, kOverSmall, 8, 0, Bytes(8, 0xFF)); }, DECERR_END_OF_DATA});
    // PNG: libpng's two row buffers count with the bitmap; 16-bit samples
    // double them. The limit holds a 65536 x 1 bitmap with 8-bit rows only.
    cases.push_back({"png 8-bit rows under a limit", [] { return BlankPng(65536, 1, 8, 6, false); }, 0, 1000000});
    cases.push_back({"png 16-bit rows under the same limit", [] { return BlankPng(65536, 1, 16, 6, false); },
                     DECERR_FORMAT, 1000000});
    // PNG: a large interlaced picture has at least 8 rows.
    cases.push_back({"png interlaced 8 rows", [] { return BlankPng(600000, 8, 1, 0, true); }, 0});
    cases.push_back({"png interlaced 7 rows", [] { return BlankPng(600000, 7, 1, 0, true); }, DECERR_FORMAT});
    // PNG: text chunks are never inflated, not even a broken one.
    cases.push_back({"png with a broken compressed text",
                     [] {
                         Bytes text = {'k', 0, 0, 0x78, 0xFF, 0xFF, 0xFF};
                         Bytes deflated(64);
                         uLongf size = 64;
                         Bytes row = {0, 0};
                         compress(deflated.data(), &size, row.data(), 2);
                         deflated.resize(size);
                         return PngWithImageData(1, 1, 8, 0, deflated, PngChunk("zTXt", text));
                     },
                     0});

    // BMP: run-length data puts at most 255 pixels into two bytes
    // (2048 x 2049 needs 32913 bytes); an end-of-bitmap code ends it early.
    std::size_t rleBytes = (std::size_t{kWide} * kOverSmall * 2 + 254) / 255;
    auto endedRle = [](std::size_t bytes) {
        Bytes data = {0, 1};
        data.resize(bytes, 0);
        return data;
    };
    cases.push_back({"bmp rle with data enough", [=] { return Rle8Bmp(kWide, kOverSmall, endedRle(rleBytes)); }, 0});
    cases.push_back({"bmp rle a byte short", [=] { return Rle8Bmp(kWide, kOverSmall, endedRle(rleBytes - 1)); },
                     DECERR_END_OF_DATA});
    cases.push_back({"bmp rle of 2^22 pixels from 2 bytes", [=] { return Rle8Bmp(kWide, kSmall, endedRle(2)); }, 0});
    cases.push_back({"bmp rle of 2^22 + 2048 pixels from 2 bytes",
                     [=] { return Rle8Bmp(kWide, kOverSmall, endedRle(2)); }, DECERR_END_OF_DATA});
    // BMP: uncompressed rows all there (5 x 3 at 24 bits: rows of 16 bytes).
    cases.push_back({"bmp rows all there", [] { return Bmp24(5, 3, 48); }, 0});
    cases.push_back({"bmp rows a byte short", [] { return Bmp24(5, 3, 47); }, DECERR_END_OF_DATA});

    // TGA: a run packet covers at most 128 pixels, so 129 x 128 pixels need
    // 129 packets of two bytes; or every uncompressed pixel.
    auto runPackets = [](std::size_t bytes) {
        Bytes data;
        for (std::size_t i = 0; i < bytes; ++i) data.push_back(i % 2 == 0 ? 0xFF : 9);
        return data;
    };
    cases.push_back({"tga rle packets enough", [=] { return GreyTga(129 * 128, 1, true, runPackets(258)); }, 0});
    cases.push_back(
        {"tga rle a byte short", [=] { return GreyTga(129 * 128, 1, true, runPackets(257)); }, DECERR_END_OF_DATA});
    cases.push_back({"tga pixels all there", [] { return GreyTga(4, 2, false, Bytes(8, 1)); }, 0});
    cases.push_back({"tga pixels a byte short", [] { return GreyTga(4, 2, false, Bytes(7, 1)); }, DECERR_END_OF_DATA});

    // PICT: PackBits makes at most 86 bytes of each byte, and every row has
    // its count (2048 x 2049 at 8 bits needs 48795 bytes after the record).
    std::size_t pictBytes = (std::size_t{kWide} * kOverSmall + 85) / 86;
    auto emptyRows = [](unsigned height, std::size_t bytesAfterRecord) {
        Bytes rows(2 * std::size_t{height}, 0);  // a count of 0 for each row
        rows.resize(bytesAfterRecord - kPixMapTail, 0);
        return rows;
    };
    cases.push_back({"pict rows with data enough",
                     [=] { return PixMapPict(kWide, kOverSmall, emptyRows(kOverSmall, pictBytes)); }, 0});
    cases.push_back({"pict rows a byte short",
                     [=] { return PixMapPict(kWide, kOverSmall, emptyRows(kOverSmall, pictBytes - 1)); },
                     DECERR_END_OF_DATA});
    // PICT: every packed row has its count, two bytes for rows of more than
    // 250 bytes; 80 x 65535 pixels in rows of 300 bytes need more bytes of
    // counts (131070) than PackBits needs. With bytes for the counts the
    // picture is made, and ends when the rows run out.
    auto bytesAfterRecord = [](std::size_t bytes) { return Bytes(bytes - kPixMapTail, 0); };
    cases.push_back({"pict rows with a count each",
                     [=] { return PixMapPict(80, 65535, bytesAfterRecord(131070), 300); }, DECERR_END_OF_DATA, 0,
                     false});
    cases.push_back({"pict rows a count short", [=] { return PixMapPict(80, 65535, bytesAfterRecord(131069), 300); },
                     DECERR_END_OF_DATA});
    cases.push_back({"pict of 2^22 pixels with empty rows",
                     [=] { return PixMapPict(kWide, kSmall, emptyRows(kSmall, kPixMapTail + 2 * kSmall)); }, 0});
    cases.push_back({"pict of 2^22 + 2048 pixels with empty rows",
                     [=] { return PixMapPict(kWide, kOverSmall, emptyRows(kOverSmall, kPixMapTail + 2 * kOverSmall)); },
                     DECERR_END_OF_DATA});
    return cases;
}

class Caps : public testing::TestWithParam<CapCase> {};

TEST_P(Caps, RefusedJustAboveDecodedJustBelow) {
    const CapCase& c = GetParam();
    CAnyPicDecoder decoder;
    if (c.maxBytes > 0) {
        decoder.SetPictureLimits(kMaxPixelCount, c.maxBytes);
    }
    Bytes bytes = c.make();
    CWinBmp bitmap;
    std::uint64_t creates = bitmap.GetCreateCount();
    Failure failure = CatchFailure([&] { DecodeBytes(decoder, bytes, bitmap, 0); });
    EXPECT_EQ(failure.code, c.code) << failure.text;
    if (failure.code != 0) {
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(16, 16)) << "the bitmap changed";
    }
    if (failure.code == c.code && failure.code != 0) {
        // Above a limit the picture is refused before it is made; below it,
        // a failure of its own comes after.
        EXPECT_EQ(bitmap.GetCreateCount() == creates, c.refusedAtOnce) << "made or refused at the wrong time";
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, Caps, testing::ValuesIn(CapCases()), [](const auto& testInfo) {
    std::string name = testInfo.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
});

}  // namespace
}  // namespace ovlet::picture
