// Text in other character sets, for vCard 2.1's CHARSET= and its kin. Linux
// converts with the C library's iconv, Windows with its own code pages; a
// name is first checked to be a plain character-set name on both.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ovlet::files {

// Converts `bytes` in the named character set to UTF-8. A byte the set does
// not define (or a sequence cut at the end) becomes one U+FFFD, counted in
// `invalid`. False when the set is not known here.
bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& utf8, std::size_t& invalid);

}  // namespace ovlet::files
