// The public test suites of the corpus, all five formats, per its manifest:
// files marked ok decode with the manifest's size (the header step telling
// the same size), files marked bad fail with an error code of their format
// and leave the bitmap as it was, apart from the listed files that these
// decoders treat otherwise on purpose. Decoded pictures match their reference
// pictures, and every prefix of a selection of files gives what a cut file
// must give.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "picture/any_pic_decoder.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

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
// reads without using (biSizeImage, the densities, biPlanes), indices past
// the colour table, which show as black, or a file cut where nothing is lost.
const std::set<std::string> kDecodedDespiteBad = {
    "bmp/b/badbitssize.bmp",
    "bmp/b/baddens1.bmp",
    "bmp/b/baddens2.bmp",
    "bmp/b/badplanes.bmp",
    "bmp/b/pal8badindex.bmp",
    // Cut at 200 bytes from a 145-byte file: identical to png/basn2c08.png.
    "png/generated/basn2c08_truncated.png",
};

// JPEG files marked either that this decoder decodes (the rest of them fail).
// For the other formats, either outcome of an "either" file is fine.
const std::set<std::string> kEitherDecoded = {
    "jpeg/pillow/truncated_jpeg.jpg",
    "jpeg/pillow/truncated_app14.jpg",
    "jpeg/pillow/photoshop-200dpi-broken.jpg",
    "jpeg/pillow/junk_jpeg_header.jpg",
    "jpeg/twelvemonkeys/dnl-marker.jpg",
    "jpeg/twelvemonkeys/duplicate-component-ids.jpg",
    "jpeg/twelvemonkeys/progressive-adobe-sof-bands-dont-match-sos-band-count.jpg",
    "jpeg/twelvemonkeys/invalid-adobe-ycc-gray-with-metadata.jpg",
    "jpeg/twelvemonkeys/broken-invalid-adobe-ycc-gray.jpg",
    "jpeg/twelvemonkeys/exif-jfif-app13-app14ycck-3channel.jpg",
    "jpeg/generated/rgb24_s420_truncated.jpg",
    "jpeg/generated/rgb24_s420_corrupt_scan.jpg",
};

// PICT files whose first image is not the whole picture the manifest sizes
// (a band of several, or a pixel map whose bounds differ from the frame).
const std::map<std::string, std::pair<long, long>> kFirstImageSize = {
    {"pict/twelvemonkeys/demo.pict", {360, 178}},        {"pict/twelvemonkeys/9.pict", {622, 85}},
    {"pict/twelvemonkeys/P564B1400.pict", {598, 88}},    {"pict/twelvemonkeys/Picture14.pict", {411, 136}},
    {"pict/twelvemonkeys/CatDV-2.0-1.pict", {382, 165}},
};

// The codes a refusal of each format may carry.
const std::map<std::string, std::set<int>> kFailureCodes = {
    {"jpeg", {DECERR_UNSUPPORTED, DECERR_FORMAT}},
    {"png", {DECERR_FORMAT, DECERR_END_OF_DATA}},
    {"bmp", {DECERR_FORMAT, DECERR_END_OF_DATA, DECERR_UNSUPPORTED}},
    {"tga", {DECERR_FORMAT, DECERR_END_OF_DATA}},
    {"pict", {DECERR_SIGNATURE, DECERR_FORMAT, DECERR_END_OF_DATA, DECERR_UNSUPPORTED}},
};

// A 3 x 2 picture with alpha and known bytes, which a failed decode must
// leave exactly as it is.
void MakeSentinel(CWinBmp& bitmap) {
    bitmap.Create(3, 2, 32, true);
    for (int y = 0; y < 2; ++y) {
        for (int i = 0; i < 12; ++i) {
            bitmap.GetLineTable()[y][i] = static_cast<std::uint8_t>(7 * y + i);
        }
    }
}

bool IsSentinel(const CWinBmp& bitmap) {
    if (bitmap.GetSize() != std::make_pair(3, 2) || bitmap.GetBitsPerPixel() != 32 || !bitmap.HasAlpha()) {
        return false;
    }
    for (int y = 0; y < 2; ++y) {
        for (int i = 0; i < 12; ++i) {
            if (bitmap.GetLineTable()[y][i] != 7 * y + i) {
                return false;
            }
        }
    }
    return true;
}

// Whether the manifest's verdict, read with the lists above, is "decodes".
bool WantDecoded(const ManifestEntry& e) {
    if (kRefusedDespiteOk.count(e.path)) {
        return false;
    }
    if (e.expected == "ok") {
        return true;
    }
    if (e.expected == "either") {
        return kEitherDecoded.count(e.path) > 0;
    }
    return kDecodedDespiteBad.count(e.path) > 0;
}

}  // namespace

// Names the file in failure messages instead of dumping the struct's bytes.
void PrintTo(const ManifestEntry& e, std::ostream* out) {
    *out << e.path;
}

namespace {

class Corpus : public testing::TestWithParam<ManifestEntry> {};

TEST_P(Corpus, HandledAsTheManifestSays) {
    const ManifestEntry& e = GetParam();
    static CAnyPicDecoder decoder;
    std::string path = CorpusPath(e.path).string();
    // An "either" file of the formats without a list may go both ways.
    bool eitherWay = e.expected == "either" && e.format != "jpeg";
    for (int depth : {32, 0}) {
        SCOPED_TRACE(depth);
        CWinBmp bitmap;
        MakeSentinel(bitmap);
        Failure failure = CatchFailure([&] { decoder.DecodeFile(path.c_str(), &bitmap, depth); });
        if (failure.code != 0) {
            EXPECT_TRUE(eitherWay || !WantDecoded(e))
                << "refused although marked " << e.expected << ": " << failure.text;
            if (auto refused = kRefusedDespiteOk.find(e.path); refused != kRefusedDespiteOk.end()) {
                EXPECT_EQ(failure.code, refused->second);
            } else if (failure.code != DECERR_UNKNOWN_TYPE && failure.code != DECERR_ACCESS) {
                // Not recognised at all, or an empty file that cannot be
                // mapped; anything else is the format's own refusal.
                EXPECT_EQ(kFailureCodes.at(e.format).count(failure.code), 1u) << failure.code << ": " << failure.text;
            }
            EXPECT_TRUE(IsSentinel(bitmap)) << "a failed decode changed the bitmap";
            continue;
        }
        EXPECT_TRUE(eitherWay || WantDecoded(e)) << "decoded although marked " << e.expected;
        auto [width, height] = std::pair{e.width, e.height};
        if (auto first = kFirstImageSize.find(e.path); first != kFirstImageSize.end()) {
            std::tie(width, height) = first->second;
        }
        if (e.expected == "ok" && width >= 0 && height >= 0) {
            EXPECT_EQ(bitmap.GetSize(),
                      std::make_pair(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)));
        }
        // The header step agrees with the decoder.
        PictureHeader header = decoder.ReadFileHeader(path.c_str());
        EXPECT_EQ(header.width, bitmap.GetWidth());
        EXPECT_EQ(header.height, bitmap.GetHeight());
    }
}

INSTANTIATE_TEST_SUITE_P(Manifest, Corpus, testing::ValuesIn(ReadManifest()),
                         [](const auto& testInfo) { return test_support::TestName(testInfo.param.path); });

// Every byte of a 32-bit decode, top line first; alpha forced to 255 when it
// carries no meaning or is not to be compared.
std::vector<std::uint32_t> DecodeToPixels(const std::string& relative, bool keepAlpha, bool upsideDown = false) {
    static CAnyPicDecoder decoder;
    CWinBmp bitmap;
    decoder.DecodeFile(CorpusPath(relative).string().c_str(), &bitmap, 32);
    std::vector<std::uint32_t> pixels;
    for (std::int32_t row = 0; row < bitmap.GetHeight(); ++row) {
        std::int32_t y = upsideDown ? bitmap.GetHeight() - 1 - row : row;
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) {
            std::uint32_t p;
            std::memcpy(&p, bitmap.GetLineTable()[y] + 4 * x, 4);
            pixels.push_back(keepAlpha && bitmap.HasAlpha() ? p : p | 0xFF000000u);
        }
    }
    pixels.push_back(static_cast<std::uint32_t>(bitmap.GetWidth()));
    return pixels;
}

// Pictures that must come out pixel for pixel the same: a file and its
// reference, or the same picture stored another way.
struct SamePixels {
    std::string file, reference;
    bool compareAlpha;
    // The file's rows are in the opposite order of what its header says:
    // the converter that made the corpus's generated bottom-origin Targa
    // files wrote them top row first (and reads them back the same way).
    bool upsideDown = false;
};

void PrintTo(const SamePixels& c, std::ostream* out) {
    *out << c.file;
}

std::vector<SamePixels> SamePixelCases() {
    std::vector<SamePixels> cases;
    // Interlaced PNG files and their non-interlaced twins.
    for (const ManifestEntry& e : ReadManifest()) {
        if (e.format == "png" && e.expected == "ok" && e.path.rfind("png/basi", 0) == 0) {
            std::string twin = "png/basn" + e.path.substr(8);
            if (std::filesystem::exists(CorpusPath(twin))) {
                cases.push_back({e.path, twin, true});
            }
        }
    }
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

class CorpusPixels : public testing::TestWithParam<SamePixels> {};

TEST_P(CorpusPixels, SameAsReference) {
    const SamePixels& c = GetParam();
    std::vector<std::uint32_t> got, want;
    ASSERT_NO_THROW(got = DecodeToPixels(c.file, c.compareAlpha, c.upsideDown));
    ASSERT_NO_THROW(want = DecodeToPixels(c.reference, c.compareAlpha));
    ASSERT_EQ(got.size(), want.size());
    std::size_t differ = 0, first = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i] != want[i] && differ++ == 0) first = i;
    }
    EXPECT_EQ(differ, 0u) << "first at " << first << ": " << std::hex << got[first] << " vs " << want[first];
}

TEST(CorpusPixels, EveryInterlacedTwinIsCompared) {
    int twins = 0;
    for (const SamePixels& c : SamePixelCases()) {
        twins += c.file.rfind("png/basi", 0) == 0;
    }
    EXPECT_GE(twins, 10);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusPixels, testing::ValuesIn(SamePixelCases()),
                         [](const auto& testInfo) { return test_support::TestName(testInfo.param.file); });

// What a cut picture must give. A prefix of a file either fails, with the
// code a cut gives in its format (or "unknown file type" while the prefix is
// too short to recognise), and leaves the bitmap exactly as it was; or it
// decodes to a picture of the whole one's size. Only a JPEG picture, whose
// decoder ends missing data as if the picture were complete, may then differ
// from the whole picture, and only below its first rows: the rows that equal
// the whole picture's never become fewer as the cut moves later.
struct SweepCase {
    const char* path;
    std::set<int> cutCodes;
    bool partialDecodes;
};

void PrintTo(const SweepCase& c, std::ostream* out) {
    *out << c.path;
}

const SweepCase kSweeps[] = {
    {"jpeg/libjpeg-turbo/testorig.jpg", {DECERR_UNSUPPORTED}, true},
    {"jpeg/generated/rgb24_progressive.jpg", {DECERR_UNSUPPORTED}, true},
    {"jpeg/pillow/pil_sample_cmyk.jpg", {DECERR_UNSUPPORTED}, true},
    {"png/basi6a16.png", {DECERR_END_OF_DATA}, false},
    {"png/z00n2c08.png", {DECERR_END_OF_DATA}, false},
    {"png/basi3p02.png", {DECERR_END_OF_DATA}, false},
    {"png/basn2c16.png", {DECERR_END_OF_DATA}, false},
    {"bmp/g/rgb24.bmp", {DECERR_END_OF_DATA}, false},
    {"bmp/g/pal1.bmp", {DECERR_END_OF_DATA}, false},
    {"bmp/g/pal4rle.bmp", {DECERR_END_OF_DATA}, false},
    {"bmp/g/pal8rle.bmp", {DECERR_END_OF_DATA}, false},
    {"tga/twelvemonkeys/CTC24.TGA", {DECERR_END_OF_DATA}, false},
    {"tga/twelvemonkeys/UCM8.TGA", {DECERR_END_OF_DATA}, false},
    {"tga/pillow/common/200x32_rgba_tl_rle.tga", {DECERR_END_OF_DATA}, false},
    {"tga/twelvemonkeys/CTC16.TGA", {DECERR_END_OF_DATA}, false},
    {"pict/twelvemonkeys/mire32.pict", {DECERR_END_OF_DATA}, false},
    {"pict/twelvemonkeys/VENUS.PCT", {DECERR_END_OF_DATA}, false},
    {"pict/generated/v1_packbitsrect_70x20.pct", {DECERR_END_OF_DATA}, false},
    {"pict/twelvemonkeys/16bit.pict", {DECERR_END_OF_DATA}, false},
    // A JPEG picture inside a PICT file: cut before it, inside its headers,
    // or inside its pixel data.
    {"pict/twelvemonkeys/qt_mire.pict", {DECERR_END_OF_DATA, DECERR_UNSUPPORTED}, true},
};

// Leading lines of a bitmap equal to the reference's.
int LeadingEqualLines(const CWinBmp& bitmap, const CWinBmp& reference) {
    auto lineBytes = static_cast<std::size_t>(reference.GetLineBytes());
    int y = 0;
    while (y < reference.GetHeight() &&
           std::memcmp(bitmap.GetLineTable()[y], reference.GetLineTable()[y], lineBytes) == 0) {
        ++y;
    }
    return y;
}

class TruncationSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(TruncationSweep, EveryPrefixGivesWhatACutPictureMust) {
    const SweepCase& c = GetParam();
    Bytes whole = test_support::ReadFileBytes(CorpusPath(c.path));
    ASSERT_FALSE(whole.empty());
    CAnyPicDecoder decoder;
    CWinBmp reference;
    DecodeBytes(decoder, whole, reference, 32);
    PictureFormat format = CAnyPicDecoder::DetectFormat(whole.data(), static_cast<std::int32_t>(whole.size()));

    // Every prefix near the headers, then a few hundred spread over the rest,
    // and the whole file last.
    std::vector<std::size_t> lengths;
    std::size_t stride = std::max<std::size_t>(1, whole.size() / 300);
    for (std::size_t length = 0; length < whole.size(); length += length < 1200 ? 1 : stride) {
        lengths.push_back(length);
    }
    lengths.push_back(whole.size());
    int partial = 0, equalLines = 0;
    for (std::size_t length : lengths) {
        SCOPED_TRACE(length);
        // An exact-size copy, so the address sanitizer sees a read past it.
        auto prefix = std::make_unique<std::uint8_t[]>(length ? length : 1);
        std::memcpy(prefix.get(), whole.data(), length);
        CDataSource source;
        source.OpenData("prefix", prefix.get(), static_cast<std::int32_t>(length));
        CWinBmp bitmap;
        MakeSentinel(bitmap);
        Failure failure = CatchFailure([&] { decoder.DecodeSource(&source, &bitmap, 32); });
        if (failure.code != 0) {
            ASSERT_TRUE(IsSentinel(bitmap)) << "a failed decode changed the bitmap";
            PictureFormat seen = CAnyPicDecoder::DetectFormat(prefix.get(), static_cast<std::int32_t>(length));
            if (seen == PictureFormat::Unknown) {
                ASSERT_EQ(failure.code, DECERR_UNKNOWN_TYPE) << failure.text;
            } else if (seen == format) {
                ASSERT_EQ(c.cutCodes.count(failure.code), 1u) << failure.code << ": " << failure.text;
            }
            continue;
        }
        ASSERT_EQ(bitmap.GetSize(), reference.GetSize());
        ASSERT_EQ(bitmap.GetBitsPerPixel(), reference.GetBitsPerPixel());
        int lines = LeadingEqualLines(bitmap, reference);
        if (lines < reference.GetHeight()) {
            ASSERT_TRUE(c.partialDecodes) << "a cut picture decoded to other pixels";
            ++partial;
        }
        ASSERT_GE(lines, equalLines) << "more data gave fewer correct lines";
        equalLines = lines;
    }
    EXPECT_EQ(equalLines, reference.GetHeight());
    if (c.partialDecodes) {
        EXPECT_GT(partial, 0);  // a cut inside the pixel data still gives a picture
    }
}

INSTANTIATE_TEST_SUITE_P(Files, TruncationSweep, testing::ValuesIn(kSweeps),
                         [](const auto& testInfo) { return test_support::TestName(testInfo.param.path); });

}  // namespace
}  // namespace ovlet::picture
