#include "files/utf8.h"

namespace ovlet::files {

bool NextUtf8(std::string_view text, std::size_t& pos, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        c = lead;
        ++pos;
        return true;
    }
    std::size_t extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        value = lead & 0x07u;
        minimum = 0x10000;
    }
    auto fail = [&] {
        c = 0xFFFD;
        ++pos;
        return false;
    };
    if (extra == 0 || text.size() - pos <= extra) return fail();
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) return fail();
        value = (value << 6) | (b & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return fail();
    c = value;
    pos += extra + 1;
    return true;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    char32_t c = 0;
    while (pos < text.size()) {
        // Plain ASCII runs are the common case.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (!NextUtf8(text, pos, c)) return false;
    }
    return true;
}

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

}  // namespace ovlet::files
