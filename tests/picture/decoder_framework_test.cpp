// The decoder framework: format detection, depth choice, index expansion,
// opening files, and what a failed decode leaves behind.
#include <gtest/gtest.h>

#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

Bytes WithBytesAt(std::size_t size, std::size_t offset, Bytes bytes) {
    Bytes data(size, 0);
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(offset));
    return data;
}

Bytes TargaHeader(std::uint8_t mapType, std::uint8_t imageType, std::uint8_t entrySize, std::uint8_t depth) {
    Bytes header(18, 0);
    header[1] = mapType;
    header[2] = imageType;
    header[7] = entrySize;
    header[16] = depth;
    return header;
}

struct DetectCase {
    const char* name;
    Bytes data;
    PictureFormat want;
};

std::vector<DetectCase> DetectCases() {
    return {
        {"BM", {'B', 'M'}, PictureFormat::WindowsBitmap},
        {"BM then garbage", {'B', 'M', 0xFF, 0xD8, 0xFF}, PictureFormat::WindowsBitmap},
        {"B alone", {'B'}, PictureFormat::Unknown},
        {"empty", {}, PictureFormat::Unknown},
        {"targa 24-bit true colour", TargaHeader(0, 2, 0, 24), PictureFormat::Targa},
        {"targa RLE colour-mapped", TargaHeader(1, 9, 24, 8), PictureFormat::Targa},
        {"targa type 0", TargaHeader(0, 0, 0, 32), PictureFormat::Targa},
        {"targa map type 2", TargaHeader(2, 2, 0, 24), PictureFormat::Unknown},
        {"targa type 4", TargaHeader(0, 4, 0, 24), PictureFormat::Unknown},
        {"targa entry size 12", TargaHeader(1, 1, 12, 8), PictureFormat::Unknown},
        {"targa depth 0", TargaHeader(0, 2, 0, 0), PictureFormat::Unknown},
        {"tiff little-endian", {0x49, 0x49, 0x2A, 0x00, 8}, PictureFormat::Tiff},
        {"tiff big-endian", {0x4D, 0x4D, 0x00, 0x2A}, PictureFormat::Tiff},
        {"pict v2 at 541 bytes", WithBytesAt(541, 522, {0x00, 0x11, 0x02, 0xFF}), PictureFormat::MacPict},
        {"pict v2 at 540 bytes", WithBytesAt(540, 522, {0x00, 0x11, 0x02, 0xFF}), PictureFormat::Unknown},
        {"pict 00 11 01 any", WithBytesAt(600, 522, {0x00, 0x11, 0x01, 0x77}), PictureFormat::MacPict},
        {"pict v1", WithBytesAt(600, 522, {0x11, 0x01, 0x01, 0x00}), PictureFormat::MacPict},
        {"pict v1 wrong next byte", WithBytesAt(600, 522, {0x11, 0x01, 0x01, 0x01}), PictureFormat::Unknown},
        {"600 zeros", Bytes(600, 0), PictureFormat::Unknown},
        {"jpeg", {0xFF, 0xD8, 0xFF, 0xE0}, PictureFormat::Jpeg},
        {"jpeg without third FF", {0xFF, 0xD8, 0xFE}, PictureFormat::Unknown},
        {"jpeg cut after two bytes", {0xFF, 0xD8}, PictureFormat::Unknown},
        {"png", {0x89, 'P', 'N', 'G', 0, 0, 0, 0}, PictureFormat::Png},
        {"png three bytes", {0x89, 'P', 'N'}, PictureFormat::Unknown},
        {"eps with preview",
         WithBytesAt(32, 0, {0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 9}),
         PictureFormat::EpsTiff},
        {"eps swapped magic",
         WithBytesAt(32, 0, {0xC6, 0xD3, 0xD0, 0xC5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 9}),
         PictureFormat::EpsTiff},
        {"eps without preview length",
         WithBytesAt(32, 0, {0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}),
         PictureFormat::Unknown},
        {"eps cut before the preview",
         {0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
         PictureFormat::Unknown},
    };
}

class Detect : public testing::TestWithParam<DetectCase> {};

TEST_P(Detect, FirstBytesDecide) {
    const DetectCase& c = GetParam();
    // A copy of exactly the case's length, so ASan sees any read past it.
    auto copy = std::make_unique<std::uint8_t[]>(c.data.size() + 1);
    std::copy(c.data.begin(), c.data.end(), copy.get());
    EXPECT_EQ(CAnyPicDecoder::DetectFormat(c.data.empty() ? nullptr : c.data.data(),
                                           static_cast<std::int32_t>(c.data.size())),
              c.want);
}

INSTANTIATE_TEST_SUITE_P(Formats, Detect, testing::ValuesIn(DetectCases()), test_support::CaseName());

// Exposes the protected helpers.
class HelperDecoder : public CPicDecoder {
public:
    using CPicDecoder::ChooseDestDepth;
    using CPicDecoder::ExpandIndices;
    using CPicDecoder::NewColourTable;
    int& Requested() { return requestedDepth; }
};

TEST(PicDecoder, ChooseDestDepth) {
    struct Case {
        int requested, source, want;
    };
    constexpr Case kCases[] = {{0, 24, 32}, {0, 4, 8}, {0, 8, 8}, {0, 16, 32}, {32, 24, 32}, {32, 4, 32}, {8, 24, 8}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.requested << " " << c.source);
        HelperDecoder decoder;
        decoder.Requested() = c.requested;
        decoder.ChooseDestDepth(c.source);
        EXPECT_EQ(decoder.Requested(), c.want);
    }
}

TEST(PicDecoder, ExpandIndicesMostSignificantFirst) {
    HelperDecoder decoder;
    std::uint32_t* table = decoder.NewColourTable();
    for (std::uint32_t i = 0; i < 256; ++i) {
        table[i] = 1000 + i;
    }
    const std::uint8_t src[3] = {0b10110010, 0b11100111, 0xC3};
    struct Case {
        const char* name;
        int bits, count;
        std::vector<std::uint32_t> want;
    };
    const Case kCases[] = {
        {"1 bit, 11 pixels", 1, 11, {1001, 1000, 1001, 1001, 1000, 1000, 1001, 1000, 1001, 1001, 1001}},
        {"2 bits, 6 pixels", 2, 6, {1002, 1003, 1000, 1002, 1003, 1002}},
        {"4 bits, 3 pixels", 4, 3, {1011, 1002, 1014}},
        {"8 bits, 3 pixels", 8, 3, {1178, 1231, 1195}},
        {"1 bit, 0 pixels", 1, 0, {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        // One guard value after the expected pixels must stay untouched.
        std::vector<std::uint32_t> out(c.want.size() + 1, 7);
        decoder.ExpandIndices(out.data(), src, c.count, c.bits);
        std::vector<std::uint32_t> want = c.want;
        want.push_back(7);
        EXPECT_EQ(out, want);
    }
}

TEST(AnyPicDecoder, RefusalsByFormat) {
    const Refusal kCases[] = {
        {"600 zeros", Bytes(600, 0), DECERR_UNKNOWN_TYPE,
         "Decoder error: Unknown picture type (starts with 0x00 0x00 0x00 0x00 0x00 0x00 0x00 0x00)\n"},
        {"gif",
         {'G', 'I', 'F', '8', '9', 'a'},
         DECERR_UNKNOWN_TYPE,
         "Decoder error: Unknown picture type (starts with 0x47 0x49 0x46 0x38 0x39 0x61)\n"},
        {"no bytes", {}, DECERR_UNKNOWN_TYPE, "Decoder error: Unknown picture type (no bytes)\n"},
        {"tiff",
         {0x49, 0x49, 0x2A, 0x00, 8, 0, 0, 0},
         DECERR_UNSUPPORTED,
         "Decoder error: TIFF picture: a type this library does not decode\n"},
        {"eps",
         WithBytesAt(40, 0, {0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 9}),
         DECERR_UNSUPPORTED, "Decoder error: EPS picture: a type this library does not decode\n"},
        {"png signature broken after 4 bytes",
         {0x89, 'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0},
         DECERR_FORMAT,
         "Decoder error: PNG file corrupted by ASCII conversion\n"},
        {"png signature, then the end",
         {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0},
         DECERR_END_OF_DATA,
         "End of file reached while decoding.\n"},
        {"jpeg without frame", {0xFF, 0xD8, 0xFF, 0xD9}, DECERR_UNSUPPORTED, nullptr},
    };
    CAnyPicDecoder decoder;
    for (const Refusal& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        ExpectRefusal(decoder, c, bitmap);
        // The failure came before the bitmap was created: it is unchanged.
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(16, 16));
        // The header step refuses the same data the same way.
        CDataSource source;
        source.OpenData("memory", c.data.data(), static_cast<std::int32_t>(c.data.size()));
        EXPECT_EQ(CatchFailure([&] { decoder.ReadHeader(&source); }).code, c.code);
    }
}

// The header step tells format, size and stored depth without decoding, and
// leaves the source where it was; its size is the size a decode gives.
TEST(AnyPicDecoder, HeaderStep) {
    struct Case {
        const char* path;
        PictureFormat format;
        int width, height, bits;
    };
    const Case kCases[] = {
        {"png/basn2c16.png", PictureFormat::Png, 32, 32, 48},
        {"png/basn3p04.png", PictureFormat::Png, 32, 32, 4},
        {"png/basn4a08.png", PictureFormat::Png, 32, 32, 16},
        {"jpeg/libjpeg-turbo/testorig.jpg", PictureFormat::Jpeg, 227, 149, 24},
        {"bmp/g/pal4.bmp", PictureFormat::WindowsBitmap, 127, 64, 4},
        {"bmp/g/pal8topdown.bmp", PictureFormat::WindowsBitmap, 127, 64, 8},
        {"tga/twelvemonkeys/CTC16.TGA", PictureFormat::Targa, 128, 128, 16},
        {"pict/generated/v1_bitsrect_13x9.pct", PictureFormat::MacPict, 13, 9, 1},
        {"pict/twelvemonkeys/demo.pict", PictureFormat::MacPict, 360, 178, 8},
        {"pict/twelvemonkeys/qt_mire.pict", PictureFormat::MacPict, 64, 64, 24},
    };
    CAnyPicDecoder decoder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        Bytes bytes = test_support::ReadFileBytes(CorpusPath(c.path));
        CDataSource source;
        source.OpenData(c.path, bytes.data(), static_cast<std::int32_t>(bytes.size()));
        PictureHeader header = decoder.ReadHeader(&source);
        EXPECT_EQ(header.format, c.format);
        EXPECT_EQ(header.width, c.width);
        EXPECT_EQ(header.height, c.height);
        EXPECT_EQ(header.bitsPerPixel, c.bits);
        EXPECT_EQ(source.GetReadPointer(), bytes.data());
        CWinBmp bitmap;
        decoder.DecodeSource(&source, &bitmap, 32);
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(c.width, c.height));
    }
}

TEST(AnyPicDecoder, DecodeFileReportsOpeningFailures) {
    test_support::TempFolder folder;
    test_support::WriteFileBytes(folder / "empty.png", {});
    struct Case {
        const char* name;
        std::filesystem::path path;
        int code;
    };
    const Case kCases[] = {
        {"missing file", folder / "none.png", DECERR_FILE_NOT_FOUND},
        {"missing folder", folder / "none" / "x.png", DECERR_PATH_NOT_FOUND},
        {"empty file", folder / "empty.png", DECERR_ACCESS},
    };
    CAnyPicDecoder decoder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        Failure failure = CatchFailure([&] { decoder.DecodeFile(c.path.string().c_str(), &bitmap, 32); });
        EXPECT_EQ(failure.code, c.code);
        EXPECT_EQ(failure.text, "Decoder error: Opening " + c.path.string() + " failed\n");
    }
}

}  // namespace
}  // namespace ovlet::picture
