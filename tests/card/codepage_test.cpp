#include "card/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <set>

#include "files/utf8.h"

namespace ovlet::card {
namespace {

// glibc's own Windows-1252 table, as an independent source.
class Iconv {
public:
    Iconv(const char* to, const char* from) : conversion(::iconv_open(to, from)) {}
    ~Iconv() { ::iconv_close(conversion); }
    bool Valid() const { return conversion != reinterpret_cast<iconv_t>(-1); }
    // Converts whole input or gives nothing.
    std::optional<std::string> operator()(std::string in) {
        ::iconv(conversion, nullptr, nullptr, nullptr, nullptr);
        std::string out(16 + in.size() * 4, '\0');
        char* inPtr = in.data();
        char* outPtr = out.data();
        std::size_t inLeft = in.size(), outLeft = out.size();
        if (::iconv(conversion, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t conversion;
};

std::string Utf32(char32_t c) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>((c >> (8 * i)) & 0xFF);
    return s;
}

char32_t FromUtf32(const std::string& s) {
    char32_t c = 0;
    for (int i = 3; i >= 0; --i) c = (c << 8) | static_cast<unsigned char>(s[static_cast<std::size_t>(i)]);
    return c;
}

// The five bytes the code page leaves undefined; they read as the C1 control
// of the same value and go back to it, so a stored card keeps them.
const std::set<unsigned> kUndefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

TEST(Codepage, EveryByteAgreesWithGlibcBothWays) {
    Iconv toUnicode("UTF-32LE", "WINDOWS-1252");
    Iconv toUtf8("UTF-8", "WINDOWS-1252");
    Iconv fromUnicode("WINDOWS-1252", "UTF-32LE");
    ASSERT_TRUE(toUnicode.Valid() && toUtf8.Valid() && fromUnicode.Valid());
    for (unsigned b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const auto byte = static_cast<unsigned char>(b);
        const std::string ansi(1, static_cast<char>(byte));
        const auto unicode = toUnicode(ansi);
        if (kUndefined.count(b)) {
            EXPECT_FALSE(unicode.has_value()) << "glibc leaves the byte undefined";
            EXPECT_EQ(ToUnicode(byte), static_cast<char32_t>(b));
            EXPECT_EQ(FromUnicode(b), byte);
            continue;
        }
        ASSERT_TRUE(unicode.has_value());
        const char32_t c = FromUtf32(*unicode);
        EXPECT_EQ(ToUnicode(byte), c);
        EXPECT_EQ(FromUnicode(c), byte);
        EXPECT_EQ(Utf8FromAnsi(ansi), toUtf8(ansi).value());
        if (b > 0) {
            EXPECT_EQ(AnsiFromUtf8(toUtf8(ansi).value()), ansi);
        }
    }
    // And from the other side: every character of the Basic Multilingual
    // Plane (and a few beyond) that glibc maps to a byte, and no other.
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const auto byte = fromUnicode(Utf32(c));
        const auto ours = FromUnicode(c);
        if (kUndefined.count(c)) {
            EXPECT_EQ(ours, static_cast<unsigned char>(c));
            continue;
        }
        ASSERT_EQ(ours.has_value(), byte.has_value()) << std::hex << static_cast<unsigned>(c);
        if (byte) {
            ASSERT_EQ(*ours, static_cast<unsigned char>((*byte)[0])) << std::hex << static_cast<unsigned>(c);
        }
    }
    for (const char32_t c : {U'\U00010000', U'\U0001F600', U'\U0010FFFF'}) EXPECT_FALSE(FromUnicode(c));
}

// An invisible C1 control is refused, never stored as the character its byte
// shows (U+0080 is not the euro sign, U+0085 not the ellipsis, U+0096 not the dash).
TEST(Codepage, TheC1ControlsAreRefused) {
    for (char32_t c = 0x80; c < 0xA0; ++c) {
        SCOPED_TRACE(static_cast<unsigned>(c));
        if (kUndefined.count(c)) continue;
        EXPECT_FALSE(FromUnicode(c).has_value());
        std::string utf8;
        files::AppendUtf8(utf8, c);
        char32_t bad = 0;
        EXPECT_FALSE(AnsiFromUtf8("x" + utf8, &bad).has_value());
        EXPECT_EQ(bad, c);
    }
}

TEST(Codepage, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const auto back = AnsiFromUtf8(Utf8FromAnsi(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Codepage, KnownCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", "\xE2\x82\xAC"},  // euro sign
        {"\x96", "\xE2\x80\x93"},  // en dash
        {"\xE9", "\xC3\xA9"},      // e acute
        {"\x9F", "\xC5\xB8"},      // Y diaeresis
    };
    for (const auto& [ansi, utf8] : cases) {
        EXPECT_EQ(Utf8FromAnsi(ansi), utf8);
        EXPECT_EQ(AnsiFromUtf8(utf8), ansi);
    }
}

TEST(Codepage, RefusesWhatTheCodePageCannotHold) {
    const std::pair<const char*, char32_t> cases[] = {
        {"Lodz \xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         0x141},                   // Polish L with stroke
        {"\xE2\x98\x83", 0x2603},  // snowman
        {"bad \xC3", 0xFFFD},      // cut sequence
        {"\xC0\xAF", 0xFFFD},      // overlong
        {"\xED\xA0\x80", 0xFFFD},  // encoded surrogate
    };
    for (const auto& [utf8, bad] : cases) {
        SCOPED_TRACE(utf8);
        char32_t found = 0;
        EXPECT_FALSE(AnsiFromUtf8(utf8, &found).has_value());
        EXPECT_EQ(found, bad);
    }
}

}  // namespace
}  // namespace ovlet::card
