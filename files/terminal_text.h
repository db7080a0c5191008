// Text from files shown on a terminal. A card or a vCard comes from strangers:
// its text must not move the cursor, change colours, set the window title or
// turn the line around, so what could is shown escaped instead.
#pragma once

#include <string>
#include <string_view>

namespace ovlet::files {

// The UTF-8 text with control characters escaped: C0 controls and DEL as
// \xNN (\t, \r and \n by those names), C1 controls and the characters that
// reorder a line (U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) as
// \uNNNN, and bytes that are not UTF-8 as \xNN. A backslash stays a
// backslash. With `keepLineBreaks` a line feed stays a line feed.
std::string TerminalSafe(std::string_view utf8, bool keepLineBreaks = false);

}  // namespace ovlet::files
