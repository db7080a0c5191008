#include "exchange/vcard.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

#include "card/codepage.h"

namespace vcard {
namespace {

// ------------------------------------------------------------------ text helpers

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

bool IStartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && IEquals(s.substr(0, prefix.size()), prefix);
}

bool IContains(std::string_view s, std::string_view part) {
    for (std::size_t i = 0; i + part.size() <= s.size(); ++i) {
        if (IEquals(s.substr(i, part.size()), part)) return true;
    }
    return false;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The length of the well-formed UTF-8 sequence at `pos` and its code point;
// 0 when the bytes there are malformed, overlong or a surrogate.
std::size_t Utf8Sequence(std::string_view s, std::size_t pos, char32_t& c) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (s.size() - pos < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

bool IsValidUtf8(std::string_view s) {
    char32_t c = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t n = Utf8Sequence(s, pos, c);
        if (n == 0) return false;
        pos += n;
    }
    return true;
}

// A value shortened for a message.
std::string Excerpt(std::string_view utf8) {
    constexpr std::size_t kMax = 40;
    if (utf8.size() <= kMax) return std::string(utf8);
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    return std::string(utf8.substr(0, cut)) + "...";
}

std::string Utf8Of(char32_t c) {
    std::string out;
    codepage::AppendUtf8(out, c);
    return out;
}

std::string CodePointName(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

// ------------------------------------------------------------------ base64

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64Encode(const std::uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t b0 = data[i];
        const std::uint32_t b1 = i + 1 < size ? data[i + 1] : 0;
        const std::uint32_t b2 = i + 2 < size ? data[i + 2] : 0;
        const std::uint32_t v = (b0 << 16) | (b1 << 8) | b2;
        out += kBase64Alphabet[(v >> 18) & 63];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += i + 1 < size ? kBase64Alphabet[(v >> 6) & 63] : '=';
        out += i + 2 < size ? kBase64Alphabet[v & 63] : '=';
    }
    return out;
}

int Base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Decodes base64, skipping white space. Padding is optional but nothing may
// follow it; `error` says what is wrong when it returns nothing.
std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text, std::string& error) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t acc = 0;
    int digits = 0;
    std::size_t padding = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int d = Base64Digit(c);
        if (d < 0 || padding > 0) {
            const auto b = static_cast<unsigned char>(c);
            char buf[96];
            if (d >= 0) {
                std::snprintf(buf, sizeof buf, "data continues after the '=' padding at offset %zu", i);
            } else if (b >= 0x21 && b < 0x7F) {
                std::snprintf(buf, sizeof buf, "character '%c' at offset %zu is not base64", c, i);
            } else {
                std::snprintf(buf, sizeof buf, "byte 0x%02X at offset %zu is not base64", b, i);
            }
            error = buf;
            return std::nullopt;
        }
        acc = (acc << 6) | static_cast<std::uint32_t>(d);
        if (++digits == 4) {
            out.push_back(static_cast<std::uint8_t>(acc >> 16));
            out.push_back(static_cast<std::uint8_t>(acc >> 8));
            out.push_back(static_cast<std::uint8_t>(acc));
            acc = 0;
            digits = 0;
        }
    }
    if (digits == 1 || padding > 2 || (padding > 0 && digits + static_cast<int>(padding) != 4)) {
        error = "the data ends in the middle of a base64 group";
        return std::nullopt;
    }
    if (digits == 2) {
        out.push_back(static_cast<std::uint8_t>(acc >> 4));
    } else if (digits == 3) {
        out.push_back(static_cast<std::uint8_t>(acc >> 10));
        out.push_back(static_cast<std::uint8_t>(acc >> 2));
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Quoted-printable as vCard 2.1 uses it; a malformed escape is kept as it stands.
std::string QuotedPrintableDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int hi = HexDigit(text[i + 1]);
            const int lo = HexDigit(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string PercentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// ------------------------------------------------------------------ phone kinds

// What a phone's description says about the number, in English.
struct PhoneKind {
    bool work = false;
    bool home = false;
    bool cell = false;
    bool fax = false;
    bool pager = false;

    bool any() const { return work || home || cell || fax || pager; }
    bool operator==(const PhoneKind&) const = default;
};

PhoneKind KindFromDescription(std::string_view ansi) {
    static constexpr std::pair<const char*, bool PhoneKind::*> kWords[] = {
        {"work", &PhoneKind::work}, {"office", &PhoneKind::work},   {"business", &PhoneKind::work},
        {"home", &PhoneKind::home}, {"private", &PhoneKind::home},  {"mobile", &PhoneKind::cell},
        {"cell", &PhoneKind::cell}, {"cellular", &PhoneKind::cell}, {"cellphone", &PhoneKind::cell},
        {"fax", &PhoneKind::fax},   {"facsimile", &PhoneKind::fax}, {"pager", &PhoneKind::pager},
    };
    PhoneKind kind;
    std::size_t pos = 0;
    while (pos < ansi.size()) {
        auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
        while (pos < ansi.size() && !isLetter(ansi[pos])) ++pos;
        std::size_t end = pos;
        while (end < ansi.size() && isLetter(ansi[end])) ++end;
        const std::string_view word = ansi.substr(pos, end - pos);
        for (const auto& [text, member] : kWords) {
            if (!word.empty() && IEquals(word, text)) kind.*member = true;
        }
        pos = end;
    }
    return kind;
}

// The description a reader gives a number from its types alone.
std::string DescriptionFromKind(const PhoneKind& kind) {
    std::string place = kind.work ? "Work" : kind.home ? "Home" : "";
    std::string what = kind.cell ? "Mobile" : kind.pager ? "Pager" : kind.fax ? "Fax" : "";
    if (place.empty() || what.empty()) return place + what;
    return place + " " + what;
}

std::string TypeList(const PhoneKind& kind, bool upper) {
    std::string out;
    auto add = [&](bool on, const char* lower, const char* capital) {
        if (!on) return;
        if (!out.empty()) out += ',';
        out += upper ? capital : lower;
    };
    add(kind.work, "work", "WORK");
    add(kind.home, "home", "HOME");
    add(kind.cell, "cell", "CELL");
    add(kind.fax, "fax", "FAX");
    add(kind.pager, "pager", "PAGER");
    return out;
}

// ------------------------------------------------------------------ writing

// RFC 6350 section 3.2: lines should not be longer than 75 octets.
constexpr std::size_t kFoldOctets = 75;

void AppendFolded(std::string& out, std::string_view line) {
    std::size_t pos = 0;
    std::size_t room = kFoldOctets;
    while (line.size() - pos > room) {
        std::size_t cut = pos + room;
        // Never split a UTF-8 sequence between two lines.
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        if (cut == pos) cut = pos + room;
        out.append(line.substr(pos, cut - pos));
        out += "\r\n ";
        pos = cut;
        room = kFoldOctets - 1;  // the leading space takes one octet
    }
    out.append(line.substr(pos));
    out += "\r\n";
}

// A text value with backslash, comma, semicolon and line breaks escaped.
std::string EscapeText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case ',':
                out += "\\,";
                break;
            case ';':
                out += "\\;";
                break;
            case '\r':
                if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
                out += "\\n";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Text(const std::string& ansi) {
    return EscapeText(codepage::Utf8FromAnsi(ansi));
}

// A URI value is not text: commas and semicolons stand as they are. A
// backslash, which no address contains, is doubled so that the reader's
// undoing of mistaken escapes gives it back; a line break cannot stand in it.
std::string Uri(const std::string& ansi) {
    std::string out;
    const std::string utf8 = codepage::Utf8FromAnsi(ansi);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

// A phone number as text. A number that itself starts with "tel:" is written
// as a tel: address with its percent signs encoded, so that the reader, which
// takes the scheme off, gives the number back as it was.
std::string PhoneValue(const std::string& ansi) {
    std::string utf8 = codepage::Utf8FromAnsi(ansi);
    if (IStartsWith(utf8, "tel:")) {
        std::string encoded = "tel:";
        for (char c : utf8) encoded += c == '%' ? std::string("%25") : std::string(1, c);
        utf8 = std::move(encoded);
    }
    return EscapeText(utf8);
}

// A quoted parameter value with RFC 6868 caret escapes.
std::string ParamValue(const std::string& ansi) {
    std::string out = "\"";
    const std::string utf8 = codepage::Utf8FromAnsi(ansi);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '^') {
            out += "^^";
        } else if (c == '"') {
            out += "^'";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
            out += "^n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JoinNonEmpty(std::initializer_list<const std::string*> parts, const char* separator) {
    std::string out;
    for (const std::string* p : parts) {
        if (p->empty()) continue;
        if (!out.empty()) out += separator;
        out += *p;
    }
    return out;
}

// ------------------------------------------------------------------ reading: lines and properties

bool IsFolded(std::string_view line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// Physical lines of the file, ending in CR LF, LF or CR.
class LineCursor {
public:
    explicit LineCursor(std::string_view data) : data_(data) {}

    bool Peek(std::string_view& line) const {
        if (pos_ >= data_.size()) return false;
        std::size_t end = pos_;
        while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n') ++end;
        line = data_.substr(pos_, end - pos_);
        return true;
    }

    bool Next(std::string_view& line) {
        if (!Peek(line)) return false;
        pos_ += line.size();
        if (pos_ < data_.size() && data_[pos_] == '\r') {
            ++pos_;
            if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
        } else if (pos_ < data_.size() && data_[pos_] == '\n') {
            ++pos_;
        }
        ++number_;
        return true;
    }

    std::size_t number() const { return number_; }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

struct Param {
    std::string name;  // upper case
    std::vector<std::string> values;
};

struct Property {
    std::size_t line = 0;
    std::string group;  // upper case, "" when none
    std::string name;   // upper case
    std::vector<Param> params;
    std::string value;  // raw, still encoded and escaped

    const Param* Find(std::string_view paramName) const {
        for (const auto& p : params) {
            if (p.name == paramName) return &p;
        }
        return nullptr;
    }

    std::string First(std::string_view paramName) const {
        const Param* p = Find(paramName);
        return p && !p->values.empty() ? p->values.front() : std::string();
    }

    bool HasType(std::string_view type) const {
        for (const auto& p : params) {
            if (p.name != "TYPE") continue;
            for (const auto& v : p.values) {
                if (IEquals(v, type)) return true;
            }
        }
        return false;
    }
};

// vCard 2.1 writes some parameters without a name ("TEL;WORK;VOICE:").
const char* BareParamName(std::string_view value) {
    if (IEquals(value, "QUOTED-PRINTABLE") || IEquals(value, "BASE64") || IEquals(value, "8BIT") ||
        IEquals(value, "7BIT")) {
        return "ENCODING";
    }
    if (IEquals(value, "INLINE") || IEquals(value, "URL") || IEquals(value, "CID") || IEquals(value, "CONTENT-ID")) {
        return "VALUE";
    }
    return "TYPE";
}

// RFC 6868 caret escapes in a parameter value.
std::string CaretDecode(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '^' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == 'n' || n == 'N') {
                out += '\n';
                ++i;
                continue;
            }
            if (n == '^') {
                out += '^';
                ++i;
                continue;
            }
            if (n == '\'') {
                out += '"';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

void AddParam(Property& prop, std::string_view text, bool caret) {
    Param param;
    std::string_view values = text;
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) {
        param.name = BareParamName(Trim(text));
    } else {
        param.name = Upper(Trim(text.substr(0, eq)));
        values = text.substr(eq + 1);
    }
    // Values are separated by commas outside double quotes.
    std::string current;
    bool quoted = false;
    auto flush = [&] {
        std::string v = caret ? CaretDecode(current) : current;
        if (!v.empty()) param.values.push_back(std::move(v));
        current.clear();
    };
    // A quoted TYPE is still a list ("work,voice"); other quoted values keep their commas.
    const bool list = param.name == "TYPE";
    for (char c : values) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && (!quoted || list)) {
            flush();
        } else {
            current += c;
        }
    }
    flush();
    prop.params.push_back(std::move(param));
}

// Splits "group.NAME;param=value;...:value". False when the line has no colon.
bool ParseProperty(std::string_view line, bool caret, Property& prop) {
    std::size_t i = 0;
    while (i < line.size() && line[i] != ';' && line[i] != ':') ++i;
    if (i == line.size()) return false;
    std::string_view name = Trim(line.substr(0, i));
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) {
        prop.group = Upper(name.substr(0, dot));
        name = name.substr(dot + 1);
    }
    prop.name = Upper(name);
    while (line[i] == ';') {
        const std::size_t start = ++i;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ';' && line[i] != ':'))) {
            if (line[i] == '"') quoted = !quoted;
            ++i;
        }
        if (i == line.size()) return false;
        if (i > start) AddParam(prop, line.substr(start, i - start), caret);
    }
    prop.value = std::string(line.substr(i + 1));
    return !prop.name.empty();
}

// Splits a text value into its components at unescaped semicolons (when
// `structured`) and undoes the backslash escapes. vCard 2.1 escapes only the
// semicolon; 3.0 and 4.0 escape backslash, comma, semicolon and line breaks.
std::vector<std::string> Unescape(std::string_view text, bool structured, bool v21) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char n = text[i + 1];
            if (n == ';' || (!v21 && (n == ',' || n == '\\'))) {
                parts.back() += n;
                ++i;
                continue;
            }
            if (!v21 && (n == 'n' || n == 'N')) {
                parts.back() += '\n';
                ++i;
                continue;
            }
        } else if (c == ';' && structured) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

// A URI value: only the escapes some writers add to addresses by mistake, and
// the doubled backslash of our own writer, are undone.
std::string UnescapeUri(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char n = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (n == ',' || n == ';' || n == '\\')) {
            out += n;
            ++i;
        } else if (text[i] == '\\' && (n == 'n' || n == 'N')) {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// ------------------------------------------------------------------ reading: one card

struct TextProperty {
    std::size_t line = 0;
    std::vector<std::string> parts;  // UTF-8, unescaped
    bool work = false;               // TYPE=work
    bool pref = false;               // TYPE=pref or a PREF parameter
};

struct PhoneEntry {
    std::size_t line = 0;
    std::string group;
    std::string number;  // UTF-8
    std::string label;   // UTF-8, from a LABEL parameter or the group's X-ABLabel
    bool labelled = false;
    PhoneKind kind;
};

// Properties that carry nothing a card shows and need no report.
bool IsBookkeeping(std::string_view name) {
    static constexpr const char* kNames[] = {"VERSION",      "PRODID",  "REV",  "UID",    "KIND",
                                             "CLIENTPIDMAP", "PROFILE", "NAME", "SOURCE", "X-ABLABEL"};
    return std::any_of(std::begin(kNames), std::end(kNames), [&](const char* n) { return name == n; });
}

class CardBuilder {
public:
    CardBuilder(std::size_t firstLine, std::size_t maxProperties) : maxProperties_(maxProperties) {
        card_.firstLine = firstLine;
    }

    bool v21() const { return card_.version == "2.1"; }

    void Error(std::size_t line, std::string property, std::string text) {
        card_.errors.push_back({line, std::move(property), std::move(text)});
    }
    void Warn(std::size_t line, std::string property, std::string text) {
        card_.warnings.push_back({line, std::move(property), std::move(text)});
    }
    void Unmapped(std::size_t line, std::string property, std::string text) {
        card_.unmapped.push_back({line, std::move(property), std::move(text)});
    }

    // False once the card has more properties than it may hold.
    bool Count(std::size_t line) {
        if (++properties_ <= maxProperties_) return true;
        if (properties_ == maxProperties_ + 1) {
            Error(line, "",
                  "the card has more than " + std::to_string(maxProperties_) + " properties; the rest was not read");
        }
        return false;
    }

    void Add(const Property& prop);
    ImportedCard Finish();

private:
    std::optional<std::string> ValueBytes(const Property& prop);
    std::optional<std::string> TextValue(const Property& prop);
    std::optional<TextProperty> Structured(const Property& prop, bool structured);
    void AddPhoto(const Property& prop);
    void AddPhone(const Property& prop);
    void SetField(const char* fieldName, const std::string& utf8, std::size_t line, const std::string& property);
    void MapName();
    void MapAddress();
    void MapPhones();
    void MapFirst(std::vector<TextProperty>& list, const char* property, const char* fieldName);

    ImportedCard card_;
    std::size_t maxProperties_;
    std::size_t properties_ = 0;
    std::optional<TextProperty> n_;
    std::optional<TextProperty> fn_;
    std::vector<TextProperty> orgs_, titles_, adrs_, emails_, urls_, notes_, labels_;
    std::vector<PhoneEntry> phones_;
    std::map<std::string, std::string> groupLabels_;  // X-ABLabel by group
    bool havePicture_ = false;
};

// The value's bytes with its transfer encoding undone.
std::optional<std::string> CardBuilder::ValueBytes(const Property& prop) {
    const std::string encoding = Upper(prop.First("ENCODING"));
    if (encoding == "QUOTED-PRINTABLE") return QuotedPrintableDecode(prop.value);
    if (encoding == "B" || encoding == "BASE64") {
        std::string error;
        auto bytes = Base64Decode(prop.value, error);
        if (!bytes) {
            Error(prop.line, prop.name, "the base64 data is damaged: " + error);
            return std::nullopt;
        }
        return std::string(bytes->begin(), bytes->end());
    }
    return prop.value;
}

// The value as UTF-8 text, still escaped.
std::optional<std::string> CardBuilder::TextValue(const Property& prop) {
    auto bytes = ValueBytes(prop);
    if (!bytes) return std::nullopt;
    const std::string charset = Upper(prop.First("CHARSET"));
    const bool singleByte = charset == "WINDOWS-1252" || charset == "CP1252" || charset == "ISO-8859-1" ||
                            charset == "LATIN1" || charset == "US-ASCII" || charset == "ASCII";
    if (singleByte) return codepage::Utf8FromAnsi(*bytes);
    if (!charset.empty() && charset != "UTF-8" && charset != "UTF8") {
        Warn(prop.line, prop.name, "the character set " + Excerpt(charset) + " is not known; read as UTF-8");
    }
    if (IsValidUtf8(*bytes)) return bytes;
    Warn(prop.line, prop.name, "the text is not UTF-8; read as Windows-1252");
    return codepage::Utf8FromAnsi(*bytes);
}

std::optional<TextProperty> CardBuilder::Structured(const Property& prop, bool structured) {
    auto text = TextValue(prop);
    if (!text) return std::nullopt;
    TextProperty out;
    out.line = prop.line;
    out.parts = Unescape(*text, structured, v21());
    out.work = prop.HasType("work");
    out.pref = prop.HasType("pref") || prop.Find("PREF") != nullptr;
    return out;
}

void CardBuilder::Add(const Property& prop) {
    const std::string& name = prop.name;
    if (name == "VERSION") {
        card_.version = std::string(Trim(prop.value));
        if (card_.version != "2.1" && card_.version != "3.0" && card_.version != "4.0") {
            Warn(prop.line, name, "version " + Excerpt(card_.version) + " is not one this reader knows; read as 4.0");
        }
    } else if (name == "N" || name == "FN") {
        auto value = Structured(prop, name == "N");
        if (!value) return;
        auto& slot = name == "N" ? n_ : fn_;
        if (!slot) {
            slot = std::move(value);
        } else {
            Unmapped(prop.line, name, "a second name has no field");
        }
    } else if (name == "ORG" || name == "TITLE" || name == "ADR" || name == "EMAIL" || name == "NOTE" ||
               name == "LABEL") {
        auto value = Structured(prop, name == "ORG" || name == "ADR");
        if (!value) return;
        auto& list = name == "ORG"     ? orgs_
                     : name == "TITLE" ? titles_
                     : name == "ADR"   ? adrs_
                     : name == "EMAIL" ? emails_
                     : name == "NOTE"  ? notes_
                                       : labels_;
        list.push_back(std::move(*value));
    } else if (name == "URL") {
        auto text = TextValue(prop);
        if (!text) return;
        TextProperty value;
        value.line = prop.line;
        value.parts.push_back(UnescapeUri(*text));
        urls_.push_back(std::move(value));
    } else if (name == "TEL") {
        AddPhone(prop);
    } else if (name == "PHOTO") {
        AddPhoto(prop);
    } else if (name == "X-ABLABEL") {
        if (auto text = TextValue(prop)) {
            std::string label = Unescape(*text, false, v21()).front();
            // Address books wrap their own labels as "_$!<Mobile>!$_".
            if (label.size() > 8 && label.compare(0, 4, "_$!<") == 0 &&
                label.compare(label.size() - 4, 4, ">!$_") == 0) {
                label = label.substr(4, label.size() - 8);
            }
            groupLabels_[prop.group] = label;
        }
    } else if (!IsBookkeeping(name)) {
        Unmapped(prop.line, name, "no field on a card");
    }
}

void CardBuilder::AddPhone(const Property& prop) {
    auto text = TextValue(prop);
    if (!text) return;
    PhoneEntry phone;
    phone.line = prop.line;
    phone.group = prop.group;
    phone.number = Unescape(*text, false, v21()).front();
    if (IStartsWith(phone.number, "tel:")) phone.number = PercentDecode(phone.number.substr(4));
    for (const char* param : {"LABEL", "X-LABEL"}) {
        if (const Param* p = prop.Find(param)) {
            phone.labelled = true;
            for (const auto& v : p->values) phone.label += (phone.label.empty() ? "" : ",") + v;
        }
    }
    phone.kind.work = prop.HasType("work");
    phone.kind.home = prop.HasType("home");
    phone.kind.cell = prop.HasType("cell");
    phone.kind.fax = prop.HasType("fax");
    phone.kind.pager = prop.HasType("pager");
    if (phone.number.empty() && phone.label.empty()) return;
    phones_.push_back(std::move(phone));
}

void CardBuilder::AddPhoto(const Property& prop) {
    if (havePicture_) {
        Unmapped(prop.line, prop.name, "a second picture has no place on a card");
        return;
    }
    std::vector<std::uint8_t> bytes;
    const std::string encoding = Upper(prop.First("ENCODING"));
    const std::string_view value = Trim(prop.value);
    if (encoding == "B" || encoding == "BASE64") {
        std::string error;
        auto decoded = Base64Decode(value, error);
        if (!decoded) {
            Error(prop.line, prop.name, "the picture's base64 data is damaged: " + error);
            return;
        }
        bytes = std::move(*decoded);
    } else if (IStartsWith(value, "data:")) {
        const std::size_t comma = value.find(',');
        if (comma == std::string_view::npos) {
            Error(prop.line, prop.name, "the picture's data: address has no comma before its data");
            return;
        }
        const std::string_view header = value.substr(5, comma - 5);
        const std::string_view data = value.substr(comma + 1);
        if (header.size() >= 7 && IEquals(header.substr(header.size() - 7), ";base64")) {
            std::string error;
            auto decoded = Base64Decode(data, error);
            if (!decoded) {
                Error(prop.line, prop.name, "the picture's base64 data is damaged: " + error);
                return;
            }
            bytes = std::move(*decoded);
        } else {
            const std::string raw = PercentDecode(data);
            bytes.assign(raw.begin(), raw.end());
        }
    } else {
        Warn(prop.line, prop.name, "the picture is a link (" + Excerpt(value) + "), not data in the vCard; left out");
        return;
    }
    const std::string type = PictureMediaType(bytes.data(), bytes.size());
    if (bytes.empty()) {
        Warn(prop.line, prop.name, "the picture is empty; left out");
    } else if (type != "image/jpeg" && type != "image/png") {
        Warn(prop.line, prop.name,
             "the picture is not JPEG or PNG (" + type + "); a card takes only those, so it was left out");
    } else if (bytes.size() > 0x7FFFFFFF) {
        Warn(prop.line, prop.name, "the picture is too large for a card; left out");
    } else {
        card_.record.SetPicture(std::move(bytes));
        havePicture_ = true;
    }
}

// Puts UTF-8 text into a field in the card's code page. What the code page
// cannot hold becomes '?' and is reported; line breaks become CR LF in the
// multi-line fields and spaces elsewhere; a value over the typing limit is kept.
void CardBuilder::SetField(const char* fieldName, const std::string& utf8, std::size_t line,
                           const std::string& property) {
    const CardFieldInfo& field = *FindCardField(fieldName);
    std::string ansi;
    // The message names the first few characters that had to go.
    constexpr std::size_t kMaxNamedCharacters = 8;
    std::vector<char32_t> replaced;
    std::size_t replacedCount = 0;
    bool joinedLines = false;
    bool droppedNul = false;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t c = 0;
        std::size_t n = Utf8Sequence(utf8, pos, c);
        if (n == 0) {
            c = codepage::ToUnicode(static_cast<unsigned char>(utf8[pos]));
            n = 1;
        }
        pos += n;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && pos < utf8.size() && utf8[pos] == '\n') ++pos;
            if (field.multiLine) {
                ansi += "\r\n";
            } else {
                ansi += ' ';
                joinedLines = true;
            }
        } else if (c == 0) {
            droppedNul = true;
        } else if (auto byte = codepage::FromUnicode(c)) {
            ansi += static_cast<char>(*byte);
        } else {
            ansi += '?';
            ++replacedCount;
            if (replaced.size() < kMaxNamedCharacters &&
                std::find(replaced.begin(), replaced.end(), c) == replaced.end()) {
                replaced.push_back(c);
            }
        }
    }
    if (!replaced.empty()) {
        std::string list;
        for (char32_t c : replaced) {
            if (!list.empty()) list += ", ";
            std::string ch;
            if (c >= 0x20) ch = "'" + Utf8Of(c) + "' ";
            list += ch + "(" + CodePointName(c) + ")";
        }
        if (replaced.size() == kMaxNamedCharacters) list += " and others";
        Warn(line, property,
             std::string(field.name) + ": " + list + " cannot be stored in a card (Windows-1252); " +
                 std::to_string(replacedCount) + (replacedCount == 1 ? " character" : " characters") +
                 " written as '?'");
    }
    if (joinedLines) Warn(line, property, std::string(field.name) + " holds one line only; line breaks became spaces");
    if (droppedNul) Warn(line, property, std::string(field.name) + ": NUL characters were left out");
    if (field.limit > 0 && ansi.size() > static_cast<std::size_t>(field.limit)) {
        Warn(line, property,
             std::string(field.name) + " is " + std::to_string(ansi.size()) + " characters long, over the " +
                 std::to_string(field.limit) + " that can be typed into it; kept in full");
    }
    card_.record.*field.member = std::move(ansi);
}

void CardBuilder::MapName() {
    if (n_) {
        auto& p = n_->parts;
        p.resize(std::max<std::size_t>(p.size(), 5));
        SetField("LastName", p[0], n_->line, "N");
        SetField("FirstName", p[1], n_->line, "N");
        SetField("MiddleName", p[2], n_->line, "N");
        if (!p[3].empty()) Unmapped(n_->line, "N", "the honorific prefix '" + Excerpt(p[3]) + "' has no field");
        if (!p[4].empty()) Unmapped(n_->line, "N", "the honorific suffix '" + Excerpt(p[4]) + "' has no field");
        card_.displayName = fn_ ? fn_->parts.front() : JoinNonEmpty({&p[1], &p[2], &p[0]}, " ");
        return;
    }
    if (!fn_) return;
    const std::string& full = fn_->parts.front();
    card_.displayName = full;
    // Without N, the formatted name is split into words, unless it names the organisation.
    if (!orgs_.empty() && orgs_.front().parts.front() == full) return;
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < full.size()) {
        while (pos < full.size() && full[pos] == ' ') ++pos;
        std::size_t end = full.find(' ', pos);
        if (end == std::string::npos) end = full.size();
        if (end > pos) words.push_back(full.substr(pos, end - pos));
        pos = end;
    }
    if (words.empty()) return;
    SetField("FirstName", words.front(), fn_->line, "FN");
    if (words.size() > 1) SetField("LastName", words.back(), fn_->line, "FN");
    if (words.size() > 2) {
        std::string middle;
        for (std::size_t i = 1; i + 1 < words.size(); ++i) middle += (middle.empty() ? "" : " ") + words[i];
        SetField("MiddleName", middle, fn_->line, "FN");
    }
}

void CardBuilder::MapAddress() {
    if (adrs_.empty()) {
        for (const auto& label : labels_)
            Unmapped(label.line, "LABEL", "an address label without an address has no field");
        return;
    }
    // The work address goes on a business card; without one, the first.
    auto chosen = std::find_if(adrs_.begin(), adrs_.end(), [](const TextProperty& a) { return a.work; });
    if (chosen == adrs_.end()) chosen = adrs_.begin();
    auto& p = chosen->parts;
    p.resize(std::max<std::size_t>(p.size(), 7));
    SetField("StreetAddress", JoinNonEmpty({&p[0], &p[1], &p[2]}, "\n"), chosen->line, "ADR");
    SetField("City", p[3], chosen->line, "ADR");
    SetField("StateProvince", p[4], chosen->line, "ADR");
    SetField("PostalCode", p[5], chosen->line, "ADR");
    SetField("Country", p[6], chosen->line, "ADR");
    for (const auto& adr : adrs_) {
        if (&adr != &*chosen) Unmapped(adr.line, "ADR", "a further address has no field");
    }
}

void CardBuilder::MapPhones() {
    for (auto& phone : phones_) {
        if (auto it = groupLabels_.find(phone.group); !phone.group.empty() && it != groupLabels_.end()) {
            phone.label = it->second;
            phone.labelled = true;
        }
    }
    std::vector<bool> used(phones_.size(), false);
    // The fax field takes the first fax number that is not a described phone.
    for (std::size_t i = 0; i < phones_.size(); ++i) {
        if (phones_[i].kind.fax && !phones_[i].labelled) {
            SetField("Fax", phones_[i].number, phones_[i].line, "TEL");
            used[i] = true;
            break;
        }
    }
    const bool faxTaken = std::find(used.begin(), used.end(), true) != used.end();
    int slot = 0;
    bool faxFilled = faxTaken;
    for (std::size_t i = 0; i < phones_.size(); ++i) {
        if (used[i]) continue;
        const PhoneEntry& phone = phones_[i];
        const std::string description = phone.labelled ? phone.label : DescriptionFromKind(phone.kind);
        if (slot < 2) {
            std::string& number = slot == 0 ? card_.record.Phone1Number : card_.record.Phone2Number;
            std::string& text = slot == 0 ? card_.record.Phone1Description : card_.record.Phone2Description;
            SetField(slot == 0 ? "Phone1Number" : "Phone2Number", phone.number, phone.line, "TEL");
            SetField(slot == 0 ? "Phone1Description" : "Phone2Description", description, phone.line, "TEL");
            // A phone that comes out empty (its number was only NUL characters)
            // leaves the slot to the next one, as a card never has a second
            // phone without a first.
            if (!number.empty() || !text.empty()) ++slot;
        } else if (phone.kind.fax && !faxFilled) {
            SetField("Fax", phone.number, phone.line, "TEL");
            faxFilled = true;
        } else {
            Unmapped(phone.line, "TEL", "a further phone number (" + Excerpt(phone.number) + ") has no field");
        }
    }
}

void CardBuilder::MapFirst(std::vector<TextProperty>& list, const char* property, const char* fieldName) {
    if (list.empty()) return;
    auto chosen = std::find_if(list.begin(), list.end(), [](const TextProperty& t) { return t.pref; });
    if (chosen == list.end()) chosen = list.begin();
    SetField(fieldName, chosen->parts.front(), chosen->line, property);
    for (const auto& item : list) {
        if (&item != &*chosen)
            Unmapped(item.line, property, "a further value (" + Excerpt(item.parts.front()) + ") has no field");
    }
}

ImportedCard CardBuilder::Finish() {
    if (!orgs_.empty()) {
        auto& p = orgs_.front().parts;
        SetField("Company", p[0], orgs_.front().line, "ORG");
        if (p.size() > 1) SetField("Department", p[1], orgs_.front().line, "ORG");
        for (std::size_t i = 2; i < p.size(); ++i) {
            if (!p[i].empty()) Unmapped(orgs_.front().line, "ORG", "the unit '" + Excerpt(p[i]) + "' has no field");
        }
        for (std::size_t i = 1; i < orgs_.size(); ++i)
            Unmapped(orgs_[i].line, "ORG", "a further organisation has no field");
    }
    MapName();
    if (card_.displayName.empty() && !orgs_.empty()) card_.displayName = orgs_.front().parts.front();
    MapFirst(titles_, "TITLE", "JobTitle");
    MapAddress();
    MapPhones();
    MapFirst(emails_, "EMAIL", "EMail");
    MapFirst(urls_, "URL", "WebSite");
    if (!notes_.empty()) {
        std::string all;
        for (const auto& note : notes_) all += (all.empty() ? "" : "\n") + note.parts.front();
        SetField("GeneralInformation", all, notes_.front().line, "NOTE");
    }
    auto byLine = [](const Issue& a, const Issue& b) { return a.line < b.line; };
    std::stable_sort(card_.unmapped.begin(), card_.unmapped.end(), byLine);
    std::stable_sort(card_.warnings.begin(), card_.warnings.end(), byLine);
    return std::move(card_);
}

// ------------------------------------------------------------------ reading: the file

class FileReader {
public:
    FileReader(std::string_view bytes, const ReadLimits& limits) : cursor_(bytes), limits_(limits) {}

    ReadResult Run();

private:
    struct LogicalLine {
        std::size_t number = 0;
        std::string text;
        bool tooLong = false;
    };

    bool NextLogical(LogicalLine& out, bool v21);
    void FinishCard();

    LineCursor cursor_;
    const ReadLimits& limits_;
    ReadResult result_;
    std::optional<CardBuilder> card_;
};

// One property line with its folded continuations joined. vCard 2.1 keeps the
// white space that starts a continuation, 3.0 and 4.0 drop it; quoted-printable
// values continue after a line ending in '='; 2.1 base64 data runs on to a
// blank line.
bool FileReader::NextLogical(LogicalLine& out, bool v21) {
    std::string_view line;
    if (!cursor_.Next(line)) return false;
    out.number = cursor_.number();
    out.tooLong = false;
    out.text.assign(line.substr(0, std::min(line.size(), limits_.maxLineBytes)));
    if (line.size() > limits_.maxLineBytes) out.tooLong = true;
    // The encoding is judged once the name and parameters are complete, so
    // that a long line is scanned once, not again for every line it continues on.
    bool headerKnown = false;
    bool quotedPrintable = false;
    bool base64 = false;
    std::size_t scanned = 0;
    auto learnHeader = [&] {
        if (headerKnown) return;
        const std::size_t colon = out.text.find(':', scanned);
        if (colon == std::string::npos) {
            scanned = out.text.size();
            return;
        }
        headerKnown = true;
        const std::string_view header = std::string_view(out.text).substr(0, colon);
        quotedPrintable = IContains(header, "QUOTED-PRINTABLE");
        base64 = IContains(header, "BASE64");
    };
    std::string_view next;
    while (cursor_.Peek(next)) {
        learnHeader();
        std::string_view add;
        if (IsFolded(next)) {
            add = v21 ? next : next.substr(1);
        } else if (quotedPrintable && !out.text.empty() && out.text.back() == '=') {
            out.text.pop_back();
            add = next;
        } else if (v21 && base64 && !next.empty() && next.find(':') == std::string_view::npos) {
            add = next;
        } else {
            break;
        }
        cursor_.Next(next);
        if (out.tooLong || out.text.size() + add.size() > limits_.maxLineBytes) {
            out.tooLong = true;
            out.text.resize(std::min<std::size_t>(out.text.size(), 64));
            continue;
        }
        out.text.append(add);
    }
    return true;
}

bool IsCardLine(std::string_view text, std::string_view what) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view name = Trim(text.substr(0, colon));
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(dot + 1);
    return IEquals(name, what) && IEquals(Trim(text.substr(colon + 1)), "VCARD");
}

void FileReader::FinishCard() {
    result_.cards.push_back(card_->Finish());
    card_.reset();
}

ReadResult FileReader::Run() {
    LogicalLine line;
    bool warnedOutside = false;
    int nested = 0;             // depth inside a card embedded in the current one
    bool agentPending = false;  // the last property was an AGENT introducing an embedded card
    while (NextLogical(line, card_ && card_->v21())) {
        if (Trim(line.text).empty()) continue;
        if (!card_) {
            if (IsCardLine(line.text, "BEGIN")) {
                if (result_.cards.size() >= limits_.maxCards) {
                    result_.errors.push_back({line.number, "",
                                              "the file holds more than " + std::to_string(limits_.maxCards) +
                                                  " cards; the rest was not read"});
                    return std::move(result_);
                }
                card_.emplace(line.number, limits_.maxPropertiesPerCard);
            } else if (!warnedOutside) {
                result_.warnings.push_back({line.number, "", "text outside any card was ignored"});
                warnedOutside = true;
            }
            continue;
        }
        if (nested > 0) {
            if (IsCardLine(line.text, "BEGIN")) ++nested;
            if (IsCardLine(line.text, "END")) --nested;
            continue;
        }
        if (line.tooLong) {
            card_->Error(line.number, "",
                         "the line is longer than " + std::to_string(limits_.maxLineBytes) + " bytes; it was not read");
            agentPending = false;
            continue;
        }
        if (IsCardLine(line.text, "END")) {
            FinishCard();
            agentPending = false;
            continue;
        }
        if (IsCardLine(line.text, "BEGIN")) {
            if (agentPending) {
                nested = 1;
                agentPending = false;
                continue;
            }
            card_->Error(line.number, "", "the card ends without END:VCARD (a new card begins here)");
            FinishCard();
            card_.emplace(line.number, limits_.maxPropertiesPerCard);
            continue;
        }
        agentPending = false;
        if (!card_->Count(line.number)) continue;
        Property prop;
        prop.line = line.number;
        if (!ParseProperty(line.text, !card_->v21(), prop)) {
            card_->Warn(line.number, "", "the line is not a property (" + Excerpt(line.text) + "); ignored");
            continue;
        }
        if (prop.name == "AGENT") {
            card_->Unmapped(line.number, "AGENT", "an agent's card has no field");
            if (Trim(prop.value).empty()) agentPending = true;
            if (IEquals(Trim(prop.value), "BEGIN:VCARD")) nested = 1;
            continue;
        }
        card_->Add(prop);
    }
    if (card_) {
        card_->Error(cursor_.number(), "", "the card ends without END:VCARD (the file ends first)");
        FinishCard();
    }
    if (result_.cards.empty()) result_.errors.push_back({0, "", "the file holds no vCard (no BEGIN:VCARD line)"});
    return std::move(result_);
}

}  // namespace

const char* PictureMediaType(const std::uint8_t* bytes, std::size_t size) {
    auto starts = [&](std::initializer_list<std::uint8_t> sig) {
        return size >= sig.size() && std::equal(sig.begin(), sig.end(), bytes);
    };
    if (starts({0xFF, 0xD8, 0xFF})) return "image/jpeg";
    if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return "image/png";
    if (starts({'G', 'I', 'F', '8'})) return "image/gif";
    if (starts({'B', 'M'})) return "image/bmp";
    if (size >= 12 && starts({'R', 'I', 'F', 'F'}) && std::equal(bytes + 8, bytes + 12, "WEBP")) return "image/webp";
    return "application/octet-stream";
}

std::string EncodeVCard(const CardRecord& r, const WriteOptions& options) {
    const bool v4 = options.version == Version::V4_0;
    std::string out;
    auto line = [&](const std::string& text) { AppendFolded(out, text); };

    line("BEGIN:VCARD");
    line(v4 ? "VERSION:4.0" : "VERSION:3.0");
    std::string fullName = JoinNonEmpty({&r.FirstName, &r.MiddleName, &r.LastName}, " ");
    if (fullName.empty()) fullName = r.Company;
    line("FN:" + Text(fullName));
    line("N:" + Text(r.LastName) + ";" + Text(r.FirstName) + ";" + Text(r.MiddleName) + ";;");
    if (!r.Company.empty() || !r.Department.empty()) {
        line("ORG:" + Text(r.Company) + (r.Department.empty() ? "" : ";" + Text(r.Department)));
    }
    if (!r.JobTitle.empty()) line("TITLE:" + Text(r.JobTitle));
    if (!r.StreetAddress.empty() || !r.City.empty() || !r.StateProvince.empty() || !r.PostalCode.empty() ||
        !r.Country.empty()) {
        line(std::string(v4 ? "ADR;TYPE=work" : "ADR;TYPE=WORK") + ":;;" + Text(r.StreetAddress) + ";" + Text(r.City) +
             ";" + Text(r.StateProvince) + ";" + Text(r.PostalCode) + ";" + Text(r.Country));
    }
    for (const auto& [description, number] :
         {std::pair{&r.Phone1Description, &r.Phone1Number}, std::pair{&r.Phone2Description, &r.Phone2Number}}) {
        if (number->empty() && description->empty()) continue;
        const PhoneKind kind = KindFromDescription(*description);
        std::string head = "TEL";
        if (kind.any()) head += ";TYPE=" + TypeList(kind, !v4);
        // The description travels as a label whenever the type alone would not
        // give it back; always on a fax-type phone, which a reader would
        // otherwise take for the card's fax number; and always without a
        // number, as a reader passes over an empty phone of no description.
        if (!description->empty() && (DescriptionFromKind(kind) != *description || kind.fax || number->empty())) {
            head += ";LABEL=" + ParamValue(*description);
        }
        line(head + ":" + PhoneValue(*number));
    }
    if (!r.Fax.empty()) line(std::string(v4 ? "TEL;TYPE=fax" : "TEL;TYPE=FAX") + ":" + PhoneValue(r.Fax));
    if (!r.EMail.empty()) line("EMAIL:" + Text(r.EMail));
    if (!r.WebSite.empty()) line("URL:" + Uri(r.WebSite));
    if (options.note && !r.GeneralInformation.empty()) line("NOTE:" + Text(r.GeneralInformation));
    if (options.photo && r.HasPicture()) {
        const auto size = std::min(static_cast<std::size_t>(r.PictureLength), r.PictureBytes.size());
        const std::string type = PictureMediaType(r.PictureBytes.data(), size);
        const std::string data = Base64Encode(r.PictureBytes.data(), size);
        if (v4) {
            line("PHOTO:data:" + type + ";base64," + data);
        } else {
            const std::string subtype = type.rfind("image/", 0) == 0 ? Upper(type.substr(6)) : std::string();
            line("PHOTO;ENCODING=b" + (subtype.empty() ? std::string() : ";TYPE=" + subtype) + ":" + data);
        }
    }
    line("END:VCARD");
    return out;
}

ReadResult DecodeVCards(std::string_view bytes, const ReadLimits& limits) {
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        ReadResult result;
        result.errors.push_back({0, "", "the file is UTF-16 text; save it as UTF-8 and import it again"});
        return result;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return FileReader(bytes, limits).Run();
}

}  // namespace vcard
