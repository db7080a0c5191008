// Text for HTML and SVG pages.
#pragma once

#include <string>
#include <string_view>

namespace ovlet::exchange {

// UTF-8 text as it may stand in an element or a quoted attribute: the markup
// characters as entities, a control character (which a card can hold, and
// which XML does not allow) as U+FFFD; line feeds and tabs stay, carriage
// returns go.
std::string EscapeMarkup(std::string_view utf8);

}  // namespace ovlet::exchange
