#include "card/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(Codepage, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const auto back = codepage::AnsiFromUtf8(codepage::Utf8FromAnsi(all));
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
        EXPECT_EQ(codepage::Utf8FromAnsi(ansi), utf8);
        EXPECT_EQ(codepage::AnsiFromUtf8(utf8), ansi);
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
        EXPECT_FALSE(codepage::AnsiFromUtf8(utf8, &found).has_value());
        EXPECT_EQ(found, bad);
    }
}

}  // namespace
