#include "exchange/drawing/pdf_fixes.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace ovlet::exchange::drawing {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

// The cross-reference table of a PDF as Qt writes it: one "xref" section
// whose entries are 20 bytes each ("0000000015 00000 n \n").
struct XrefTable {
    std::size_t startxrefDigits = 0;  // where the number after "startxref" begins
    std::size_t startxrefLength = 0;
    std::size_t xrefOffset = 0;
    std::size_t firstEntry = 0;  // offset of the entry of object 0
    std::size_t count = 0;
};

constexpr std::size_t kEntryBytes = 20;

bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

std::optional<std::size_t> ParseSize(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    std::size_t value = 0;
    const auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (ec != std::errc()) return std::nullopt;
    pos = static_cast<std::size_t>(end - text.data());
    return value;
}

std::optional<XrefTable> ReadXref(std::string_view pdf) {
    XrefTable table;
    const std::size_t keyword = pdf.rfind("startxref");
    if (keyword == std::string_view::npos) return std::nullopt;
    std::size_t pos = keyword + 9;
    while (pos < pdf.size() && IsSpace(pdf[pos])) ++pos;
    table.startxrefDigits = pos;
    const auto offset = ParseSize(pdf, pos);
    if (!offset || *offset >= keyword || pdf.compare(*offset, 4, "xref") != 0) return std::nullopt;
    table.startxrefLength = pos - table.startxrefDigits;
    table.xrefOffset = *offset;
    pos = *offset + 4;
    const auto first = ParseSize(pdf, pos);
    const auto count = ParseSize(pdf, pos);
    if (!first || !count || *first != 0) return std::nullopt;
    while (pos < pdf.size() && IsSpace(pdf[pos]) && pdf[pos] != '0') ++pos;
    table.firstEntry = pos;
    table.count = *count;
    if (table.count > (pdf.size() - pos) / kEntryBytes) return std::nullopt;
    return table;
}

// The offset an in-use entry gives its object, or nothing.
std::optional<std::size_t> ObjectOffset(std::string_view pdf, const XrefTable& table, std::size_t object) {
    if (object == 0 || object >= table.count) return std::nullopt;
    const std::string_view entry = pdf.substr(table.firstEntry + object * kEntryBytes, kEntryBytes);
    if (entry[17] != 'n') return std::nullopt;
    std::size_t value = 0;
    if (std::from_chars(entry.data(), entry.data() + 10, value).ec != std::errc() || value >= pdf.size())
        return std::nullopt;
    return value;
}

// The text of an object from "N 0 obj" to "endobj".
std::string_view ObjectText(std::string_view pdf, std::size_t offset) {
    const std::size_t end = pdf.find("endobj", offset);
    return pdf.substr(offset, end == std::string_view::npos ? std::string_view::npos : end - offset);
}

// The destinations of a ToUnicode map's bfchar and bfrange sections that
// name U+0009 are rewritten to U+0020, where they map one glyph.
int RewriteTabDestinations(char* data, std::size_t size) {
    const std::string_view text(data, size);
    int changed = 0;
    auto rewrite = [&](std::size_t hexStart, std::size_t hexEnd) {
        if (hexEnd - hexStart == 4 && text.compare(hexStart, 4, "0009") == 0) {
            std::copy_n("0020", 4, data + hexStart);
            ++changed;
        }
    };
    for (const bool range : {false, true}) {
        const char* begin = range ? "beginbfrange" : "beginbfchar";
        const char* end = range ? "endbfrange" : "endbfchar";
        for (std::size_t pos = text.find(begin); pos != std::string_view::npos; pos = text.find(begin, pos)) {
            const std::size_t stop = text.find(end, pos);
            if (stop == std::string_view::npos) break;
            pos += std::strlen(begin);
            // One entry: source codes (one for bfchar, two for bfrange), then
            // a destination string or, in a range, an array of them.
            std::size_t tokenInEntry = 0;
            bool inArray = false;
            std::string_view sources[2];
            while (pos < stop) {
                const char c = text[pos];
                if (c == '<') {
                    const std::size_t close = text.find('>', pos);
                    if (close == std::string_view::npos || close > stop) break;
                    const std::string_view token = text.substr(pos + 1, close - pos - 1);
                    if (inArray) {
                        rewrite(pos + 1, close);
                    } else if (tokenInEntry < (range ? 2u : 1u)) {
                        sources[tokenInEntry++] = token;
                    } else {
                        // A range's single destination names the first of
                        // consecutive characters: only a range of one glyph
                        // may change.
                        if (!range || sources[0] == sources[1]) rewrite(pos + 1, close);
                        tokenInEntry = 0;
                    }
                    pos = close + 1;
                } else if (c == '[' && range) {
                    inArray = true;
                    ++pos;
                } else if (c == ']' && inArray) {
                    inArray = false;
                    tokenInEntry = 0;
                    ++pos;
                } else {
                    ++pos;
                }
            }
            pos = stop;
        }
    }
    return changed;
}

std::string Number(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string Box(const char* name, const RectMm& mm, double pageHeightPoints) {
    const double left = mm.left * kPointsPerMm;
    const double top = pageHeightPoints - mm.top * kPointsPerMm;
    return std::string("/") + name + " [" + Number(left) + " " + Number(top - mm.height * kPointsPerMm) + " " +
           Number(left + mm.width * kPointsPerMm) + " " + Number(top) + "]\n";
}

}  // namespace

int MapTabGlyphsToSpaces(std::vector<char>& pdf) {
    const std::string_view text(pdf.data(), pdf.size());
    const auto table = ReadXref(text);
    if (!table) return 0;
    int changed = 0;
    constexpr std::string_view kKey = "/ToUnicode ";
    for (std::size_t pos = text.find(kKey); pos != std::string_view::npos; pos = text.find(kKey, pos + 1)) {
        std::size_t at = pos + kKey.size();
        const auto object = ParseSize(text, at);
        if (!object) continue;
        const auto offset = ObjectOffset(text, *table, *object);
        if (!offset) continue;
        const std::string_view body = ObjectText(text, *offset);
        const std::size_t stream = body.find("stream\n");
        const std::size_t streamEnd = body.rfind("endstream");
        // A compressed map is left alone; Qt writes them plain.
        if (stream == std::string_view::npos || streamEnd == std::string_view::npos || streamEnd < stream ||
            body.substr(0, stream).find("/Filter") != std::string_view::npos) {
            continue;
        }
        const std::size_t start = *offset + stream + 7;
        changed += RewriteTabDestinations(pdf.data() + start, *offset + streamEnd - start);
    }
    return changed;
}

namespace {

DrawingError Unexpected(std::string why) {
    return {DrawingError::Kind::PdfUnexpected, std::move(why)};
}

}  // namespace

Result<void> AddTrimAndBleedBoxes(std::vector<char>& pdf, const RectMm& trim, const RectMm& bleed) {
    const std::string_view text(pdf.data(), pdf.size());
    const auto table = ReadXref(text);
    if (!table) {
        return Unexpected("its cross-reference table is not where it should be");
    }
    // The one page object, and the end of its MediaBox entry.
    std::optional<std::size_t> insertAt;
    double pageHeight = 0;
    for (std::size_t object = 1; object < table->count; ++object) {
        const auto offset = ObjectOffset(text, *table, object);
        if (!offset) continue;
        const std::string_view body = ObjectText(text, *offset);
        const std::size_t type = body.find("/Type /Page");
        if (type == std::string_view::npos || (type + 11 < body.size() && body[type + 11] == 's')) continue;
        const std::size_t media = body.find("/MediaBox [");
        if (insertAt || media == std::string_view::npos) {
            return Unexpected(insertAt ? "it has more than one page" : "its page has no MediaBox");
        }
        const std::size_t close = body.find(']', media);
        if (close == std::string_view::npos) break;
        double box[4] = {};
        const char* p = body.data() + media + 11;
        const char* last = body.data() + close;
        for (double& v : box) {
            while (p < last && *p == ' ') ++p;
            const auto [next, ec] = std::from_chars(p, last, v);
            if (ec != std::errc()) {
                return Unexpected("its MediaBox cannot be read");
            }
            p = next;
        }
        if (box[0] != 0 || box[1] != 0) {
            return Unexpected("its MediaBox does not start at 0 0");
        }
        pageHeight = box[3];
        insertAt = *offset + close + 1;
    }
    if (!insertAt) {
        return Unexpected("it has no page");
    }
    std::size_t at = *insertAt;
    std::string boxes = Box("TrimBox", trim, pageHeight) + Box("BleedBox", bleed, pageHeight);
    if (at < pdf.size() && pdf[at] == '\n') {
        ++at;
    } else {
        boxes.insert(0, "\n");
    }
    // Every object after the page moves by the inserted length.
    std::vector<char> out;
    out.reserve(pdf.size() + boxes.size() + 8);
    out.insert(out.end(), pdf.begin(), pdf.begin() + static_cast<std::ptrdiff_t>(at));
    out.insert(out.end(), boxes.begin(), boxes.end());
    out.insert(out.end(), pdf.begin() + static_cast<std::ptrdiff_t>(at), pdf.end());
    const std::size_t shift = out.size() - pdf.size();
    for (std::size_t object = 1; object < table->count; ++object) {
        const auto offset = ObjectOffset(text, *table, object);
        if (!offset || *offset < at) continue;
        char digits[11];
        std::snprintf(digits, sizeof digits, "%010zu", *offset + shift);
        std::memcpy(out.data() + table->firstEntry + shift + object * kEntryBytes, digits, 10);
    }
    const std::string startxref = std::to_string(table->xrefOffset + shift);
    const std::size_t digitsAt = table->startxrefDigits + shift;
    out.erase(out.begin() + static_cast<std::ptrdiff_t>(digitsAt),
              out.begin() + static_cast<std::ptrdiff_t>(digitsAt + table->startxrefLength));
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(digitsAt), startxref.begin(), startxref.end());
    pdf = std::move(out);
    return {};
}

}  // namespace ovlet::exchange::drawing
