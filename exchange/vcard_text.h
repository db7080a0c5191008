// The value encodings of vCard files, shared by the writer and the reader:
// UTF-8 checks, base64, quoted-printable, percent escapes, the backslash
// escapes of text values (each version has its own), line folding, RFC 6868
// parameter escapes, and character sets (through files/). No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_error.h"

namespace ovlet::exchange::vcard {

// ------------------------------------------------------------------ ASCII and UTF-8

char AsciiUpper(char c);
std::string Upper(std::string_view s);
bool IEquals(std::string_view a, std::string_view b);
bool IStartsWith(std::string_view s, std::string_view prefix);
bool IContains(std::string_view s, std::string_view part);
std::string_view Trim(std::string_view s);

// A value shortened to about 40 bytes for a message, never inside a character.
std::string Excerpt(std::string_view utf8);
std::string Utf8Of(char32_t c);
std::string CodePointName(char32_t c);  // "U+0141"

// ------------------------------------------------------------------ transfer encodings

std::string Base64Encode(const std::uint8_t* data, std::size_t size);
// Decodes base64, skipping white space. Padding is optional but nothing may
// follow it; Base64Damaged says what is wrong.
Result<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

// Quoted-printable as vCard 2.1 uses it; a malformed escape is kept as it stands.
std::string QuotedPrintableDecode(std::string_view text);

int HexDigit(char c);
// Undoes every %XX escape; a '%' not followed by two hex digits stays.
std::string PercentDecode(std::string_view text);

// ------------------------------------------------------------------ text values

enum class Dialect {
    V21,  // vCard 2.1: only "\;" and "\\" are escapes; every other backslash is text
    V30,  // RFC 2426: "\\", "\,", "\;" and "\n" in every text value
    V40,  // RFC 6350: "\\", "\," and "\n"; "\;" only inside compound values
};

// Text for a value: the control characters that RFC 6350 section 3.3 and
// RFC 2426 leave out of every value (C0 but tab, CR and LF; DEL) become
// U+FFFD. CR and LF stay for the escapes to carry.
std::string ReplaceControls(std::string_view utf8);

// A text value for writing. `compound` says that the value is one component
// of N, ADR or ORG, where a semicolon separates components in every version.
std::string EscapeText(std::string_view utf8, Dialect dialect, bool compound);

// Splits a value into its components at unescaped semicolons (when
// `structured`) and undoes the backslash escapes. In 3.0 and 4.0 a backslash
// before any other character is needless and dropped ("http\://" reads as
// "http://"); in 2.1 it is kept, so single backslashes of Windows paths survive.
std::vector<std::string> Unescape(std::string_view text, bool structured, Dialect dialect);

// A web address for writing: the characters some readers take for the end of
// the value (",", ";") or that no address holds (backslash, line breaks) are
// percent-encoded, which gives the same address.
std::string EscapeUri(std::string_view utf8);
// The reverse for a URL value that has been unescaped as text.
std::string UnescapeUri(std::string_view text);

// A quoted parameter value. 4.0 carries every character, with RFC 6868
// caret escapes; RFC 6868 does not extend to 3.0, whose quoted string
// (RFC 2426) cannot hold a double quote, which is dropped, or a line break,
// which becomes a space.
std::string QuoteParam(std::string_view utf8, Dialect dialect);
std::string CaretDecode(std::string_view s);

// RFC 6350 section 3.2: lines should not be longer than 75 octets. Appends
// `line` folded, never inside a UTF-8 sequence, and ends it with CR LF.
inline constexpr std::size_t kFoldOctets = 75;
void AppendFolded(std::string& out, std::string_view line);

// ------------------------------------------------------------------ character sets
// (Other character sets go through files::ConvertToUtf8.)

// UTF-16 text (after its byte-order mark) to UTF-8. A lone surrogate or an
// odd last byte becomes U+FFFD; `invalid` counts them.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian, std::size_t& invalid);

}  // namespace ovlet::exchange::vcard
