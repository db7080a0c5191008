// Conversions between the card's code page, Windows-1252 (the files come from
// Windows machines), and Unicode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovlet::card {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page
// leaves undefined (81 8D 8F 90 9D) read as the C1 controls of the same value,
// as Windows reads them, so a card that holds one still shows something.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte for a code point, or nothing when the code page cannot
// hold it. A C1 control (U+0080 to U+009F) is refused, never stored as the
// character of the same byte (U+0080 is not the euro sign), except the five
// that the undefined bytes read as, which go back to them.
std::optional<unsigned char> FromUnicode(char32_t codePoint);

// Windows-1252 text to UTF-8.
std::string Utf8FromAnsi(std::string_view ansi);

// UTF-8 text to Windows-1252. Fails (returns nothing) on malformed UTF-8 or on
// a character the code page cannot hold; `badChar` then receives the offending
// character (or U+FFFD for malformed input) and `badOffset` its byte offset.
std::optional<std::string> AnsiFromUtf8(std::string_view utf8, char32_t* badChar = nullptr,
                                        std::size_t* badOffset = nullptr);

// UTF-16 little-endian text (byteCount bytes) to Windows-1252; a character the
// code page cannot hold, or a lone surrogate, becomes '?'.
std::string AnsiFromUtf16Le(const std::uint8_t* bytes, std::size_t byteCount);

}  // namespace ovlet::card
