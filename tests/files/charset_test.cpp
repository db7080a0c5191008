// Character sets and UTF-16, the same on both systems: single-byte sets from
// one table, the others through glibc's iconv or Windows' code pages; all must
// give what glibc gives (the digests below were taken from it).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "files/charset.h"
#include "files/utf16.h"

namespace ovlet::files {
namespace {

std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// Each byte 0x80 to 0xFF converted alone: the digest of the UTF-8 results
// (U+FFFD for an undefined byte) and the number of undefined bytes.
struct SingleByteSet {
    const char* name;
    std::uint64_t digest;
    std::size_t undefined;
};
constexpr SingleByteSet kSingleByteSets[] = {
    {"ISO-8859-1", 0xa0d1df9e468e7b03ull, 0},   {"ISO-8859-2", 0x16a633ee0d2a541cull, 0},
    {"ISO-8859-3", 0x782b1fafbf459c89ull, 7},   {"ISO-8859-4", 0x2e689fed0431d6f9ull, 0},
    {"ISO-8859-5", 0x7019d82d02b8d8e1ull, 0},   {"ISO-8859-6", 0x91c5e1052c042a88ull, 45},
    {"ISO-8859-7", 0xf8458faa7558824full, 3},   {"ISO-8859-8", 0xf1f8d8e038ec608bull, 36},
    {"ISO-8859-9", 0xeb19e66d21c83184ull, 0},   {"ISO-8859-13", 0x16a22f1d30edf1abull, 0},
    {"ISO-8859-15", 0xb0add27663527966ull, 0},  {"windows-1250", 0x05c4a115103567e8ull, 5},
    {"windows-1251", 0x944d6898b5ce7878ull, 1}, {"windows-1252", 0x03d1cf46dbf503c9ull, 5},
    {"windows-1253", 0x4fbbb2c85aa5023dull, 17}, {"windows-1254", 0xddc4b409a185539full, 7},
    {"windows-1256", 0x02045e5faa1db9fdull, 0},
    {"windows-1257", 0xff7cdda929caea43ull, 12}, {"windows-874", 0x339dccd916b9ae25ull, 31}, {"KOI8-R", 0x28eb8909152ef353ull, 0},
    {"KOI8-U", 0x770dc51a742658cfull, 0},       {"IBM437", 0x4ad61d29b6083459ull, 0},
    {"IBM850", 0x7255d8a739b8d315ull, 0},       {"IBM852", 0x406c12a4a1f1bffeull, 0},
    {"IBM866", 0x0c0dcdf561b798a4ull, 0},       {"macintosh", 0x421cd2a3c63a0512ull, 0},
};

TEST(Charset, EverySingleByteSetGivesGlibcsCharacters) {
    for (const SingleByteSet& set : kSingleByteSets) {
        SCOPED_TRACE(set.name);
        std::string all;
        std::size_t undefined = 0;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            std::string utf8;
            std::size_t invalid = 0;
            ASSERT_TRUE(ConvertToUtf8(std::string(1, static_cast<char>(byte)), set.name, utf8, invalid));
            all += utf8;
            undefined += invalid;
        }
        EXPECT_EQ(undefined, set.undefined);
        EXPECT_EQ(Fnv1a(all), set.digest);
    }
}

TEST(Charset, MultiByteSetsAndUnknownNames) {
    struct Case {
        const char* charset;
        std::string bytes;
        std::string utf8;
        std::size_t invalid;
    };
    const Case cases[] = {
        {"Shift_JIS", "\x93\x8C\x8B\x9E", "\xE6\x9D\xB1\xE4\xBA\xAC", 0},  // Tokyo
        {"Shift_JIS", "a\x81", "a\xEF\xBF\xBD", 1},                        // a lead byte cut at the end
        {"GBK", "\xB1\xB1\xBE\xA9", "\xE5\x8C\x97\xE4\xBA\xAC", 0},        // Beijing
        {"Big5", "\xA5\x78\xA5\x5F", "\xE5\x8F\xB0\xE5\x8C\x97", 0},       // Taipei
        {"EUC-KR", "\xBC\xAD\xBF\xEF", "\xEC\x84\x9C\xEC\x9A\xB8", 0},     // Seoul
        {"UTF-8", "a\xC3\xA9\xFFz", "a\xC3\xA9\xEF\xBF\xBDz", 1},
        {"US-ASCII", "a\xE9z", "a\xEF\xBF\xBDz", 1},
        {"latin1", "\xE9", "\xC3\xA9", 0},
        {"ISO-8859-7", "\xC1\xE8\xDE\xED\xE1", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", 0},  // Athens
        {"windows-1251", "\xCC\xEE\xF1\xEA\xE2\xE0", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", 0},
        {"ISO-8859-15", "\xA4\xA6", "\xE2\x82\xAC\xC5\xA0", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charset);
        std::string utf8;
        std::size_t invalid = 99;
        ASSERT_TRUE(ConvertToUtf8(c.bytes, c.charset, utf8, invalid));
        EXPECT_EQ(utf8, c.utf8);
        EXPECT_EQ(invalid, c.invalid);
    }
    std::string utf8;
    std::size_t invalid = 0;
    for (const char* refused : {"X-NO-SUCH-SET", "UTF-8//IGNORE", "../../etc/passwd", ""}) {
        EXPECT_FALSE(ConvertToUtf8("x", refused, utf8, invalid)) << refused;
    }
}

TEST(Utf16, RoundTripsAndReplacesWhatCannotBeKept) {
    struct Case {
        const char* name;
        std::string utf8;
        std::u16string utf16;
        bool lossless;
    };
    const Case cases[] = {
        {"ascii", "Ann", u"Ann", true},
        {"latin and cjk", "M\xC3\xBCller_\xE5\x90\x8D\xE5\x88\xBA", u"M\u00FCller_\u540D\u523A", true},
        {"astral", "\xF0\x9F\x98\x80", u"\U0001F600", true},
        {"bad byte", "a\xFF", u"a\uFFFD", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool lossless = false;
        EXPECT_EQ(Utf16FromUtf8(c.utf8, &lossless), c.utf16);
        EXPECT_EQ(lossless, c.lossless);
        if (c.lossless) {
            EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
        }
    }
    // A lone surrogate (a Windows file name may hold one) becomes U+FFFD.
    bool lossless = true;
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, u'\xD800') + u"x", &lossless), "\xEF\xBF\xBDx");
    EXPECT_FALSE(lossless);
}

}  // namespace
}  // namespace ovlet::files
