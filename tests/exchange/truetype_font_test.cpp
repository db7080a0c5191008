// The TrueType reader behind the PDF canvas: a small font made in memory,
// read whole, then with one field broken at a time, cut short at every
// length, and subset. A font is a file from the system: a damaged one must
// be refused with a reason, never read past its end.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "exchange/drawing/truetype_font.h"
#include "tests/support/byte_writer.h"

namespace ovlet::exchange {
namespace {

// Glyphs of the test font: 0 missing, 1 'A' (a triangle), 2 'Á' (a
// composite of 1 and 3), 3 '€' and U+1F600 (a square), 4 the space (no outline).
constexpr int kGlyphs = 5;
constexpr unsigned kUnitsPerEm = 1000;

test_support::Bytes SimpleGlyph(int size) {
    test_support::ByteWriter g;
    g.U16Be(1).U16Be(0).U16Be(0).U16Be(static_cast<unsigned>(size)).U16Be(static_cast<unsigned>(size));
    g.U16Be(2).U16Be(0);           // endPtsOfContours, no instructions
    g.U8(0x01).U8(0x01).U8(0x01);  // three points on the curve, coordinates in words
    g.U16Be(0).U16Be(static_cast<unsigned>(size)).U16Be(0x10000u - static_cast<unsigned>(size) / 2);
    g.U16Be(0).U16Be(0).U16Be(static_cast<unsigned>(size));
    while (g.Size() % 2 != 0) g.U8(0);
    return g.bytes;
}

test_support::Bytes CompositeGlyph(std::initializer_list<unsigned> parts) {
    test_support::ByteWriter g;
    g.U16Be(0xFFFF).U16Be(0).U16Be(0).U16Be(700).U16Be(900);
    std::size_t left = parts.size();
    for (unsigned part : parts) {
        --left;
        g.U16Be(left > 0 ? 0x0020u : 0u).U16Be(part).U8(0).U8(0);  // byte offsets 0, 0
    }
    return g.bytes;
}

test_support::Bytes CharacterMap(bool withFull) {
    // Format 4: space, 'A' and 'Á' by delta; '€' through the glyph array.
    test_support::ByteWriter f4;
    const unsigned segments = 5;
    f4.U16Be(4).U16Be(0).U16Be(0).U16Be(segments * 2).U16Be(8).U16Be(2).U16Be(2);
    for (unsigned end : {0x20u, 0x41u, 0xC1u, 0x20ACu, 0xFFFFu}) f4.U16Be(end);
    f4.U16Be(0);
    for (unsigned start : {0x20u, 0x41u, 0xC1u, 0x20ACu, 0xFFFFu}) f4.U16Be(start);
    for (unsigned delta : {(4u - 0x20u) & 0xFFFF, (1u - 0x41u) & 0xFFFF, (2u - 0xC1u) & 0xFFFF, 0u, 1u})
        f4.U16Be(delta);
    // idRangeOffset of the '€' segment: from its own place to the array after the last.
    for (unsigned range : {0u, 0u, 0u, 4u, 0u}) f4.U16Be(range);
    f4.U16Be(3);  // glyphIdArray[0]
    f4.bytes[2] = static_cast<std::uint8_t>(f4.Size() >> 8);
    f4.bytes[3] = static_cast<std::uint8_t>(f4.Size());

    test_support::ByteWriter f12;
    f12.U16Be(12).U16Be(0).U32Be(16 + 12 * 4).U32Be(0).U32Be(4);
    for (auto [first, last, glyph] : {std::tuple{0x20u, 0x20u, 4u}, std::tuple{0x41u, 0x41u, 1u},
                                      std::tuple{0xC1u, 0xC1u, 2u}, std::tuple{0x1F600u, 0x1F600u, 3u}}) {
        f12.U32Be(first).U32Be(last).U32Be(glyph);
    }

    test_support::ByteWriter cmap;
    const unsigned count = withFull ? 2 : 1;
    cmap.U16Be(0).U16Be(count);
    cmap.U16Be(3).U16Be(1).U32Be(4 + 8 * count);
    if (withFull) cmap.U16Be(3).U16Be(10).U32Be(static_cast<std::uint32_t>(4 + 8 * count + f4.Size()));
    cmap.Raw(f4.bytes);
    if (withFull) cmap.Raw(f12.bytes);
    return cmap.bytes;
}

std::map<std::string, test_support::Bytes> ValidTables(bool withFullMap = false) {
    std::map<std::string, test_support::Bytes> tables;
    const test_support::Bytes outlines[kGlyphs] = {{}, SimpleGlyph(600), CompositeGlyph({1, 3}), SimpleGlyph(400), {}};
    test_support::ByteWriter glyf, loca;
    for (const test_support::Bytes& outline : outlines) {
        loca.U16Be(static_cast<unsigned>(glyf.Size() / 2));
        glyf.Raw(outline);
    }
    loca.U16Be(static_cast<unsigned>(glyf.Size() / 2));
    tables["glyf"] = glyf.bytes;
    tables["loca"] = loca.bytes;

    test_support::ByteWriter head;
    head.U32Be(0x00010000).U32Be(0).U32Be(0).U32Be(0x5F0F3CF5).U16Be(0).U16Be(kUnitsPerEm).Zeros(16);
    head.U16Be(0x10000u - 50).U16Be(0x10000u - 210).U16Be(1100).U16Be(900);  // xMin yMin xMax yMax
    head.U16Be(0).U16Be(8).U16Be(2).U16Be(0).U16Be(0);  // macStyle .. indexToLocFormat (short), glyphDataFormat
    tables["head"] = head.bytes;

    test_support::ByteWriter hhea;
    hhea.U32Be(0x00010000).U16Be(800).U16Be(0x10000u - 200).U16Be(90).U16Be(700).Zeros(22).U16Be(3);
    tables["hhea"] = hhea.bytes;
    test_support::ByteWriter maxp;
    maxp.U32Be(0x00005000).U16Be(kGlyphs);
    tables["maxp"] = maxp.bytes;
    test_support::ByteWriter hmtx;
    for (unsigned advance : {500u, 600u, 700u}) hmtx.U16Be(advance).U16Be(0);
    hmtx.U16Be(0).U16Be(0);  // left side bearings of glyphs 3 and 4
    tables["hmtx"] = hmtx.bytes;
    tables["cmap"] = CharacterMap(withFullMap);

    test_support::ByteWriter name;
    const std::string psName = "Test-Regular";
    name.U16Be(0).U16Be(1).U16Be(6 + 12);
    name.U16Be(3).U16Be(1).U16Be(0x409).U16Be(6).U16Be(static_cast<unsigned>(psName.size() * 2)).U16Be(0);
    for (char c : psName) name.U16Be(static_cast<unsigned char>(c));
    tables["name"] = name.bytes;
    return tables;
}

// The tables as a font file, in tag order.
test_support::Bytes Assemble(const std::map<std::string, test_support::Bytes>& tables) {
    test_support::ByteWriter font;
    font.U32Be(0x00010000).U16Be(static_cast<unsigned>(tables.size())).U16Be(0).U16Be(0).U16Be(0);
    std::uint32_t offset = static_cast<std::uint32_t>(12 + 16 * tables.size());
    for (const auto& [tag, data] : tables) {
        font.Raw(test_support::Bytes(tag.begin(), tag.end()))
            .U32Be(0)
            .U32Be(offset)
            .U32Be(static_cast<std::uint32_t>(data.size()));
        offset += static_cast<std::uint32_t>((data.size() + 3) / 4 * 4);
    }
    for (const auto& [tag, data] : tables) {
        font.Raw(data);
        while (font.Size() % 4 != 0) font.U8(0);
    }
    return font.bytes;
}

// Where a table's directory record is, or where the table starts.
std::size_t RecordOf(const test_support::Bytes& font, const std::string& tag) {
    for (std::size_t at = 12; at + 16 <= font.size(); at += 16) {
        if (std::memcmp(font.data() + at, tag.data(), 4) == 0) return at;
    }
    ADD_FAILURE() << "no " << tag;
    return 0;
}

std::uint32_t GetU32(const test_support::Bytes& font, std::size_t at) {
    return std::uint32_t{font[at]} << 24 | std::uint32_t{font[at + 1]} << 16 | std::uint32_t{font[at + 2]} << 8 |
           font[at + 3];
}

std::size_t TableOf(const test_support::Bytes& font, const std::string& tag) {
    return GetU32(font, RecordOf(font, tag) + 8);
}

void SetU16(test_support::Bytes& font, std::size_t at, unsigned value) {
    font.at(at) = static_cast<std::uint8_t>(value >> 8);
    font.at(at + 1) = static_cast<std::uint8_t>(value);
}

void SetU32(test_support::Bytes& font, std::size_t at, std::uint32_t value) {
    SetU16(font, at, value >> 16);
    SetU16(font, at + 2, value & 0xFFFF);
}

// The font, or nothing with `error` set to the reason (every refusal is FontUnusable).
std::optional<drawing::TrueTypeFont> ReadFont(const test_support::Bytes& bytes, std::string& error) {
    auto font = drawing::TrueTypeFont::Read(bytes);
    if (font) return std::move(font).Value();
    EXPECT_EQ(font.Error().kind, drawing::DrawingError::Kind::FontUnusable);
    error = font.Error().Describe();
    return std::nullopt;
}

TEST(TrueTypeFont, ReadsMetricsGlyphsAndName) {
    std::string error;
    const auto font = ReadFont(Assemble(ValidTables()), error);
    ASSERT_TRUE(font) << error;
    EXPECT_EQ(font->UnitsPerEm(), 1000);
    EXPECT_EQ(font->Ascender(), 800);
    EXPECT_EQ(font->Descender(), -200);
    EXPECT_EQ(font->GlyphCount(), kGlyphs);
    EXPECT_EQ(font->BoundingBox()[0], -50);
    EXPECT_EQ(font->PostScriptName(), "Test-Regular");
    const std::pair<char32_t, int> glyphs[] = {
        {U' ', 4}, {U'A', 1}, {U'\u00C1', 2}, {U'\u20AC', 3}, {U'B', 0}, {U'\uFFFF', 0}, {U'\U0001F600', 0},
    };
    for (const auto& [c, glyph] : glyphs) {
        SCOPED_TRACE(static_cast<unsigned>(c));
        EXPECT_EQ(font->GlyphOf(c), glyph);
    }
    // Glyphs past hmtx's long metrics share the last advance.
    const std::pair<std::uint16_t, int> advances[] = {{0, 500}, {1, 600}, {2, 700}, {3, 700}, {4, 700}, {999, 700}};
    for (const auto& [glyph, advance] : advances) EXPECT_EQ(font->AdvanceOf(glyph), advance) << glyph;
}

TEST(TrueTypeFont, TheWholeRangeMapIsPreferredWhereThereIsOne) {
    std::string error;
    const auto font = ReadFont(Assemble(ValidTables(true)), error);
    ASSERT_TRUE(font) << error;
    EXPECT_EQ(font->GlyphOf(U'\U0001F600'), 3);
    EXPECT_EQ(font->GlyphOf(U'A'), 1);
    EXPECT_EQ(font->GlyphOf(U'\u20AC'), 0);  // only in the basic plane's map
}

struct BrokenFont {
    const char* name;
    std::function<void(test_support::Bytes&)> breakIt;
    const char* error;  // part of the reason given; nullptr: read, and lookups stay in bounds
};

const BrokenFont kBrokenFonts[] = {
    {"not a font", [](test_support::Bytes& f) { SetU32(f, 0, 0x61626364); }, "not a TrueType font"},
    {"a collection", [](test_support::Bytes& f) { SetU32(f, 0, 0x74746366); }, "collection"},
    {"PostScript outlines", [](test_support::Bytes& f) { SetU32(f, 0, 0x4F54544F); }, "PostScript outlines"},
    {"table count past the file", [](test_support::Bytes& f) { SetU16(f, 4, 0xFFFF); }, "table directory is cut short"},
    {"head past the end", [](test_support::Bytes& f) { SetU32(f, RecordOf(f, "head") + 8, 0xFFFFFFF0); }, "head table"},
    {"head longer than the file", [](test_support::Bytes& f) { SetU32(f, RecordOf(f, "head") + 12, 0xFFFFFFFF); },
     "head table"},
    {"head too short", [](test_support::Bytes& f) { SetU32(f, RecordOf(f, "head") + 12, 20); }, "head table"},
    {"no glyf", [](test_support::Bytes& f) { std::memcpy(f.data() + RecordOf(f, "glyf"), "gly_", 4); }, "glyf table"},
    {"bad magic number", [](test_support::Bytes& f) { SetU32(f, TableOf(f, "head") + 12, 0); },
     "head table is damaged"},
    {"zero units per em", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "head") + 18, 0); },
     "head table is damaged"},
    {"unknown loca format", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "head") + 50, 7); },
     "head table is damaged"},
    {"no long metrics", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "hhea") + 34, 0); }, "glyph metrics"},
    {"more long metrics than glyphs", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "hhea") + 34, 0xFFFF); },
     "glyph metrics"},
    {"hmtx shorter than its metrics", [](test_support::Bytes& f) { SetU32(f, RecordOf(f, "hmtx") + 12, 8); },
     "glyph metrics"},
    {"no glyphs", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "maxp") + 4, 0); }, "glyph metrics"},
    {"more glyphs than loca", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "maxp") + 4, 0xFFFF); },
     "loca table is cut short"},
    {"only a Macintosh map", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "cmap") + 4, 1); },
     "no Unicode character map"},
    {"map past the table", [](test_support::Bytes& f) { SetU32(f, TableOf(f, "cmap") + 8, 0xFFFFFF00); },
     "no Unicode character map"},
    {"map longer than the table", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "cmap") + 12 + 2, 0xFFF0); },
     "no Unicode character map"},
    {"map count past the table", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "cmap") + 2, 0xFFFF); }, nullptr},
    {"segment count past the map", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "cmap") + 12 + 6, 0xFFFE); },
     nullptr},
    {"glyph array offset past the map",
     [](test_support::Bytes& f) { SetU16(f, TableOf(f, "cmap") + 12 + 14 + 4 * 10 + 2 + 6, 0xFFF0); }, nullptr},
    {"delta past the glyph count",
     [](test_support::Bytes& f) { SetU16(f, TableOf(f, "cmap") + 12 + 14 + 2 * 10 + 2 + 2, 0x1000); }, nullptr},
    {"name strings past the table", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "name") + 4, 0xFFFF); }, nullptr},
    {"name count past the table", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "name") + 2, 0xFFFF); }, nullptr},
    {"loca pointing past glyf", [](test_support::Bytes& f) { SetU16(f, TableOf(f, "loca") + 4, 0xFFFF); }, nullptr},
};

class BrokenFonts : public ::testing::TestWithParam<BrokenFont> {};

TEST_P(BrokenFonts, AreRefusedWithAReasonOrReadWithinTheirBytes) {
    test_support::Bytes bytes = Assemble(ValidTables());
    GetParam().breakIt(bytes);
    std::string error;
    const auto font = ReadFont(bytes, error);
    if (GetParam().error != nullptr) {
        ASSERT_FALSE(font);
        EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
        return;
    }
    ASSERT_TRUE(font) << error;
    for (char32_t c : {U' ', U'A', U'\u00C1', U'\u20AC', U'\U0001F600'}) {
        EXPECT_LT(font->GlyphOf(c), kGlyphs);
    }
    const test_support::Bytes subset = font->Subset({1, 2, 3, 4});
    EXPECT_TRUE(ReadFont(subset, error).has_value() || !error.empty());
}

std::string BrokenName(const ::testing::TestParamInfo<BrokenFont>& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenFonts, ::testing::ValuesIn(kBrokenFonts), BrokenName);

TEST(TrueTypeFont, EveryCutShortFontEndsCleanly) {
    const test_support::Bytes whole = Assemble(ValidTables(true));
    const std::size_t needed = TableOf(whole, "maxp") + 6;  // the last table Read needs ends here or before
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        // Only the bytes of the prefix: a read past them is a read past the end.
        std::string error;
        const auto font =
            ReadFont(test_support::Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)), error);
        if (!font) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_GE(length, needed);
        EXPECT_LT(font->GlyphOf(U'A'), kGlyphs);
    }
}

// A glyph's outline bytes in a font file, by its loca table.
test_support::Bytes OutlineOf(const test_support::Bytes& font, unsigned glyph) {
    const std::size_t loca = TableOf(font, "loca"), glyf = TableOf(font, "glyf");
    const bool longOffsets = font[TableOf(font, "head") + 51] == 1;
    std::size_t begin = 0, end = 0;
    if (longOffsets) {
        begin = GetU32(font, loca + 4 * glyph);
        end = GetU32(font, loca + 4 * glyph + 4);
    } else {
        begin = 2 * (std::size_t{font[loca + 2 * glyph]} << 8 | font[loca + 2 * glyph + 1]);
        end = 2 * (std::size_t{font[loca + 2 * glyph + 2]} << 8 | font[loca + 2 * glyph + 3]);
    }
    return test_support::Bytes(font.begin() + static_cast<std::ptrdiff_t>(glyf + begin),
                               font.begin() + static_cast<std::ptrdiff_t>(glyf + end));
}

TEST(TrueTypeFont, ASubsetKeepsTheGlyphsDrawnAndTheirParts) {
    const test_support::Bytes whole = Assemble(ValidTables());
    std::string error;
    const auto font = ReadFont(whole, error);
    ASSERT_TRUE(font) << error;
    struct Case {
        const char* name;
        std::set<std::uint16_t> drawn;
        std::set<unsigned> kept;  // glyphs with an outline in the subset
    };
    const Case cases[] = {
        {"one simple glyph", {1}, {1}},
        {"a composite brings its parts", {2}, {1, 2, 3}},
        {"glyphs without outlines", {4}, {}},
        {"glyph numbers past the font", {1, 999}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test_support::Bytes subset = font->Subset(c.drawn);
        const auto read = ReadFont(subset, error);
        ASSERT_TRUE(read) << error;
        EXPECT_EQ(read->GlyphCount(), kGlyphs);
        for (unsigned glyph = 0; glyph < kGlyphs; ++glyph) {
            const test_support::Bytes outline = OutlineOf(subset, glyph);
            if (c.kept.count(glyph) != 0) {
                const test_support::Bytes original = OutlineOf(whole, glyph);
                // Outlines are padded to four bytes in the subset.
                ASSERT_GE(outline.size(), original.size()) << glyph;
                EXPECT_TRUE(std::equal(original.begin(), original.end(), outline.begin())) << glyph;
            } else {
                EXPECT_TRUE(outline.empty()) << glyph;
            }
            EXPECT_EQ(read->AdvanceOf(static_cast<std::uint16_t>(glyph)),
                      font->AdvanceOf(static_cast<std::uint16_t>(glyph)));
        }
        // The whole file sums to the value head's checksum adjustment aims at.
        std::uint32_t sum = 0;
        for (std::size_t at = 0; at + 4 <= subset.size(); at += 4) sum += GetU32(subset, at);
        EXPECT_EQ(subset.size() % 4, 0u);
        EXPECT_EQ(sum, 0xB1B0AFBAu);
    }
}

TEST(TrueTypeFont, CompositesThatReferToThemselvesEnd) {
    auto tables = ValidTables();
    // Glyph 2 made of itself and of glyph 3, and glyph 3 of glyph 2.
    const test_support::Bytes loop2 = CompositeGlyph({2, 3});
    const test_support::Bytes loop3 = CompositeGlyph({2, 60000});
    test_support::Bytes& glyf = tables["glyf"];
    const std::size_t firstOf2 = SimpleGlyph(600).size();
    glyf.resize(firstOf2);
    glyf.insert(glyf.end(), loop2.begin(), loop2.end());
    glyf.insert(glyf.end(), loop3.begin(), loop3.end());
    test_support::ByteWriter loca;
    for (std::size_t at : {std::size_t{0}, std::size_t{0}, firstOf2, firstOf2 + loop2.size(),
                           firstOf2 + loop2.size() + loop3.size(), glyf.size()}) {
        loca.U16Be(static_cast<unsigned>(at / 2));
    }
    tables["loca"] = loca.bytes;
    std::string error;
    const auto font = ReadFont(Assemble(tables), error);
    ASSERT_TRUE(font) << error;
    const auto subset = ReadFont(font->Subset({2}), error);
    ASSERT_TRUE(subset) << error;
    EXPECT_EQ(subset->GlyphCount(), kGlyphs);
}

TEST(TrueTypeFont, TheLicenceDecidesWhetherItMayBeEmbedded) {
    const std::pair<unsigned, bool> cases[] = {
        {0x0000, true},   // installable
        {0x0004, true},   // preview and print
        {0x0008, true},   // editable
        {0x0002, false},  // restricted
        {0x0208, false},  // bitmaps only
    };
    for (const auto& [fsType, may] : cases) {
        SCOPED_TRACE(fsType);
        auto tables = ValidTables();
        test_support::ByteWriter os2;
        os2.U16Be(1).U16Be(500).U16Be(400).U16Be(5).U16Be(fsType);
        tables["OS/2"] = os2.bytes;
        std::string error;
        const auto font = ReadFont(Assemble(tables), error);
        ASSERT_TRUE(font) << error;
        EXPECT_EQ(font->MayEmbed(), may);
    }
}

// The system's own fonts, where the Liberation fonts are installed (Linux).
TEST(TrueTypeFont, ReadsTheLiberationFonts) {
    for (const char* name : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"}) {
        const std::filesystem::path path = std::filesystem::path("/usr/share/fonts/truetype/liberation2") / name;
        if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not installed";
        SCOPED_TRACE(name);
        std::ifstream in(path, std::ios::binary);
        test_support::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string error;
        const auto font = ReadFont(bytes, error);
        ASSERT_TRUE(font) << error;
        EXPECT_TRUE(font->MayEmbed());
        EXPECT_EQ(font->UnitsPerEm(), 2048);
        EXPECT_EQ(font->PostScriptName().rfind("LiberationSans", 0), 0u);
        // The Windows-1252 letters a card can hold, and the ellipsis of a cut line.
        for (char32_t c : {U' ', U'A', U'\u00E9', U'\u00FC', U'\u20AC', U'\u201C', U'\u201D', U'\u2026'}) {
            EXPECT_NE(font->GlyphOf(c), 0) << static_cast<unsigned>(c);
        }
        // The space is 569/2048 em wide in both weights (metrically Arial's).
        EXPECT_EQ(font->AdvanceOf(font->GlyphOf(U' ')), 569);
        const test_support::Bytes subset = font->Subset({font->GlyphOf(U'A')});
        EXPECT_LT(subset.size(), bytes.size() / 4);
    }
}

}  // namespace
}  // namespace ovlet::exchange
