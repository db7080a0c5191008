#include "card/archive_string.h"

#include <gtest/gtest.h>

#include "card_test_support.h"

namespace ovlet::card {
namespace {

struct EncodeCase {
    std::size_t length;
    test_support::Bytes prefix;  // the bytes before the text
};

TEST(ArchiveString, WritesTheShortestFormAndReadsItBack) {
    const EncodeCase cases[] = {
        {0, {0x00}},
        {3, {0x03}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (c.length > 0) text.back() = 'z';
        test_support::Bytes out;
        WriteArchiveString(out, text);
        ASSERT_EQ(out.size(), c.prefix.size() + c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), out.begin()));
        CardByteReader reader(out.data(), out.size());
        std::string back;
        ASSERT_EQ(ReadArchiveString(reader, back), ArchiveStringStatus::Ok);
        EXPECT_EQ(back, text);
        EXPECT_EQ(reader.Remaining(), 0u);
    }
}

struct ReadCase {
    const char* name;
    test_support::Bytes bytes;
    ArchiveStringStatus status;
    std::string text;
};

TEST(ArchiveString, ReadsEveryFormAndRefusesWhatCannotBe) {
    const ReadCase cases[] = {
        {"abc", {0x03, 'a', 'b', 'c'}, ArchiveStringStatus::Ok, "abc"},
        {"16-bit form for a short string", {0xFF, 0x03, 0x00, 'a', 'b', 'c'}, ArchiveStringStatus::Ok, "abc"},
        {"32-bit form for a short string", {0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 'h', 'i'}, ArchiveStringStatus::Ok, "hi"},
        {"wide text", {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0xE9, 0, 0xAC, 0x20}, ArchiveStringStatus::Ok, "a\xE9\x80"},
        {"wide text outside the code page",
         {0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x01, 'b', 0},
         ArchiveStringStatus::Ok,
         "?b"},
        {"wide surrogate pair", {0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}, ArchiveStringStatus::Ok, "?"},
        {"wide text with a 16-bit length", {0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'q', 0}, ArchiveStringStatus::Ok, "q"},
        {"empty wide text", {0xFF, 0xFE, 0xFF, 0x00}, ArchiveStringStatus::Ok, ""},
        {"second wide marker", {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a', 0}, ArchiveStringStatus::Damaged, ""},
        {"nothing at all", {}, ArchiveStringStatus::PastEnd, ""},
        {"ends in the 16-bit length", {0xFF, 0x03}, ArchiveStringStatus::PastEnd, ""},
        {"ends in the 32-bit length", {0xFF, 0xFF, 0xFF, 0x01, 0x00}, ArchiveStringStatus::PastEnd, ""},
        {"ends in the text", {0x05, 'a', 'b'}, ArchiveStringStatus::PastEnd, ""},
        {"ends in the wide text", {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}, ArchiveStringStatus::PastEnd, ""},
        {"hostile 32-bit length", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, ArchiveStringStatus::PastEnd, ""},
        {"hostile wide length",
         {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
         ArchiveStringStatus::PastEnd,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CardByteReader reader(c.bytes.data(), c.bytes.size());
        std::string text = "unchanged";
        ASSERT_EQ(ReadArchiveString(reader, text), c.status);
        if (c.status == ArchiveStringStatus::Ok) {
            EXPECT_EQ(text, c.text);
        }
    }
}

}  // namespace
}  // namespace ovlet::card
