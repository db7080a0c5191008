// The public test suites of the corpus, per its manifest: files marked ok
// decode with the manifest's size, files marked bad fail with a
// CTextException, and nothing crashes. Interlaced PngSuite files decode to
// the same pixels as their non-interlaced twins. Every prefix of a few valid
// files decodes or fails cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "picture/any_pic_decoder.h"
#include "tests/picture/picture_test_support.h"

namespace {

// The formats this file covers; the BMP, TGA and PICT suites have their own
// corpus test next to their decoders' tests.
const std::set<std::string> kFormatsHere = {"jpeg", "png"};

// Files marked ok that this decoder refuses, each with its reason.
const std::map<std::string, std::string> kRefusedOk = {};

// Files marked bad that are in fact complete, valid pictures.
const std::map<std::string, std::string> kDecodedBad = {
    {"png/generated/basn2c08_truncated.png", "cut at 200 bytes from a 145-byte file: identical to png/basn2c08.png"},
};

// Files marked either that this decoder decodes (the rest of them fail).
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

std::string TestName(const std::string& path) {
    std::string name = path;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name;
}

}  // namespace

// Names the file in failure messages instead of dumping the struct's bytes.
void PrintTo(const ManifestEntry& e, std::ostream* out) {
    *out << e.path;
}

namespace {

class Corpus : public testing::TestWithParam<ManifestEntry> {};

TEST_P(Corpus, DecodesOrFailsAsTheManifestSays) {
    const ManifestEntry& e = GetParam();
    static CAnyPicDecoder decoder;
    std::string path = CorpusPath(e.path).string();
    for (int depth : {32, 0}) {
        SCOPED_TRACE(depth);
        CWinBmp bitmap;
        Failure failure = CatchFailure([&] { decoder.DecodeFile(path.c_str(), &bitmap, depth); });
        bool wantDecoded = e.expected == "ok"       ? kRefusedOk.count(e.path) == 0
                           : e.expected == "either" ? kEitherDecoded.count(e.path) > 0
                                                    : kDecodedBad.count(e.path) > 0;
        if (!wantDecoded) {
            EXPECT_NE(failure.code, 0) << "decoded although marked " << e.expected;
            continue;
        }
        ASSERT_EQ(failure.code, 0) << failure.text;
        if (e.width >= 0 && e.height >= 0) {
            EXPECT_EQ(bitmap.GetSize(),
                      std::make_pair(static_cast<std::int32_t>(e.width), static_cast<std::int32_t>(e.height)));
        }
        // The header step agrees with the decoder.
        PictureHeader header = decoder.ReadFileHeader(path.c_str());
        EXPECT_EQ(header.width, bitmap.GetWidth());
        EXPECT_EQ(header.height, bitmap.GetHeight());
    }
}

std::vector<ManifestEntry> JpegAndPngRows() {
    std::vector<ManifestEntry> rows;
    for (const ManifestEntry& e : ReadManifest()) {
        if (kFormatsHere.count(e.format)) {
            rows.push_back(e);
        }
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Manifest, Corpus, testing::ValuesIn(JpegAndPngRows()),
                         [](const auto& testInfo) { return TestName(testInfo.param.path); });

// Every byte of a 32-bit decode, top line first, alpha included.
Bytes DecodeToBytes(const std::string& path) {
    static CAnyPicDecoder decoder;
    CWinBmp bitmap;
    decoder.DecodeFile(path.c_str(), &bitmap, 32);
    Bytes out;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        const std::uint8_t* line = bitmap.GetLineTable()[y];
        out.insert(out.end(), line, line + 4 * bitmap.GetWidth());
    }
    return out;
}

TEST(CorpusPng, InterlacedFilesMatchTheirTwins) {
    int pairs = 0;
    for (const ManifestEntry& e : ReadManifest()) {
        if (e.format != "png" || e.expected != "ok" || e.path.rfind("png/basi", 0) != 0) {
            continue;
        }
        std::string twin = "png/basn" + e.path.substr(8);
        if (!std::filesystem::exists(CorpusPath(twin))) {
            continue;
        }
        SCOPED_TRACE(e.path);
        EXPECT_EQ(DecodeToBytes(CorpusPath(e.path).string()), DecodeToBytes(CorpusPath(twin).string()));
        ++pairs;
    }
    EXPECT_GE(pairs, 10);
}

struct SweepCase {
    const char* path;
    bool shortDecodes;  // a cut-off JPEG decodes; a cut-off PNG fails with 11
};

class TruncationSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(TruncationSweep, EveryPrefixEndsCleanly) {
    const SweepCase& c = GetParam();
    Bytes whole = ReadFileBytes(CorpusPath(c.path));
    CAnyPicDecoder decoder;
    constexpr std::size_t kCuts = 240;
    std::size_t step = std::max<std::size_t>(1, whole.size() / kCuts);
    int decoded = 0, failed = 0;
    for (std::size_t length = 0; length < whole.size(); length += step) {
        // An exact-size copy, so the address sanitizer sees a read past it.
        auto prefix = std::make_unique<std::uint8_t[]>(length ? length : 1);
        std::memcpy(prefix.get(), whole.data(), length);
        CDataSource source;
        source.OpenData("prefix", prefix.get(), static_cast<std::int32_t>(length));
        CWinBmp bitmap;
        Failure failure = CatchFailure([&] { decoder.DecodeSource(&source, &bitmap, 32); });
        if (failure.code == 0) {
            ++decoded;
            EXPECT_EQ(bitmap.GetBitsPerPixel(), 32);
        } else {
            ++failed;
            // Failed: unchanged (the 16 x 16 start) or empty, never half-made.
            EXPECT_TRUE(bitmap.IsEmpty() || bitmap.GetSize() == std::make_pair(16, 16)) << length;
            if (c.shortDecodes || length < 8) {
                continue;
            }
            EXPECT_EQ(failure.code, DECERR_END_OF_DATA) << length << ": " << failure.text;
        }
    }
    EXPECT_GE(decoded + failed, static_cast<int>(std::min<std::size_t>(200, whole.size())));
    if (c.shortDecodes) {
        EXPECT_GT(decoded, 0);  // a cut inside the scan data still gives a picture
    } else {
        EXPECT_EQ(decoded, 0);
    }
}

constexpr SweepCase kSweeps[] = {
    {"jpeg/libjpeg-turbo/testorig.jpg", true},
    {"jpeg/generated/rgb24_progressive.jpg", true},
    {"jpeg/pillow/pil_sample_cmyk.jpg", true},
    {"png/basi6a16.png", false},
    {"png/z00n2c08.png", false},
    {"png/basi3p02.png", false},
    {"png/basn2c16.png", false},
};

INSTANTIATE_TEST_SUITE_P(Files, TruncationSweep, testing::ValuesIn(kSweeps),
                         [](const auto& testInfo) { return TestName(testInfo.param.path); });

}  // namespace
