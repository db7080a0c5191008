// The JPEG decoder on pictures made here with known colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "picture/jpeg_decoder.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

// Flat colour quarters survive JPEG coding at quality 95 within a few steps.
constexpr int kTolerance = 6;

struct Rgb {
    int red, green, blue;
};
constexpr Rgb kQuarters[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {250, 250, 20}};
constexpr int kSide = 32;  // 2 x 2 quarters of 16 x 16, whole JPEG blocks

int QuarterAt(int x, int y) {
    return (y >= kSide / 2 ? 2 : 0) + (x >= kSide / 2 ? 1 : 0);
}

Bytes QuarterPixels(test_support::JpegKind kind) {
    Bytes pixels;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const Rgb& c = kQuarters[QuarterAt(x, y)];
            switch (kind) {
                case test_support::JpegKind::Grey:
                    pixels.push_back(static_cast<std::uint8_t>(QuarterAt(x, y) * 80));
                    break;
                case test_support::JpegKind::CmykAdobe:
                case test_support::JpegKind::YcckAdobe: {
                    // Inks for the colour with no black: C = 255 - R, and so on.
                    pixels.insert(pixels.end(),
                                  {static_cast<std::uint8_t>(255 - c.red), static_cast<std::uint8_t>(255 - c.green),
                                   static_cast<std::uint8_t>(255 - c.blue), 0});
                    break;
                }
                default:
                    pixels.insert(pixels.end(), {static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                                                 static_cast<std::uint8_t>(c.blue)});
            }
        }
    }
    return pixels;
}

struct ColourCase {
    const char* name;
    test_support::JpegKind kind;
    bool progressive;
    int requestedDepth;
};

// Colour JPEGs of every colour model come out at 32 bits in blue, green,
// red order whatever depth was asked for, CMYK and YCCK converted from inks.
constexpr ColourCase kColourCases[] = {
    {"ycbcr_depth32", test_support::JpegKind::YCbCr, false, 32},
    {"ycbcr_depth0", test_support::JpegKind::YCbCr, false, 0},
    {"ycbcr_depth8_still32", test_support::JpegKind::YCbCr, false, 8},
    {"ycbcr_progressive", test_support::JpegKind::YCbCr, true, 32},
    {"rgb_coded", test_support::JpegKind::Rgb, false, 32},
    {"cmyk_adobe", test_support::JpegKind::CmykAdobe, false, 32},
    {"ycck_adobe", test_support::JpegKind::YcckAdobe, false, 0},
};

class JpegColour : public testing::TestWithParam<ColourCase> {};

TEST_P(JpegColour, QuartersKeepTheirColours) {
    const ColourCase& c = GetParam();
    Bytes jpeg = test_support::EncodeJpeg(c.kind, kSide, kSide, QuarterPixels(c.kind), 95, c.progressive);
    CJPEGDecoder decoder;
    CWinBmp bitmap;
    DecodeBytes(decoder, jpeg, bitmap, c.requestedDepth);
    ASSERT_EQ(bitmap.GetSize(), std::make_pair(kSide, kSide));
    ASSERT_EQ(bitmap.GetBitsPerPixel(), 32);
    EXPECT_FALSE(bitmap.HasAlpha());
    for (int q = 0; q < 4; ++q) {
        // The centre of each quarter, away from the block edges.
        int x = (q % 2) * 16 + 8, y = (q / 2) * 16 + 8;
        SCOPED_TRACE(testing::Message() << "quarter " << q);
        Bgra p = PixelAt(bitmap, x, y);
        EXPECT_NEAR(p.red, kQuarters[q].red, kTolerance);
        EXPECT_NEAR(p.green, kQuarters[q].green, kTolerance);
        EXPECT_NEAR(p.blue, kQuarters[q].blue, kTolerance);
        EXPECT_EQ(p.alpha, 255);
    }
}

INSTANTIATE_TEST_SUITE_P(Models, JpegColour, testing::ValuesIn(kColourCases), test_support::CaseName());

TEST(JpegDecoder, GreyAtDepthZeroAndThirtyTwo) {
    Bytes jpeg = test_support::EncodeJpeg(test_support::JpegKind::Grey, kSide, kSide,
                                          QuarterPixels(test_support::JpegKind::Grey));
    CJPEGDecoder decoder;
    struct Case {
        int requested;
        std::uint16_t depth;
    };
    for (Case c : {Case{0, 8}, Case{8, 8}, Case{32, 32}}) {
        SCOPED_TRACE(c.requested);
        CWinBmp bitmap;
        DecodeBytes(decoder, jpeg, bitmap, c.requested);
        ASSERT_EQ(bitmap.GetBitsPerPixel(), c.depth);
        for (int q = 0; q < 4; ++q) {
            int x = (q % 2) * 16 + 8, y = (q / 2) * 16 + 8;
            if (c.depth == 8) {
                EXPECT_NEAR(bitmap.GetLineTable()[y][x], q * 80, 2);
                EXPECT_EQ(bitmap.GetPalette()[q * 80].red, q * 80);  // the grey ramp
            } else {
                Bgra p = PixelAt(bitmap, x, y);
                EXPECT_NEAR(p.blue, q * 80, 2);
                EXPECT_EQ(p.blue, p.green);
                EXPECT_EQ(p.green, p.red);
                EXPECT_EQ(p.alpha, 255);
            }
        }
    }
}

TEST(JpegDecoder, TruncatedDataStillDecodes) {
    Bytes jpeg = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kSide, kSide,
                                          QuarterPixels(test_support::JpegKind::YCbCr));
    jpeg.resize(jpeg.size() - 60);  // inside the entropy-coded data
    CJPEGDecoder decoder;
    CWinBmp bitmap;
    EXPECT_NO_THROW(DecodeBytes(decoder, jpeg, bitmap, 32));
    EXPECT_EQ(bitmap.GetSize(), std::make_pair(kSide, kSide));
    // The top-left quarter was complete before the cut.
    EXPECT_NEAR(PixelAt(bitmap, 4, 4).red, 255, kTolerance);
}

TEST(JpegDecoder, FailuresCarryLibjpegTextAndTheNextPictureDecodes) {
    Bytes good = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kSide, kSide,
                                          QuarterPixels(test_support::JpegKind::YCbCr));
    Bytes badPrecision = good;
    // SOF0 sample precision byte set to 7.
    for (std::size_t i = 0; i + 4 < badPrecision.size(); ++i) {
        if (badPrecision[i] == 0xFF && badPrecision[i + 1] == 0xC0) {
            badPrecision[i + 4] = 7;
            break;
        }
    }
    const Refusal kCases[] = {
        {"not a JPEG",
         {0x00, 0x11, 0x22, 0x33},
         DECERR_UNSUPPORTED,
         "Decoder error: Not a JPEG file: starts with 0x00 0x11\n\n"},
        {"headers only", Bytes(good.begin(), good.begin() + 100), DECERR_UNSUPPORTED, nullptr},
        {"bad precision", badPrecision, DECERR_UNSUPPORTED, "Decoder error: Unsupported JPEG data precision 7\n\n"},
    };
    CJPEGDecoder decoder;
    for (const Refusal& c : kCases) {
        SCOPED_TRACE(c.name);
        CWinBmp bitmap;
        ExpectRefusal(decoder, c, bitmap);
        // The same decoder object goes on with the next picture.
        CWinBmp next;
        DecodeBytes(decoder, good, next, 32);
        EXPECT_NEAR(PixelAt(next, 24, 8).green, 255, kTolerance);
    }
}

// A JPEG header asking for width x height, with nothing behind the frame.
Bytes JpegHeaderOnly(std::uint16_t width, std::uint16_t height) {
    Bytes jpeg = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, 8, 8, Bytes(8 * 8 * 3, 128));
    for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            break;
        }
    }
    return jpeg;
}

TEST(JpegDecoder, OversizedHeadersFailBeforeAllocating) {
    CJPEGDecoder decoder;
    struct Case {
        std::uint16_t width, height;
        int code;
        const char* text;
    };
    // libjpeg refuses sides above 65500 itself; 30000 x 30000 and 16385 x
    // 16385 pass it but exceed 2^28 pixels.
    const Case kCases[] = {
        {65535, 65535, DECERR_UNSUPPORTED, "Maximum supported image dimension is 65500 pixels"},
        {30000, 30000, DECERR_FORMAT, "Picture too large: 30000 x 30000 pixels."},
        {16385, 16385, DECERR_FORMAT, "Picture too large: 16385 x 16385 pixels."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.width);
        CWinBmp bitmap;
        Failure failure = CatchFailure([&] { DecodeBytes(decoder, JpegHeaderOnly(c.width, c.height), bitmap, 32); });
        EXPECT_EQ(failure.code, c.code);
        EXPECT_NE(failure.text.find(c.text), std::string::npos) << failure.text;
        EXPECT_EQ(bitmap.GetSize(), std::make_pair(16, 16));
    }
    // A lower limit set on the decoder applies the same way.
    decoder.SetPictureLimits(1000, std::int64_t{1} << 30);
    CWinBmp bitmap;
    EXPECT_EQ(CatchFailure([&] { DecodeBytes(decoder, JpegHeaderOnly(40, 40), bitmap, 32); }).code, DECERR_FORMAT);
}

}  // namespace

namespace {

// A photo-like picture: smooth gradients with gentle waves, no flat areas.
Bytes PhotoPixels(int width, int height) {
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double wave = 24 * std::sin(x / 23.0) * std::cos(y / 31.0);
            auto clamp = [](double v) { return static_cast<std::uint8_t>(std::min(255.0, std::max(0.0, v))); };
            pixels.push_back(clamp(40 + 170.0 * x / width + wave));
            pixels.push_back(clamp(200 - 150.0 * y / height + wave));
            pixels.push_back(clamp(90 + 60.0 * (x + y) / (width + height) - wave));
        }
    }
    return pixels;
}

// The full picture shrunk by `n` the plain way: each pixel the average of an
// n x n square (the squares at the right and bottom edges may be cut short).
std::vector<int> AverageDown(const CWinBmp& full, int n, int width, int height) {
    std::vector<int> out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int channel = 0; channel < 3; ++channel) {
                int sum = 0, count = 0;
                for (int dy = 0; dy < n && y * n + dy < full.GetHeight(); ++dy) {
                    for (int dx = 0; dx < n && x * n + dx < full.GetWidth(); ++dx) {
                        sum += full.GetLineTable()[y * n + dy][4 * (x * n + dx) + channel];
                        ++count;
                    }
                }
                out.push_back((sum + count / 2) / count);
            }
        }
    }
    return out;
}

// A reduced decode picks the largest reduction libjpeg offers that still
// covers the size asked for, and its pixels are the full picture's averaged
// down: the same as decoding in full and shrinking, within a few steps.
TEST(JpegDecoder, ReducedDecodeMatchesTheFullPictureAveragedDown) {
    constexpr int kWidth = 800, kHeight = 600;
    Bytes jpeg =
        test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kWidth, kHeight, PhotoPixels(kWidth, kHeight), 95);
    CJPEGDecoder decoder;
    CWinBmp full;
    DecodeBytes(decoder, jpeg, full, 32);
    struct Case {
        int minWidth, minHeight;
        int reduction;  // 1/reduction of each side
    };
    const Case kCases[] = {
        {100, 75, 8}, {101, 75, 4}, {100, 76, 4}, {200, 150, 4}, {201, 1, 2}, {400, 300, 2}, {400, 301, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.minWidth) + "x" + std::to_string(c.minHeight));
        CDataSource source;
        source.OpenData("memory", jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
        CWinBmp reduced;
        decoder.DecodeSourceReduced(&source, &reduced, 32, c.minWidth, c.minHeight);
        int width = kWidth / c.reduction, height = kHeight / c.reduction;
        ASSERT_EQ(reduced.GetSize(), std::make_pair(width, height));
        std::vector<int> want = AverageDown(full, c.reduction, width, height);
        long total = 0;
        int worst = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                for (int channel = 0; channel < 3; ++channel) {
                    int d = std::abs(reduced.GetLineTable()[y][4 * x + channel] -
                                     want[static_cast<std::size_t>((y * width + x) * 3 + channel)]);
                    total += d;
                    worst = std::max(worst, d);
                }
            }
        }
        EXPECT_LE(static_cast<double>(total) / (width * height * 3), 1.0);
        EXPECT_LE(worst, 4);
    }
}

// Fitting a picture into a box decodes no more than the shrunk picture needs,
// and tells the picture's own size.
TEST(JpegDecoder, DecodeToFitTellsTheRealSize) {
    CJPEGDecoder decoder;
    struct Case {
        int width, height;
        int boxWidth, boxHeight;
        std::pair<int, int> decoded;
    };
    const Case kCases[] = {
        // 800 x 600 in 350 x 186 is shown at 248 x 186: 1/2 of it is the
        // smallest reduction at least that large.
        {800, 600, 350, 186, {400, 300}},
        {800, 600, 100, 1000, {100, 75}},
        // A box larger than the picture never enlarges it.
        {800, 600, 2000, 2000, {800, 600}},
        // 800 x 1007 in 1000 x 126 is shown at 100.1 x 126: the shown size
        // is rounded up, so 1/8 (100 x 126) is too small.
        {800, 1007, 1000, 126, {200, 252}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " in " + std::to_string(c.boxWidth));
        Bytes jpeg = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, c.width, c.height,
                                              PhotoPixels(c.width, c.height), 90);
        CDataSource source;
        source.OpenData("memory", jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
        CWinBmp bitmap;
        PictureHeader header = decoder.DecodeSourceToFit(&source, &bitmap, 32, c.boxWidth, c.boxHeight);
        EXPECT_EQ(std::make_pair(header.width, header.height), std::make_pair(c.width, c.height));
        EXPECT_EQ(bitmap.GetSize(), c.decoded);
    }
}

// A reduced decode takes only the pictures a full decode takes: a picture too
// large to decode in full is not shown either, however small its reduction.
TEST(JpegDecoder, ReducedDecodeTakesOnlyWhatAFullDecodeTakes) {
    Bytes jpeg = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, 400, 300, PhotoPixels(400, 300), 90);
    CJPEGDecoder decoder;
    decoder.SetPictureLimits(kMaxPixelCount, 200000);  // the full bitmap takes 480,040 bytes
    for (int reduceTo : {0, 50}) {
        SCOPED_TRACE(reduceTo);
        CDataSource source;
        source.OpenData("memory", jpeg.data(), static_cast<std::int32_t>(jpeg.size()));
        CWinBmp bitmap;
        Failure failure = CatchFailure([&] { decoder.DecodeSourceReduced(&source, &bitmap, 32, reduceTo, reduceTo); });
        EXPECT_EQ(failure.code, DECERR_FORMAT) << failure.text;
    }
}

}  // namespace
}  // namespace ovlet::picture
