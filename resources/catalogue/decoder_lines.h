// The picture library's messages in the user's language. The library speaks
// English and knows nothing of catalogues; its lines are fixed texts, some
// with a number or a file name in them, under the head "Decoder error: ".
// The messages libjpeg and libpng write themselves stay English.
#pragma once

#include <string>
#include <string_view>

namespace ovlet::catalogue {

// `line`, one line of the library as MessageLine makes it ("Decoder error:
// Picture too large: 70000 x 70000 pixels."), in the language set: the head
// and each fixed text translated, numbers and names kept. A detail the
// catalogue does not know stays English under the translated head; a line
// of no known shape is returned as it is. `complete` (when given) says
// whether the whole line was translated. In English the line as it is.
std::string TranslateDecoderLine(std::string_view line, bool* complete = nullptr);

// The decoders' fixed texts as written, %1 and %2 for their variable parts
// (for the tests).
const char* const* DecoderLinePatterns(std::size_t& count);

}  // namespace ovlet::catalogue
