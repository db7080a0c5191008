#include "window/card_text.h"

#include "card/codepage.h"

using ovlet::card::AnsiFromUtf8;
using ovlet::card::Utf8FromAnsi;

std::string FromAnsi(const std::string& ansi) {
    return Utf8FromAnsi(ansi);
}

std::optional<std::string> ToAnsi(const std::string& utf8) {
    return AnsiFromUtf8(utf8);
}
