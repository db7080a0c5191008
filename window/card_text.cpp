#include "window/card_text.h"

#include "card/codepage.h"

std::string FromAnsi(const std::string& ansi) {
    return codepage::Utf8FromAnsi(ansi);
}

std::optional<std::string> ToAnsi(const std::string& utf8) {
    return codepage::AnsiFromUtf8(utf8);
}
