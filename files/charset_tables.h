// The character sets both systems convert from one table (charset_tables.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ovlet::files {

// The name in lower case without '-', '_', '.', ':' and spaces: "ISO-8859-1"
// and "iso8859_1" are one set.
std::string NormalCharsetName(const std::string& charset);

// Converts with the table when the set has one; false (and nothing done)
// when it has not.
bool ConvertWithTable(std::string_view bytes, const std::string& charset, std::string& utf8, std::size_t& invalid);

}  // namespace ovlet::files
