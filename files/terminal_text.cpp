#include "files/terminal_text.h"

#include <cstdio>

#include "files/utf8.h"

namespace ovlet::files {
namespace {

bool ReordersLine(char32_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void AppendByte(std::string& out, unsigned byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02x", byte);
    out += buffer;
}

void AppendCodePoint(std::string& out, char32_t c) {
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
    out += buffer;
}

}  // namespace

std::string TerminalSafe(std::string_view utf8, bool keepLineBreaks) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[pos]);
        if (byte >= 0x20 && byte < 0x7F) {
            out += static_cast<char>(byte);
            ++pos;
            continue;
        }
        if (byte < 0x80) {
            ++pos;
            if (byte == '\n' && keepLineBreaks) {
                out += '\n';
            } else if (byte == '\n') {
                out += "\\n";
            } else if (byte == '\r') {
                out += "\\r";
            } else if (byte == '\t') {
                out += "\\t";
            } else {
                AppendByte(out, byte);
            }
            continue;
        }
        const std::size_t start = pos;
        char32_t c = 0;
        if (!NextUtf8(utf8, pos, c)) {
            AppendByte(out, byte);
        } else if ((c >= 0x80 && c < 0xA0) || ReordersLine(c)) {
            AppendCodePoint(out, c);
        } else {
            out.append(utf8, start, pos - start);
        }
    }
    return out;
}

}  // namespace ovlet::files
