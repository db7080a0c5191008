// UTF-16, the text of Windows' own calls: paths, arguments, the console.
// The conversion is the same on every system, so its tests run everywhere.
#pragma once

#include <string>
#include <string_view>

namespace ovlet::files {

// UTF-8 to UTF-16. A sequence that is not UTF-8 becomes U+FFFD (one per
// byte, as NextUtf8 reads it); `lossless` says whether there was none.
std::u16string Utf16FromUtf8(std::string_view utf8, bool* lossless = nullptr);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD (a Windows file name may
// hold one; it cannot be kept in UTF-8).
std::string Utf8FromUtf16(std::u16string_view utf16, bool* lossless = nullptr);

}  // namespace ovlet::files
