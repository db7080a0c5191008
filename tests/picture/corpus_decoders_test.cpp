// The public BMP, TGA and PICT suites: every file is handled as the corpus
// manifest expects, apart from the listed files that these decoders treat
// otherwise on purpose; decoded pictures match their reference pictures; and
// every prefix of a selection of files ends cleanly.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "picture/any_pic_decoder.h"
#include "picture/png_decoder.h"
#include "tests/picture/decoder_test_util.h"

using namespace decoder_test;

namespace {

const std::filesystem::path kCorpus = OVLET_CORPUS_DIR;

struct ManifestRow {
    std::string path, format, expected;
    long width = -1, height = -1;
};

std::vector<ManifestRow> ReadDecoderRows() {
    std::ifstream in(kCorpus / "MANIFEST.tsv");
    if (!in) {
        // A missing corpus must fail the run, never leave the tables empty.
        throw std::runtime_error("cannot read the corpus manifest " + (kCorpus / "MANIFEST.tsv").string());
    }
    std::vector<ManifestRow> rows;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            fields.push_back(cell);
        }
        if (fields.size() < 5 || (fields[1] != "bmp" && fields[1] != "tga" && fields[1] != "pict")) {
            continue;
        }
        ManifestRow row{fields[0], fields[1], fields[2]};
        if (fields[3] != "-") row.width = std::stol(fields[3]);
        if (fields[4] != "-") row.height = std::stol(fields[4]);
        rows.push_back(row);
    }
    return rows;
}

// Files marked ok that these decoders refuse, with the code they give.
const std::map<std::string, int> kRefusedDespiteOk = {
    // Only the 40-byte info header is read; OS/2, V4 and V5 headers are not.
    {"bmp/g/pal8os2.bmp", DECERR_FORMAT},
    {"bmp/g/pal8v4.bmp", DECERR_FORMAT},
    {"bmp/g/pal8v5.bmp", DECERR_FORMAT},
    {"bmp/extra/hopper_rle8_grayscale.bmp", DECERR_FORMAT},
    {"bmp/extra/rgb32bf-abgr.bmp", DECERR_FORMAT},
    {"bmp/extra/rgb32bf-rgba.bmp", DECERR_FORMAT},
    {"bmp/extra/money-2-os2.bmp", DECERR_FORMAT},
    {"bmp/extra/money-16-os2.bmp", DECERR_FORMAT},
    // 16-bit pixels are not among the depths a bitmap may have here.
    {"bmp/g/rgb16-565.bmp", DECERR_FORMAT},
    {"bmp/g/rgb16-565pal.bmp", DECERR_FORMAT},
    {"bmp/g/rgb16.bmp", DECERR_FORMAT},
    {"bmp/g/rgb16bfdef.bmp", DECERR_FORMAT},
};

// Files marked bad that decode: the field they break is one the decoder
// reads without using (biSizeImage, the densities, biPlanes), or indices
// past the colour table, which show as black.
const std::set<std::string> kDecodedDespiteBad = {
    "bmp/b/badbitssize.bmp", "bmp/b/baddens1.bmp",     "bmp/b/baddens2.bmp",
    "bmp/b/badplanes.bmp",   "bmp/b/pal8badindex.bmp",
};

// PICT files whose first image is not the whole picture the manifest sizes
// (a band of several, or a pixel map whose bounds differ from the frame).
const std::map<std::string, std::pair<long, long>> kFirstImageSize = {
    {"pict/twelvemonkeys/demo.pict", {360, 178}},        {"pict/twelvemonkeys/9.pict", {622, 85}},
    {"pict/twelvemonkeys/P564B1400.pict", {598, 88}},    {"pict/twelvemonkeys/Picture14.pict", {411, 136}},
    {"pict/twelvemonkeys/CatDV-2.0-1.pict", {382, 165}},
};

struct Outcome {
    bool decoded = false;
    int code = 0;
    std::int32_t width = 0, height = 0;
};

Outcome DecodeCorpusFile(const std::string& path) {
    static CAnyPicDecoder decoder;
    CWinBmp bitmap;
    try {
        decoder.DecodeFile((kCorpus / path).c_str(), &bitmap, 32);
    } catch (const CTextException& error) {
        return {false, error.GetCode()};
    }
    return {true, 0, bitmap.GetWidth(), bitmap.GetHeight()};
}

class CorpusFileTest : public testing::TestWithParam<ManifestRow> {};

TEST_P(CorpusFileTest, HandledAsExpected) {
    const ManifestRow& row = GetParam();
    Outcome outcome = DecodeCorpusFile(row.path);
    if (auto refused = kRefusedDespiteOk.find(row.path); refused != kRefusedDespiteOk.end()) {
        EXPECT_FALSE(outcome.decoded);
        EXPECT_EQ(outcome.code, refused->second);
        return;
    }
    if (row.expected == "ok") {
        ASSERT_TRUE(outcome.decoded) << "code " << outcome.code;
        auto [width, height] = std::pair{row.width, row.height};
        if (auto first = kFirstImageSize.find(row.path); first != kFirstImageSize.end()) {
            std::tie(width, height) = first->second;
        }
        EXPECT_EQ(outcome.width, width);
        EXPECT_EQ(outcome.height, height);
    } else if (row.expected == "bad") {
        EXPECT_EQ(outcome.decoded, kDecodedDespiteBad.count(row.path) == 1);
    }
    // "either" and "unsupported": decoding or refusing are both fine; the
    // run itself shows there was no crash.
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusFileTest, testing::ValuesIn(ReadDecoderRows()),
                         [](const testing::TestParamInfo<ManifestRow>& testInfo) {
                             std::string name = testInfo.param.path;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

// Pictures that must come out pixel for pixel the same: a file and its PNG
// reference, or the same picture stored another way.
struct SamePixels {
    std::string file, reference;
    bool compareAlpha;
    // The file's rows are in the opposite order of what its header says:
    // the converter that made the corpus's generated bottom-origin Targa
    // files wrote them top row first (and reads them back the same way).
    bool upsideDown = false;
};

std::vector<SamePixels> SamePixelCases() {
    std::vector<SamePixels> cases;
    for (std::string kind : {"l", "p", "rgb", "rgba"}) {
        for (std::string variant : {"bl_raw", "bl_rle", "tl_raw", "tl_rle"}) {
            cases.push_back({"tga/pillow/common/200x32_" + kind + "_" + variant + ".tga",
                             "tga/pillow/common/200x32_" + kind + ".png", true});
        }
    }
    for (std::string variant : {"bl_raw", "bl_rle", "tl_raw", "tl_rle"}) {
        cases.push_back({"tga/pillow/common/1x1_l_" + variant + ".tga", "tga/pillow/common/1x1_l.png", true});
    }
    for (std::string name : {"v1_bitsrect_13x9", "v1_packbitsrect_70x20", "v1_packbitsrect_narrow_29x7",
                             "v2_bitsrect_13x9", "v2_packbitsrect_70x20"}) {
        cases.push_back({"pict/generated/" + name + ".pct", "pict/generated/" + name + ".png", true});
    }
    const std::vector<SamePixels> pairs = {
        {"bmp/g/rgb32.bmp", "bmp/g/rgb24.bmp", false},
        {"bmp/g/pal8rle.bmp", "bmp/g/pal8.bmp", true},
        {"bmp/g/pal8-0.bmp", "bmp/g/pal8.bmp", true},
        {"bmp/g/pal8topdown.bmp", "bmp/g/pal8.bmp", true},
        {"bmp/g/pal8w126.bmp", "bmp/g/pal8w126.bmp", true},
        {"bmp/g/pal4rle.bmp", "bmp/g/pal4.bmp", true},
        {"bmp/g/pal1wb.bmp", "bmp/g/pal1.bmp", true},
        {"bmp/extra/hopper_rle8.bmp", "bmp/extra/hopper_rle8.bmp", true},
        {"tga/generated/im_rgb24_raw_bl.tga", "bmp/g/rgb24.bmp", true, true},
        {"tga/generated/im_rgb24_rle_tl.tga", "bmp/g/rgb24.bmp", true},
        {"pict/generated/im_rgb32.pct", "bmp/g/rgb24.bmp", false},
        {"tga/twelvemonkeys/CTC24.TGA", "tga/twelvemonkeys/UTC24.TGA", true},
        {"tga/twelvemonkeys/CTC32.TGA", "tga/twelvemonkeys/UTC32.TGA", true},
        {"tga/twelvemonkeys/UTC32.TGA", "tga/twelvemonkeys/UTC24.TGA", false},
        {"tga/twelvemonkeys/CTC16.TGA", "tga/twelvemonkeys/UTC16.TGA", true},
        {"tga/twelvemonkeys/CCM8.TGA", "tga/twelvemonkeys/UCM8.TGA", true},
        {"tga/twelvemonkeys/CBW8.TGA", "tga/twelvemonkeys/UBW8.TGA", true},
        {"tga/twelvemonkeys/FLAG_T32.TGA", "tga/twelvemonkeys/FLAG_B32.TGA", true},
        {"tga/twelvemonkeys/FLAG_T16.TGA", "tga/twelvemonkeys/FLAG_B16.TGA", true},
        {"tga/twelvemonkeys/FLAG_B32.TGA", "tga/twelvemonkeys/FLAG_B24.TGA", false},
        {"tga/twelvemonkeys/XING_T24.TGA", "tga/twelvemonkeys/XING_B24.TGA", true},
        {"tga/twelvemonkeys/XING_T32.TGA", "tga/twelvemonkeys/XING_B32.TGA", true},
        {"tga/twelvemonkeys/XING_T16.TGA", "tga/twelvemonkeys/XING_B16.TGA", true},
        {"pict/twelvemonkeys/FLAG_B24.PCT", "tga/twelvemonkeys/FLAG_B24.TGA", false},
    };
    cases.insert(cases.end(), pairs.begin(), pairs.end());
    return cases;
}

std::vector<std::uint32_t> DecodeForComparison(const std::string& path, bool keepAlpha, bool upsideDown = false) {
    static CAnyPicDecoder decoder;
    CWinBmp bitmap;
    decoder.DecodeFile((kCorpus / path).c_str(), &bitmap, 32);
    std::vector<std::uint32_t> pixels = Pixels32(bitmap);
    if (upsideDown) {
        std::vector<std::uint32_t> flipped;
        for (std::int32_t y = bitmap.GetHeight() - 1; y >= 0; --y) {
            auto line = pixels.begin() + std::ptrdiff_t{y} * bitmap.GetWidth();
            flipped.insert(flipped.end(), line, line + bitmap.GetWidth());
        }
        pixels.swap(flipped);
    }
    for (std::uint32_t& p : pixels) {
        p = keepAlpha && bitmap.HasAlpha() ? p : p | 0xFF000000u;
    }
    pixels.push_back(static_cast<std::uint32_t>(bitmap.GetWidth()));
    return pixels;
}

class CorpusPixelsTest : public testing::TestWithParam<SamePixels> {};

TEST_P(CorpusPixelsTest, SameAsReference) {
    const SamePixels& c = GetParam();
    std::vector<std::uint32_t> got, want;
    ASSERT_NO_THROW(got = DecodeForComparison(c.file, c.compareAlpha, c.upsideDown));
    ASSERT_NO_THROW(want = DecodeForComparison(c.reference, c.compareAlpha));
    ASSERT_EQ(got.size(), want.size());
    std::size_t differ = 0, first = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] != want[i] && differ++ == 0) first = i;
    }
    EXPECT_EQ(differ, 0u) << "first at " << first << ": " << std::hex << got[first] << " vs " << want[first];
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusPixelsTest, testing::ValuesIn(SamePixelCases()),
                         [](const testing::TestParamInfo<SamePixels>& testInfo) {
                             std::string name = testInfo.param.file;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

// Every prefix of a file decodes or fails with a CTextException, reading
// nothing past its end (each prefix is copied to a buffer of its own size,
// so the address sanitizer sees any read beyond it).
class TruncationTest : public testing::TestWithParam<std::string> {};

TEST_P(TruncationTest, EveryPrefixEndsCleanly) {
    Bytes whole = ReadFile(kCorpus / GetParam());
    ASSERT_FALSE(whole.empty());
    CAnyPicDecoder decoder;
    // Every prefix near the headers, then a few hundred spread over the rest.
    std::size_t stride = std::max<std::size_t>(1, whole.size() / 300);
    int failures = 0;
    for (std::size_t length = 1; length < whole.size(); length += length < 1200 ? 1 : stride) {
        Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        Failure failure = DecodeFailure(decoder, prefix);
        failures += failure.code != 0;
    }
    EXPECT_GT(failures, 0);
    EXPECT_EQ(DecodeFailure(decoder, whole).code, 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, TruncationTest,
                         testing::Values("bmp/g/rgb24.bmp", "bmp/g/pal1.bmp", "bmp/g/pal4rle.bmp", "bmp/g/pal8rle.bmp",
                                         "tga/twelvemonkeys/CTC24.TGA", "tga/twelvemonkeys/UCM8.TGA",
                                         "tga/pillow/common/200x32_rgba_tl_rle.tga", "tga/twelvemonkeys/CTC16.TGA",
                                         "pict/twelvemonkeys/mire32.pict", "pict/twelvemonkeys/VENUS.PCT",
                                         "pict/twelvemonkeys/qt_mire.pict", "pict/generated/v1_packbitsrect_70x20.pct",
                                         "pict/twelvemonkeys/16bit.pict"),
                         [](const testing::TestParamInfo<std::string>& testInfo) {
                             std::string name = testInfo.param;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

}  // namespace
