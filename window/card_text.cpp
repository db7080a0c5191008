#include "window/card_text.h"

#include "card/codepage.h"

namespace ovlet::window {

std::string FromAnsi(const std::string& ansi) {
    return card::Utf8FromAnsi(ansi);
}

std::optional<std::string> ToAnsi(const std::string& utf8) {
    return card::AnsiFromUtf8(utf8);
}

}  // namespace ovlet::window
