#include "exchange/qr_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>

#include "card_test_support.h"
#include "peer_readers.h"
#include "tests/support/run_tool.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

// The three readers every code must satisfy: zbarimg, zxing-cpp through its
// Python binding (tests/exchange/qr_zxing.py), and ZXing in Java, run once
// for all codes (peer_readers.h).
std::string ZbarDecode(const std::filesystem::path& png) {
    return test_support::RunShell("zbarimg --raw -q -Sbinary '" + png.string() + "' 2>/dev/null").out;
}
std::string ZxingDecode(const std::filesystem::path& png) {
    return test_support::RunShell("/usr/bin/python3 '" OVLET_TESTS_DIR "/exchange/qr_zxing.py' '" + png.string() + "'")
        .out;
}

std::uint32_t PngWidth(const std::vector<std::uint8_t>& png) {
    if (png.size() < 24) return 0;
    return (std::uint32_t{png[16]} << 24) | (std::uint32_t{png[17]} << 16) | (std::uint32_t{png[18]} << 8) | png[19];
}

TEST(CardQr, ThreeReadersDecodeTheCompactVCard) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    card::CardRecord longNote = AtLimitCard();
    longNote.GeneralInformation = std::string(3000, 'n');
    card::CardRecord controls;
    controls.FirstName = "Ann\x1B]0:x\x07";
    controls.LastName = "Lee\x7F";
    controls.Phone1Number = "555\x08";
    struct Case {
        const char* name;
        card::CardRecord card;
        int maxVersion;  // the code must be this small
        int pixels;
    };
    const Case cases[] = {
        {"sample", SampleCard(), 16, 0},
        {"sample at 2 pixels a module", SampleCard(), 16, (81 + 8) * 2},
        {"every field at its limit", AtLimitCard(), 25, 0},
        {"a long general information is never in the code", longNote, 25, 900},
        {"control characters become U+FFFD", controls, 10, 0},
    };
    test_support::TempFolder dir;
    std::vector<std::filesystem::path> pngs;
    std::vector<std::string> texts;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto made = qr::EncodeCard(c.card);
        ASSERT_TRUE(made) << made.Error().Describe();
        const qr::CardCode& code = made.Value();
        EXPECT_EQ(code.code.level, 'M');
        EXPECT_LE(code.code.version, c.maxVersion);
        EXPECT_EQ(code.text, qr::CardCodeText(c.card));
        for (const char* absent : {"PHOTO", "NOTE", "UID", "LABEL"}) {
            EXPECT_EQ(code.text.find(absent), std::string::npos) << absent;
        }
        EXPECT_NE(code.text.find("VERSION:3.0\r\n"), std::string::npos);
        for (const char ch : code.text) {
            const auto b = static_cast<unsigned char>(ch);
            EXPECT_FALSE((b < 0x20 && b != '\r' && b != '\n') || b == 0x7F) << static_cast<int>(b);
        }

        const auto encoded = qr::EncodePng(code.code, c.pixels);
        ASSERT_TRUE(encoded) << encoded.Error().Describe();
        const std::vector<std::uint8_t>& png = encoded.Value();
        EXPECT_EQ(PngWidth(png), static_cast<std::uint32_t>(c.pixels ? c.pixels : code.code.PixelsAtDefault()));
        pngs.push_back(dir / (std::to_string(pngs.size()) + ".png"));
        test_support::WriteFileBytes(pngs.back(), png);
        texts.push_back(code.text);
        EXPECT_EQ(ZbarDecode(pngs.back()), code.text);
        EXPECT_EQ(ZxingDecode(pngs.back()), code.text);
    }
    const auto java = peers::ZxingRead(pngs);
    for (std::size_t i = 0; i < pngs.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(peers::One(java[i], "TEXT"), texts[i]);
    }
    EXPECT_NE(texts.back().find("FN:Ann\xEF\xBF\xBD]0:x\xEF\xBF\xBD Lee\xEF\xBF\xBD\r\n"), std::string::npos)
        << texts.back();
}

// The code read back from its PNG pixel by pixel: the module size from the
// finder pattern, a light quiet zone of at least four modules on every side
// (ISO/IEC 18004), the code centred, and every module's pixels its colour.
void ExpectExactPicture(const qr::Code& code, const std::vector<std::uint8_t>& png, int pixels) {
    picture::CAnyPicDecoder decoder;
    picture::CWinBmp bitmap;
    decoder.DecodeMemory("code", png.data(), static_cast<std::int32_t>(png.size()), &bitmap, 32);
    ASSERT_EQ(bitmap.GetWidth(), pixels);
    ASSERT_EQ(bitmap.GetHeight(), pixels);
    auto dark = [&](int x, int y) {
        const std::uint8_t* p = bitmap.GetLineTable()[y] + 4 * x;
        EXPECT_TRUE(p[0] == 0 || p[0] == 255) << "pure black or white at " << x << "," << y;
        return p[0] == 0;
    };
    int left = pixels, top = pixels, right = -1, bottom = -1;
    for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x) {
            if (!dark(x, y)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_LE(left, right) << "no dark pixel";
    int run = 0;
    while (left + run <= right && dark(left + run, top)) ++run;
    ASSERT_EQ(run % 7, 0) << "the finder pattern is 7 modules wide";
    const int module = run / 7;
    EXPECT_EQ(right - left + 1, code.width * module);
    EXPECT_EQ(bottom - top + 1, code.width * module);
    const int margins[] = {left, top, pixels - 1 - right, pixels - 1 - bottom};
    for (const int margin : margins) EXPECT_GE(margin, 4 * module) << "quiet zone";
    EXPECT_LE(std::abs(margins[0] - margins[2]), 1) << "centred across";
    EXPECT_LE(std::abs(margins[1] - margins[3]), 1) << "centred down";
    int wrong = 0;
    for (int y = 0; y < code.width * module; ++y) {
        for (int x = 0; x < code.width * module; ++x) {
            if (dark(left + x, top + y) != code.Dark(x / module, y / module)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels that differ from their module";
}

TEST(CardQr, PngHasItsQuietZoneOnEverySideAndEveryModuleExact) {
    const auto made = qr::EncodeCard(SampleCard());
    ASSERT_TRUE(made) << made.Error().Describe();
    const qr::CardCode& card = made.Value();
    const int span = card.code.width + 8;
    for (const int pixels : {0, 2 * span, 3 * span + 2, 5 * span - 1, 7 * span + 3}) {
        SCOPED_TRACE(pixels);
        const auto png = qr::EncodePng(card.code, pixels);
        ASSERT_TRUE(png) << png.Error().Describe();
        ExpectExactPicture(card.code, png.Value(), pixels ? pixels : span * qr::kDefaultModulePixels);
    }
}

TEST(CardQr, LevelMUnlessOnlyLFits) {
    struct Case {
        std::size_t bytes;
        char level;  // 0: does not fit
    };
    // Version 25 holds 1273 bytes at level L and 997 at M.
    const Case cases[] = {{10, 'M'}, {535, 'M'}, {997, 'M'}, {998, 'L'}, {1273, 'L'}, {1274, 0}, {8000, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto code = qr::Encode(std::string(c.bytes, '\xA5'));
        EXPECT_EQ(static_cast<bool>(code), c.level != 0);
        if (code) {
            EXPECT_EQ(code->level, c.level);
            EXPECT_LE(code->version, 25);
            EXPECT_EQ(code->width, 17 + 4 * code->version);
        } else {
            EXPECT_EQ(code.Error().kind, ExchangeError::Kind::QrTooLong);
            EXPECT_FALSE(code.Error().Describe().empty());
        }
    }
}

TEST(CardQr, PictureSizeIsCheckedAndKept) {
    const auto made = qr::Encode("hello");
    ASSERT_TRUE(made);
    const qr::Code& code = made.Value();
    const int span = code.width + 2 * qr::kQuietZone;
    // At least two pixels a module.
    const std::pair<int, bool> cases[] = {{0, true},
                                          {2 * span, true},
                                          {2 * span - 1, false},
                                          {span, false},
                                          {span * 3 + 2, true},
                                          {qr::kMaxPixels, true},
                                          {qr::kMaxPixels + 1, false},
                                          {-5, false}};
    for (const auto& [pixels, ok] : cases) {
        SCOPED_TRACE(pixels);
        const auto png = qr::EncodePng(code, pixels);
        EXPECT_EQ(static_cast<bool>(png), ok) << (png ? "" : png.Error().Describe());
        if (!png) {
            EXPECT_EQ(png.Error().kind, ExchangeError::Kind::QrPictureSize);
        }
        if (ok && png) {
            EXPECT_EQ(PngWidth(png.Value()), static_cast<std::uint32_t>(pixels ? pixels : code.PixelsAtDefault()));
        }
    }
}

TEST(CardQr, SvgHasOneSquarePerDarkModuleAndAnEscapedTitle) {
    const auto made = qr::Encode("hello");
    ASSERT_TRUE(made);
    const qr::Code& code = made.Value();
    // A control character, which XML does not allow, becomes U+FFFD.
    const std::string svg = qr::EncodeSvg(code, "<Ann & \"Bo\">\x1b");
    EXPECT_NE(svg.find("<title>&lt;Ann &amp; &quot;Bo&quot;&gt;\xEF\xBF\xBD</title>"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 29 29\""), std::string::npos) << "21 modules and a border of 4";
    EXPECT_NE(svg.find("<rect width=\"29\" height=\"29\" fill=\"#fff\"/>"), std::string::npos)
        << "the light square under the whole picture";
    // The runs of the path, drawn again as modules, are exactly the code,
    // with four light modules on every side.
    const std::size_t start = svg.find(" d=\"") + 4;
    const std::string path = svg.substr(start, svg.find('"', start) - start);
    const std::regex run("M(\\d+) (\\d+)h(\\d+)v1h-(\\d+)z");
    std::vector<std::uint8_t> drawn(29 * 29, 0);
    std::size_t matched = 0;
    for (std::sregex_iterator it(path.begin(), path.end(), run), end; it != end; ++it) {
        matched += static_cast<std::size_t>(it->length());
        const int x = std::stoi((*it)[1]), y = std::stoi((*it)[2]), n = std::stoi((*it)[3]);
        EXPECT_EQ(n, std::stoi((*it)[4]));
        for (int i = 0; i < n; ++i) {
            ASSERT_LT(x + i, 29);
            ASSERT_LT(y, 29);
            ++drawn[static_cast<std::size_t>(y * 29 + x + i)];
        }
    }
    EXPECT_EQ(matched, path.size()) << "the path is only runs";
    int wrong = 0;
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 29; ++x) {
            const bool inside = x >= 4 && x < 25 && y >= 4 && y < 25;
            if (drawn[static_cast<std::size_t>(y * 29 + x)] != (inside && code.Dark(x - 4, y - 4) ? 1 : 0)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0) << "modules drawn wrongly, twice, or in the quiet zone";
}

}  // namespace
}  // namespace ovlet::exchange
