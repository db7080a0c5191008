#include "card/codepage.h"

#include "files/utf8.h"

namespace ovlet::card {
namespace {

// Bytes 80 to 9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::optional<unsigned char> FromUnicode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<unsigned char>(codePoint);
    }
    // Of the C1 controls (U+0080 to U+009F) only the five that the undefined
    // bytes read as go back to those bytes, so a stored card keeps them; the
    // others are refused and never become the character of the same byte.
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighControls[i] == codePoint) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string Utf8FromAnsi(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    for (char ch : ansi) {
        files::AppendUtf8(out, ToUnicode(static_cast<unsigned char>(ch)));
    }
    return out;
}

std::optional<std::string> AnsiFromUtf8(std::string_view utf8, char32_t* badChar, std::size_t* badOffset) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        char32_t c = 0;
        const bool ok = files::NextUtf8(utf8, pos, c);
        const auto byte = ok ? FromUnicode(c) : std::nullopt;
        if (!byte) {
            if (badChar) *badChar = c;
            if (badOffset) *badOffset = start;
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

std::string AnsiFromUtf16Le(const std::uint8_t* bytes, std::size_t byteCount) {
    std::string out;
    out.reserve(byteCount / 2);
    const std::size_t units = byteCount / 2;
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
            const char32_t low = static_cast<char32_t>(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        const auto byte = (c >= 0xD800 && c <= 0xDFFF) ? std::nullopt : FromUnicode(c);
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

}  // namespace ovlet::card
