#include "exchange/vcard_text.h"

#include <cstdio>

#include "card/codepage.h"
#include "files/charset.h"
#include "files/utf8.h"

namespace ovlet::exchange::vcard {

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

std::string Excerpt(std::string_view utf8) {
    constexpr std::size_t kMax = 40;
    if (utf8.size() <= kMax) return std::string(utf8);
    std::size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    return std::string(utf8.substr(0, cut)) + "...";
}

std::string Utf8Of(char32_t c) {
    std::string out;
    files::AppendUtf8(out, c);
    return out;
}

std::string CodePointName(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

// ------------------------------------------------------------------ base64

namespace {
constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}  // namespace

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

namespace {

int Base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

Result<std::vector<std::uint8_t>> Base64Decode(std::string_view text) {
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
            return ExchangeError{ExchangeError::Kind::Base64Damaged, buf};
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
        return ExchangeError{ExchangeError::Kind::Base64Damaged, "the data ends in the middle of a base64 group"};
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

// ------------------------------------------------------------------ text values

std::string ReplaceControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F) {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
    }
    return out;
}

std::string EscapeText(std::string_view utf8, Dialect dialect, bool compound) {
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
                // RFC 6350 lets a semicolon stand in a text value; only a
                // component of a compound value must escape it.
                out += (dialect != Dialect::V40 || compound) ? "\\;" : ";";
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

std::vector<std::string> Unescape(std::string_view text, bool structured, Dialect dialect) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char n = text[i + 1];
            // 2.1 escapes only \; (its own) and \\ (as ez-vcard and evolution
            // read it); any other backslash is text.
            if (n == ';' || n == '\\') {
                parts.back() += n;
                ++i;
                continue;
            }
            if (dialect != Dialect::V21) {
                parts.back() += (n == 'n' || n == 'N') ? '\n' : n;
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

std::string EscapeUri(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case ',':
                out += "%2C";
                break;
            case ';':
                out += "%3B";
                break;
            case '\\':
                out += "%5C";
                break;
            case '\r':
                out += "%0D";
                break;
            case '\n':
                out += "%0A";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UnescapeUri(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == ':') continue;  // "http\://" of 2.1 writers
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            const char c = static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            if (c == ',' || c == ';' || c == '\\' || c == '\r' || c == '\n') {
                out += c;
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string QuoteParam(std::string_view utf8, Dialect dialect) {
    const bool caret = dialect == Dialect::V40;
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '^' && caret) {
            out += "^^";
        } else if (c == '"') {
            if (caret) out += "^'";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
            out += caret ? "^n" : " ";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string CaretDecode(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '^' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == 'n' || n == 'N' || n == '^' || n == '\'') {
                out += n == '^' ? '^' : n == '\'' ? '"' : '\n';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

void AppendFolded(std::string& out, std::string_view line) {
    std::size_t pos = 0;
    std::size_t room = kFoldOctets;
    while (line.size() - pos > room) {
        std::size_t cut = pos + room;
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

// ------------------------------------------------------------------ character sets

std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian, std::size_t& invalid) {
    invalid = 0;
    std::string out;
    out.reserve(bytes.size() / 2 * 3 / 2);
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
            ++invalid;
        }
        files::AppendUtf8(out, c);
    }
    if (i < bytes.size()) {
        files::AppendUtf8(out, 0xFFFD);
        ++invalid;
    }
    return out;
}

}  // namespace ovlet::exchange::vcard
