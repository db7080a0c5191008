#include "exchange/drawing/truetype_font.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace ovlet::exchange::drawing {
namespace {

// The numbers of the TrueType format (OpenType 1.9, "Font file" and the
// tables' chapters).
constexpr std::uint32_t kVersionTrueType = 0x00010000;
constexpr std::uint32_t kVersionApple = 0x74727565;        // 'true'
constexpr std::uint32_t kCollection = 0x74746366;          // 'ttcf'
constexpr std::uint32_t kPostScriptOutlines = 0x4F54544F;  // 'OTTO'
constexpr std::uint32_t kHeadMagic = 0x5F0F3CF5;
constexpr std::uint32_t kChecksumMagic = 0xB1B0AFBA;  // head.checksumAdjustment
constexpr std::size_t kDirectoryBytes = 12;
constexpr std::size_t kRecordBytes = 16;
constexpr std::size_t kHeadBytes = 54;
constexpr std::size_t kHheaBytes = 36;
constexpr std::size_t kMaxpBytes = 6;
// Composite glyph flags (glyf table).
constexpr std::uint16_t kArgsAreWords = 0x0001;
constexpr std::uint16_t kHaveScale = 0x0008;
constexpr std::uint16_t kMoreComponents = 0x0020;
constexpr std::uint16_t kHaveXYScale = 0x0040;
constexpr std::uint16_t kHaveTwoByTwo = 0x0080;
// OS/2 fsType bits that forbid embedding outlines in a document.
constexpr std::uint16_t kRestrictedEmbedding = 0x0002;
constexpr std::uint16_t kBitmapEmbeddingOnly = 0x0200;

std::uint32_t Tag(const char* text) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

// Big-endian reads that report whether the bytes are there: every read of
// the font goes through these.
class Reader {
public:
    Reader(const std::vector<std::uint8_t>& data, std::uint32_t start, std::uint32_t length)
        : bytes(data), begin(start), size(length) {}
    bool Has(std::uint32_t at, std::uint32_t count) const { return at <= size && count <= size - at; }
    bool U8(std::uint32_t at, std::uint8_t& value) const {
        if (!Has(at, 1)) return false;
        value = bytes[begin + at];
        return true;
    }
    bool U16(std::uint32_t at, std::uint16_t& value) const {
        if (!Has(at, 2)) return false;
        const std::uint8_t* p = bytes.data() + begin + at;
        value = static_cast<std::uint16_t>(p[0] << 8 | p[1]);
        return true;
    }
    bool S16(std::uint32_t at, int& value) const {
        std::uint16_t raw = 0;
        if (!U16(at, raw)) return false;
        value = raw >= 0x8000 ? static_cast<int>(raw) - 0x10000 : static_cast<int>(raw);
        return true;
    }
    bool U32(std::uint32_t at, std::uint32_t& value) const {
        if (!Has(at, 4)) return false;
        const std::uint8_t* p = bytes.data() + begin + at;
        value = static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
                static_cast<std::uint32_t>(p[2]) << 8 | p[3];
        return true;
    }
    std::uint32_t Size() const { return size; }

private:
    const std::vector<std::uint8_t>& bytes;
    std::uint32_t begin;
    std::uint32_t size;
};

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value >> 16);
    PutU16(out, value & 0xFFFF);
}

void SetU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value >> 24);
    out[at + 1] = static_cast<std::uint8_t>(value >> 16);
    out[at + 2] = static_cast<std::uint8_t>(value >> 8);
    out[at + 3] = static_cast<std::uint8_t>(value);
}

std::uint32_t Checksum(const std::vector<std::uint8_t>& data, std::size_t from, std::size_t length) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word = word << 8 | (i + k < length ? data[from + i + k] : 0u);
        }
        sum += word;
    }
    return sum;
}

// Letters, digits and '-' of a name: what a PDF name and a font name in it
// can carry without escapes.
std::string NameCharacters(const std::string& raw) {
    std::string out;
    for (char c : raw) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') out += c;
    }
    return out.substr(0, 63);
}

// The PostScript name (name id 6) from the name table: Windows' UTF-16 or
// Macintosh's single bytes; "" when there is none.
std::string ReadPostScriptName(const Reader& name) {
    std::uint16_t count = 0, strings = 0;
    if (!name.U16(2, count) || !name.U16(4, strings)) return "";
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t record = 6 + 12 * i;
        std::uint16_t platform = 0, id = 0, length = 0, offset = 0;
        if (!name.U16(record, platform) || !name.U16(record + 6, id) || !name.U16(record + 8, length) ||
            !name.U16(record + 10, offset)) {
            return "";
        }
        if (id != 6 || (platform != 1 && platform != 3)) continue;
        const std::uint32_t at = std::uint32_t{strings} + offset;
        if (!name.Has(at, length)) continue;
        std::string text;
        const std::uint32_t step = platform == 3 ? 2 : 1;
        for (std::uint32_t k = 0; k + step <= length; k += step) {
            std::uint16_t unit = 0;
            if (platform == 3) {
                name.U16(at + k, unit);
            } else {
                std::uint8_t byte = 0;
                name.U8(at + k, byte);
                unit = byte;
            }
            if (unit < 0x80) text += static_cast<char>(unit);
        }
        if (const std::string clean = NameCharacters(text); !clean.empty()) return clean;
    }
    return "";
}

}  // namespace

TrueTypeFont::Table TrueTypeFont::Find(const char tag[5]) const {
    const std::uint32_t wanted = Tag(tag);
    for (const auto& [key, table] : tables) {
        if (key == wanted) return table;
    }
    return {};
}

namespace {

DrawingError Unusable(std::string why) {
    return {DrawingError::Kind::FontUnusable, std::move(why)};
}

}  // namespace

Result<TrueTypeFont> TrueTypeFont::Read(std::vector<std::uint8_t> data) {
    TrueTypeFont font;
    font.bytes = std::move(data);
    if (font.bytes.size() > 0x7FFFFFFF) {
        return Unusable("the font file is too large");
    }
    const Reader file(font.bytes, 0, static_cast<std::uint32_t>(font.bytes.size()));
    std::uint32_t version = 0;
    std::uint16_t tableCount = 0;
    if (!file.U32(0, version) || !file.U16(4, tableCount)) {
        return Unusable("the font file is cut short");
    }
    if (version == kCollection) {
        return Unusable("the font is a collection of fonts");
    }
    if (version == kPostScriptOutlines) {
        return Unusable("the font has PostScript outlines, not TrueType ones");
    }
    if (version != kVersionTrueType && version != kVersionApple) {
        return Unusable("the file is not a TrueType font");
    }
    if (!file.Has(kDirectoryBytes, static_cast<std::uint32_t>(tableCount * kRecordBytes))) {
        return Unusable("the font's table directory is cut short");
    }
    for (std::uint32_t i = 0; i < tableCount; ++i) {
        const std::uint32_t record = static_cast<std::uint32_t>(kDirectoryBytes + i * kRecordBytes);
        std::uint32_t tag = 0;
        Table table;
        file.U32(record, tag);
        file.U32(record + 8, table.offset);
        file.U32(record + 12, table.length);
        // A table that does not lie inside the file is left out, as if missing.
        if (!file.Has(table.offset, table.length)) continue;
        table.present = true;
        if (std::none_of(font.tables.begin(), font.tables.end(), [&](const auto& t) { return t.first == tag; })) {
            font.tables.emplace_back(tag, table);
        }
    }
    const Table head = font.Find("head"), hhea = font.Find("hhea"), maxp = font.Find("maxp"), hmtx = font.Find("hmtx"),
                cmap = font.Find("cmap"), loca = font.Find("loca"), glyf = font.Find("glyf");
    for (const auto& [table, name, least] :
         {std::tuple{head, "head", kHeadBytes}, std::tuple{hhea, "hhea", kHheaBytes},
          std::tuple{maxp, "maxp", kMaxpBytes}, std::tuple{hmtx, "hmtx", std::size_t{4}},
          std::tuple{cmap, "cmap", std::size_t{4}}, std::tuple{loca, "loca", std::size_t{2}},
          std::tuple{glyf, "glyf", std::size_t{0}}}) {
        if (!table.present || table.length < least) {
            return Unusable(std::string("the font's ") + name + " table is missing or cut short");
        }
    }

    const Reader headTable(font.bytes, head.offset, head.length);
    std::uint32_t magic = 0;
    std::uint16_t units = 0;
    int locaFormat = 0;
    headTable.U32(12, magic);
    headTable.U16(18, units);
    for (int i = 0; i < 4; ++i) headTable.S16(static_cast<std::uint32_t>(36 + 2 * i), font.box[i]);
    headTable.S16(50, locaFormat);
    // unitsPerEm: 16 to 16384 (head table).
    if (magic != kHeadMagic || units < 16 || units > 16384 || (locaFormat != 0 && locaFormat != 1)) {
        return Unusable("the font's head table is damaged");
    }
    font.unitsPerEm = units;
    font.longLoca = locaFormat;

    const Reader maxpTable(font.bytes, maxp.offset, maxp.length);
    std::uint16_t glyphs = 0;
    maxpTable.U16(4, glyphs);
    const Reader hheaTable(font.bytes, hhea.offset, hhea.length);
    std::uint16_t metrics = 0;
    hheaTable.S16(4, font.ascender);
    hheaTable.S16(6, font.descender);
    hheaTable.U16(34, metrics);
    if (glyphs == 0 || metrics == 0 || metrics > glyphs || hmtx.length / 4 < metrics) {
        return Unusable("the font's glyph metrics are damaged");
    }
    const std::uint32_t locaEntry = font.longLoca ? 4 : 2;
    if (loca.length / locaEntry < std::uint32_t{glyphs} + 1) {
        return Unusable("the font's loca table is cut short");
    }
    font.glyphCount = glyphs;
    font.advanceCount = metrics;
    font.hmtxOffset = hmtx.offset;
    font.capHeight = font.ascender * 7 / 10;
    if (const Table os2 = font.Find("OS/2"); os2.present) {
        const Reader table(font.bytes, os2.offset, os2.length);
        std::uint16_t os2Version = 0, embedding = 0;
        int cap = 0;
        if (table.U16(8, embedding)) {
            font.mayEmbed = (embedding & (kRestrictedEmbedding | kBitmapEmbeddingOnly)) == 0;
        }
        // sCapHeight is there from version 2 on.
        if (table.U16(0, os2Version) && os2Version >= 2 && table.S16(88, cap) && cap > 0) font.capHeight = cap;
    }
    if (const Table post = font.Find("post"); post.present) {
        const Reader table(font.bytes, post.offset, post.length);
        std::uint32_t fixed = 0;
        if (table.U32(4, fixed)) font.italicAngle = static_cast<std::int32_t>(fixed) / 65536.0;
    }
    if (const Table name = font.Find("name"); name.present) {
        font.postScriptName = ReadPostScriptName(Reader(font.bytes, name.offset, name.length));
    }

    // The character map: Unicode's whole range (format 12) where the font
    // has it, else its basic plane (format 4).
    const Reader cmapTable(font.bytes, cmap.offset, cmap.length);
    std::uint16_t subtables = 0;
    cmapTable.U16(2, subtables);
    int best = 0;
    for (std::uint32_t i = 0; i < subtables; ++i) {
        std::uint16_t platform = 0, encoding = 0, format = 0;
        std::uint32_t offset = 0;
        if (!cmapTable.U16(4 + 8 * i, platform) || !cmapTable.U16(6 + 8 * i, encoding) ||
            !cmapTable.U32(8 + 8 * i, offset) || !cmapTable.U16(offset, format)) {
            break;
        }
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (!unicode || (format != 4 && format != 12)) continue;
        std::uint32_t length = 0;
        if (format == 4) {
            std::uint16_t short16 = 0;
            cmapTable.U16(offset + 2, short16);
            length = short16;
        } else {
            cmapTable.U32(offset + 4, length);
        }
        if (!cmapTable.Has(offset, length)) continue;
        const int score = format == 12 ? 2 : 1;
        if (score > best) {
            best = score;
            font.cmapOffset = cmap.offset + offset;
            font.cmapLength = length;
            font.cmapFormat = format;
        }
    }
    if (best == 0) {
        return Unusable("the font has no Unicode character map");
    }
    return font;
}

std::uint16_t TrueTypeFont::GlyphOf(char32_t c) const {
    const Reader map(bytes, cmapOffset, cmapLength);
    std::uint32_t glyph = 0;
    if (cmapFormat == 4) {
        if (c > 0xFFFF) return 0;
        std::uint16_t doubled = 0;
        map.U16(6, doubled);
        const std::uint32_t segments = doubled / 2u;
        const std::uint32_t ends = 14, starts = ends + 2 * segments + 2, deltas = starts + 2 * segments,
                            ranges = deltas + 2 * segments;
        for (std::uint32_t i = 0; i < segments; ++i) {
            std::uint16_t end = 0, start = 0, delta = 0, range = 0;
            if (!map.U16(ends + 2 * i, end)) return 0;
            if (end < c) continue;
            if (!map.U16(starts + 2 * i, start) || !map.U16(deltas + 2 * i, delta) || !map.U16(ranges + 2 * i, range) ||
                start > c) {
                return 0;
            }
            if (range == 0) {
                glyph = (c + delta) & 0xFFFFu;
            } else {
                // idRangeOffset counts from its own place in the table.
                std::uint16_t found = 0;
                if (!map.U16(ranges + 2 * i + range + 2 * (static_cast<std::uint32_t>(c) - start), found)) return 0;
                glyph = found == 0 ? 0 : (found + delta) & 0xFFFFu;
            }
            break;
        }
    } else {
        std::uint32_t groups = 0;
        map.U32(12, groups);
        groups = std::min(groups, (map.Size() - std::min<std::uint32_t>(map.Size(), 16)) / 12);
        // Groups are sorted by their first character.
        std::uint32_t low = 0, high = groups;
        while (low < high) {
            const std::uint32_t mid = low + (high - low) / 2;
            std::uint32_t first = 0, last = 0, start = 0;
            map.U32(16 + 12 * mid, first);
            map.U32(20 + 12 * mid, last);
            map.U32(24 + 12 * mid, start);
            if (c < first) {
                high = mid;
            } else if (c > last) {
                low = mid + 1;
            } else {
                glyph = start + (c - first);
                break;
            }
        }
    }
    return glyph < static_cast<std::uint32_t>(glyphCount) ? static_cast<std::uint16_t>(glyph) : 0;
}

int TrueTypeFont::AdvanceOf(std::uint16_t glyph) const {
    // Glyphs past the long metrics share the last advance.
    const std::uint32_t index = std::min<std::uint32_t>(glyph, advanceCount - 1);
    const Reader hmtx(bytes, hmtxOffset, advanceCount * 4);
    std::uint16_t advance = 0;
    hmtx.U16(4 * index, advance);
    return advance;
}

std::vector<std::uint8_t> TrueTypeFont::Subset(const std::set<std::uint16_t>& wanted) const {
    const Table loca = Find("loca"), glyf = Find("glyf");
    const Reader locaTable(bytes, loca.offset, loca.length), glyfTable(bytes, glyf.offset, glyf.length);
    // A glyph's outline in glyf: [begin, end); empty when loca is out of order
    // or points past the table.
    const auto range = [&](std::uint32_t glyph) -> std::pair<std::uint32_t, std::uint32_t> {
        std::uint32_t begin = 0, end = 0;
        if (longLoca) {
            locaTable.U32(4 * glyph, begin);
            locaTable.U32(4 * glyph + 4, end);
        } else {
            std::uint16_t b = 0, e = 0;
            locaTable.U16(2 * glyph, b);
            locaTable.U16(2 * glyph + 2, e);
            begin = 2u * b;
            end = 2u * e;
        }
        if (begin > end || !glyfTable.Has(begin, end - begin)) return {0, 0};
        return {begin, end};
    };

    // The glyphs drawn, glyph 0, and every glyph a composite is made of.
    std::vector<bool> kept(static_cast<std::size_t>(glyphCount), false);
    std::vector<std::uint16_t> queue = {0};
    for (std::uint16_t g : wanted) queue.push_back(g);
    while (!queue.empty()) {
        const std::uint16_t glyph = queue.back();
        queue.pop_back();
        if (glyph >= glyphCount || kept[glyph]) continue;
        kept[glyph] = true;
        const auto [begin, end] = range(glyph);
        int contours = 0;
        if (end - begin < 10 || !glyfTable.S16(begin, contours) || contours >= 0) continue;
        const Reader outline(bytes, glyf.offset + begin, end - begin);
        std::uint32_t at = 10;
        for (std::uint16_t flags = kMoreComponents; (flags & kMoreComponents) != 0;) {
            std::uint16_t component = 0;
            if (!outline.U16(at, flags) || !outline.U16(at + 2, component)) break;
            queue.push_back(component);
            at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
            if (flags & kHaveScale) at += 2;
            if (flags & kHaveXYScale) at += 4;
            if (flags & kHaveTwoByTwo) at += 8;
        }
    }

    std::vector<std::uint8_t> newGlyf, newLoca;
    for (std::uint32_t glyph = 0; glyph < static_cast<std::uint32_t>(glyphCount); ++glyph) {
        PutU32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
        if (!kept[glyph]) continue;
        const auto [begin, end] = range(glyph);
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(glyf.offset + begin);
        newGlyf.insert(newGlyf.end(), first, first + static_cast<std::ptrdiff_t>(end - begin));
        while (newGlyf.size() % 4 != 0) newGlyf.push_back(0);
    }
    PutU32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));

    // The tables of the subset, by tag (the directory is sorted by tag).
    std::map<std::uint32_t, std::vector<std::uint8_t>> out;
    for (const char* tag : {"cvt ", "fpgm", "prep", "head", "hhea", "hmtx", "maxp"}) {
        const Table table = Find(tag);
        if (!table.present) continue;
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(table.offset);
        out[Tag(tag)].assign(first, first + static_cast<std::ptrdiff_t>(table.length));
    }
    std::vector<std::uint8_t>& head = out[Tag("head")];
    SetU32(head, 8, 0);  // checksumAdjustment, set below
    head[50] = 0;        // indexToLocFormat: long offsets
    head[51] = 1;
    out[Tag("loca")] = std::move(newLoca);
    out[Tag("glyf")] = std::move(newGlyf);
    // An empty Unicode map (one format 4 segment, the closing 0xFFFF): a PDF
    // maps characters to glyphs itself, but font tools expect a cmap.
    std::vector<std::uint8_t>& map = out[Tag("cmap")];
    for (std::uint32_t field : {0u, 1u, 3u, 1u}) PutU16(map, field);
    PutU32(map, 12);
    for (std::uint32_t field : {4u, 24u, 0u, 2u, 2u, 0u, 0u, 0xFFFFu, 0u, 0xFFFFu, 1u, 0u}) PutU16(map, field);

    std::vector<std::uint8_t> font;
    const auto count = static_cast<std::uint32_t>(out.size());
    std::uint32_t power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    PutU32(font, kVersionTrueType);
    PutU16(font, count);
    PutU16(font, power * 16);
    PutU16(font, log2);
    PutU16(font, count * 16 - power * 16);
    const std::size_t directory = font.size();
    font.resize(directory + count * kRecordBytes);
    std::size_t record = directory, headAt = 0;
    for (const auto& [tag, data] : out) {
        const std::size_t at = font.size();
        if (tag == Tag("head")) headAt = at;
        font.insert(font.end(), data.begin(), data.end());
        while (font.size() % 4 != 0) font.push_back(0);
        SetU32(font, record, tag);
        SetU32(font, record + 4, Checksum(font, at, data.size()));
        SetU32(font, record + 8, static_cast<std::uint32_t>(at));
        SetU32(font, record + 12, static_cast<std::uint32_t>(data.size()));
        record += kRecordBytes;
    }
    SetU32(font, headAt + 8, kChecksumMagic - Checksum(font, 0, font.size()));
    return font;
}

}  // namespace ovlet::exchange::drawing
