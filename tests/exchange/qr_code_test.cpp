#include "exchange/qr_code.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "card_test_support.h"
#include "vcard_test_support.h"

namespace {

bool HaveZbar() {
    return std::system("command -v zbarimg >/dev/null 2>&1") == 0;
}

// What zbarimg reads from a picture, byte for byte.
std::string ZbarDecode(const std::filesystem::path& png) {
    const std::string command = "zbarimg --raw -q -Sbinary '" + png.string() + "' 2>/dev/null";
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

std::uint32_t PngWidth(const std::vector<std::uint8_t>& png) {
    if (png.size() < 24) return 0;
    return (std::uint32_t{png[16]} << 24) | (std::uint32_t{png[17]} << 16) | (std::uint32_t{png[18]} << 8) | png[19];
}

TEST(CardQr, DecodesBackToTheVCardWithoutPhoto) {
    if (!HaveZbar()) GTEST_SKIP() << "zbarimg is not installed";
    CardRecord longNote = AtLimitCard();
    longNote.GeneralInformation = std::string(3000, 'n');
    struct Case {
        const char* name;
        CardRecord card;
        vcard::Version version;
        bool noteLeftOut;
        int pixels;
    };
    const Case cases[] = {
        {"sample 4.0", SampleCard(), vcard::Version::V4_0, false, 0},
        {"sample 3.0", SampleCard(), vcard::Version::V3_0, false, 600},
        {"every field at its limit", AtLimitCard(), vcard::Version::V4_0, false, 0},
        {"general information too long for a code", longNote, vcard::Version::V4_0, true, 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qr::CardCode code;
        std::string error;
        ASSERT_TRUE(qr::EncodeCard(c.card, c.version, code, error)) << error;
        EXPECT_EQ(code.noteLeftOut, c.noteLeftOut);
        EXPECT_LE(code.code.version, qr::kMaxVersion);
        vcard::WriteOptions options{c.version, false, !c.noteLeftOut};
        EXPECT_EQ(code.text, vcard::EncodeVCard(c.card, options));

        std::vector<std::uint8_t> png;
        ASSERT_TRUE(qr::EncodePng(code.code, c.pixels, png, error)) << error;
        EXPECT_EQ(PngWidth(png), static_cast<std::uint32_t>(c.pixels ? c.pixels : code.code.PixelsAtDefault()));
        WriteBytes(dir / "code.png", png);
        EXPECT_EQ(ZbarDecode(dir / "code.png"), code.text);
    }
}

TEST(CardQr, ChoosesTheStrongestLevelThatFits) {
    struct Case {
        std::size_t bytes;
        char level;  // 0: does not fit
    };
    // Version 25 holds 1273 bytes at level L, 997 at M, 715 at Q and 535 at H.
    const Case cases[] = {{10, 'H'},  {535, 'H'}, {536, 'Q'},  {715, 'Q'}, {716, 'M'},
                          {997, 'M'}, {998, 'L'}, {1273, 'L'}, {1274, 0},  {8000, 0}};
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
    const std::pair<int, bool> cases[] = {
        {0, true}, {span, true}, {span - 1, false}, {span * 3 + 2, true}, {qr::kMaxPixels + 1, false}, {-5, false}};
    for (const auto& [pixels, ok] : cases) {
        SCOPED_TRACE(pixels);
        std::vector<std::uint8_t> png;
        EXPECT_EQ(qr::EncodePng(code, pixels, png, error), ok);
        if (ok) {
            EXPECT_EQ(PngWidth(png), static_cast<std::uint32_t>(pixels ? pixels : code.PixelsAtDefault()));
        }
    }
}

}  // namespace
