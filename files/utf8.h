// UTF-8: the one decoder and encoder of the programs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ovlet::files {

// Decodes the sequence at `pos` into `c` and moves past it. A malformed,
// cut, overlong or surrogate sequence, or one beyond U+10FFFF, gives false,
// U+FFFD in `c` and a move of one byte.
bool NextUtf8(std::string_view text, std::size_t& pos, char32_t& c);

// Whether the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Appends one code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace ovlet::files
