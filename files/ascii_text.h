// ASCII character classes and case, the same whatever the user's locale:
// the programs' texts are UTF-8 or Windows-1252, and the C library's
// classification would judge their bytes by the locale's own character set.
#pragma once

#include <string>

namespace ovlet::files {

inline bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool IsAsciiLetterOrDigit(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// Space, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

inline std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace ovlet::files
