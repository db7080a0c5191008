#include "card/codepage.h"

namespace codepage {
namespace {

// Bytes 80 to 9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at `pos`; returns U+FFFD and advances one byte
// when the sequence is malformed, overlong or a surrogate.
char32_t NextUtf8(std::string_view s, std::size_t& pos, bool& ok) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    ok = true;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ok = false;
        ++pos;
        return 0xFFFD;
    }
    if (s.size() - pos <= static_cast<std::size_t>(extra)) {
        ok = false;
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
        if ((b & 0xC0) != 0x80) {
            ok = false;
            ++pos;
            return 0xFFFD;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ok = false;
        ++pos;
        return 0xFFFD;
    }
    pos += static_cast<std::size_t>(extra) + 1;
    return c;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

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
    for (int i = 0; i < 32; ++i) {
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
        AppendUtf8(out, ToUnicode(static_cast<unsigned char>(ch)));
    }
    return out;
}

std::optional<std::string> AnsiFromUtf8(std::string_view utf8, char32_t* badChar, std::size_t* badOffset) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        bool ok = true;
        const char32_t c = NextUtf8(utf8, pos, ok);
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

}  // namespace codepage
