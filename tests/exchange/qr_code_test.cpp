#include "exchange/qr_code.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "card_test_support.h"
#include "vcard_test_support.h"

namespace {

// The two readers every code must satisfy: zbarimg, and zxing-cpp through
// its Python binding (tests/exchange/qr_zxing.py).
std::string ZbarDecode(const std::filesystem::path& png) {
    return RunShell("zbarimg --raw -q -Sbinary '" + png.string() + "' 2>/dev/null").out;
}
std::string ZxingDecode(const std::filesystem::path& png) {
    return RunShell("/usr/bin/python3 '" OVLET_TESTS_DIR "/exchange/qr_zxing.py' '" + png.string() + "'").out;
}

std::uint32_t PngWidth(const std::vector<std::uint8_t>& png) {
    if (png.size() < 24) return 0;
    return (std::uint32_t{png[16]} << 24) | (std::uint32_t{png[17]} << 16) | (std::uint32_t{png[18]} << 8) | png[19];
}

TEST(CardQr, TwoReadersDecodeTheCompactVCard) {
    CardRecord longNote = AtLimitCard();
    longNote.GeneralInformation = std::string(3000, 'n');
    struct Case {
        const char* name;
        CardRecord card;
        int maxVersion;  // the code must be this small
        int pixels;
    };
    const Case cases[] = {
        {"sample", SampleCard(), 16, 0},
        {"sample at 2 pixels a module", SampleCard(), 16, (81 + 8) * 2},
        {"every field at its limit", AtLimitCard(), 25, 0},
        {"a long general information is never in the code", longNote, 25, 900},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qr::CardCode code;
        std::string error;
        ASSERT_TRUE(qr::EncodeCard(c.card, code, error)) << error;
        EXPECT_EQ(code.code.level, 'M');
        EXPECT_LE(code.code.version, c.maxVersion);
        EXPECT_EQ(code.text, qr::CardCodeText(c.card));
        for (const char* absent : {"PHOTO", "NOTE", "UID", "LABEL"}) {
            EXPECT_EQ(code.text.find(absent), std::string::npos) << absent;
        }
        EXPECT_NE(code.text.find("VERSION:3.0\r\n"), std::string::npos);

        std::vector<std::uint8_t> png;
        ASSERT_TRUE(qr::EncodePng(code.code, c.pixels, png, error)) << error;
        EXPECT_EQ(PngWidth(png), static_cast<std::uint32_t>(c.pixels ? c.pixels : code.code.PixelsAtDefault()));
        WriteBytes(dir / "code.png", png);
        EXPECT_EQ(ZbarDecode(dir / "code.png"), code.text);
        EXPECT_EQ(ZxingDecode(dir / "code.png"), code.text);
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
        qr::Code code;
        std::string error;
        const bool fits = qr::Encode(std::string(c.bytes, '\xA5'), code, error);
        EXPECT_EQ(fits, c.level != 0) << error;
        if (fits) {
            EXPECT_EQ(code.level, c.level);
            EXPECT_LE(code.version, 25);
            EXPECT_EQ(code.width, 17 + 4 * code.version);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(CardQr, PictureSizeIsCheckedAndKept) {
    qr::Code code;
    std::string error;
    ASSERT_TRUE(qr::Encode("hello", code, error));
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
        std::vector<std::uint8_t> png;
        EXPECT_EQ(qr::EncodePng(code, pixels, png, error), ok) << error;
        if (ok) {
            EXPECT_EQ(PngWidth(png), static_cast<std::uint32_t>(pixels ? pixels : code.PixelsAtDefault()));
        }
    }
}

}  // namespace

namespace {

TEST(CardQr, SvgHasOneSquarePerDarkModuleAndAnEscapedTitle) {
    qr::Code code;
    std::string error;
    ASSERT_TRUE(qr::Encode("hello", code, error));
    // A control character, which XML does not allow, becomes U+FFFD.
    const std::string svg = qr::EncodeSvg(code, "<Ann & \"Bo\">\x1b");
    EXPECT_NE(svg.find("<title>&lt;Ann &amp; &quot;Bo&quot;&gt;\xEF\xBF\xBD</title>"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 29 29\""), std::string::npos) << "21 modules and a border of 4";
    // The runs of the path cover exactly the dark modules.
    std::size_t dark = 0;
    for (auto m : code.modules) dark += m;
    const std::size_t start = svg.find(" d=\"") + 4;
    const std::string path = svg.substr(start, svg.find('"', start) - start);
    std::size_t covered = 0;
    for (std::size_t pos = path.find('h'); pos != std::string::npos; pos = path.find('h', pos + 1)) {
        if (path[pos + 1] != '-') covered += std::stoul(path.substr(pos + 1));
    }
    EXPECT_EQ(covered, dark);
}

}  // namespace
