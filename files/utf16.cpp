#include "files/utf16.h"

#include "files/utf8.h"

namespace ovlet::files {

std::u16string Utf16FromUtf8(std::string_view utf8, bool* lossless) {
    std::u16string out;
    out.reserve(utf8.size());
    bool clean = true;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = 0;
        if (!NextUtf8(utf8, pos, c)) clean = false;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    if (lossless) *lossless = clean;
    return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16, bool* lossless) {
    std::string out;
    out.reserve(utf16.size());
    bool clean = true;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
            clean = false;
        }
        AppendUtf8(out, c);
    }
    if (lossless) *lossless = clean;
    return out;
}

}  // namespace ovlet::files
