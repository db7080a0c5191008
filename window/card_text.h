// Text between the card's code page (Windows-1252) and the windows' UTF-8.
#pragma once

#include <optional>
#include <string>

namespace ovlet::window {

std::string FromAnsi(const std::string& ansi);
// Nothing when the text holds a character the code page cannot store.
std::optional<std::string> ToAnsi(const std::string& utf8);

}  // namespace ovlet::window
