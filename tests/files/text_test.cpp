// UTF-8 and text for a terminal.
#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>

#include "files/terminal_text.h"
#include "files/utf8.h"

namespace ovlet::files {
namespace {

// Whether glibc's converter takes the bytes as UTF-8.
bool IconvTakesUtf8(const std::string& bytes) {
    iconv_t cd = ::iconv_open("UTF-32LE", "UTF-8");
    std::string in = bytes;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const std::size_t r = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    ::iconv_close(cd);
    return r != static_cast<std::size_t>(-1) && inLeft == 0;
}

TEST(Utf8, AgreesWithGlibcOnEdgesAndOnRandomBytes) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"plain", true},
        {"\xC3\xA9", true},
        {"\xE2\x82\xAC", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xC0\xAF", false},          // overlong
        {"\xE0\x80\xAF", false},      // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xC3", false},              // cut
        {"\xE2\x82", false},          // cut
        {"\x80", false},              // lone continuation
        {"\xFF", false},
        {"a\xC3(", false},
    };
    for (const auto& [bytes, valid] : cases) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(IsValidUtf8(bytes), valid);
        EXPECT_EQ(IconvTakesUtf8(bytes), valid) << "the table itself is wrong";
    }
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        std::string bytes(1 + random() % 6, '\0');
        for (char& b : bytes) b = static_cast<char>(0x7F + random() % 0x81);
        ASSERT_EQ(IsValidUtf8(bytes), IconvTakesUtf8(bytes)) << testing::PrintToString(bytes);
    }
}

TEST(Utf8, EncodesAndDecodesEveryLength) {
    for (const char32_t c :
         {U'\0', U'A', U'\u00E9', U'\u07FF', U'\u0800', U'\u20AC', U'\uFFFD', U'\U00010000', U'\U0010FFFF'}) {
        std::string text;
        AppendUtf8(text, c);
        std::size_t pos = 0;
        char32_t back = 0;
        EXPECT_TRUE(NextUtf8(text, pos, back));
        EXPECT_EQ(back, c);
        EXPECT_EQ(pos, text.size());
    }
}

TEST(TerminalText, EscapesWhatCouldDriveTheTerminal) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text, \xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "plain text, \xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
        {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        {"red \x1b[31m", "red \\x1b[31m"},
        {"a\r\nb\tc", "a\\r\\nb\\tc"},
        {"del\x7f", "del\\x7f"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"c1 \xC2\x9B"
         "31m",
         "c1 \\u009b31m"},
        {"\xC2\x85", "\\u0085"},
        {"bidi \xE2\x80\xAE"
         "txt",
         "bidi \\u202etxt"},
        {"isolate \xE2\x81\xA6", "isolate \\u2066"},
        {"not utf-8 \xFF\xC3", "not utf-8 \\xff\\xc3"},
        {"back\\slash", "back\\slash"},
    };
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(in);
        EXPECT_EQ(TerminalSafe(in), out);
    }
    EXPECT_EQ(TerminalSafe("two\nlines\x1b", true), "two\nlines\\x1b");
}

}  // namespace
}  // namespace ovlet::files
