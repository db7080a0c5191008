// Character sets on Windows: the name is looked up in a table of the sets
// both systems convert (by their IANA names and common aliases) and the bytes
// go through MultiByteToWideChar one character at a time, so that each byte a
// set does not define becomes one U+FFFD, as iconv's conversion gives it.
#include <windows.h>

#include <algorithm>
#include <iterator>

#include "files/ascii_text.h"
#include "files/charset.h"
#include "files/charset_tables.h"
#include "files/utf16.h"
#include "files/utf8.h"

namespace ovlet::files {
namespace {

struct CodePageName {
    const char* name;  // lower case, without '-', '_', '.', ':' and spaces
    UINT codePage;
};

constexpr CodePageName kCodePages[] = {
    {"usascii", 20127},     {"ascii", 20127},        {"ansix341968", 20127}, {"iso646us", 20127},
    {"iso88591", 28591},    {"latin1", 28591},       {"l1", 28591},           {"iso88592", 28592},
    {"latin2", 28592},      {"iso88593", 28593},     {"iso88594", 28594},     {"iso88595", 28595},
    {"iso88596", 28596},    {"iso88597", 28597},     {"iso88598", 28598},     {"iso88599", 28599},
    {"latin5", 28599},      {"iso885913", 28603},    {"iso885915", 28605},    {"latin9", 28605},
    {"windows1250", 1250},  {"cp1250", 1250},        {"windows1251", 1251},   {"cp1251", 1251},
    {"windows1252", 1252},  {"cp1252", 1252},        {"windows1253", 1253},   {"cp1253", 1253},
    {"windows1254", 1254},  {"cp1254", 1254},        {"windows1255", 1255},   {"cp1255", 1255},
    {"windows1256", 1256},  {"cp1256", 1256},        {"windows1257", 1257},   {"cp1257", 1257},
    {"windows1258", 1258},  {"cp1258", 1258},        {"windows874", 874},     {"cp874", 874},
    {"koi8r", 20866},       {"koi8u", 21866},        {"ibm437", 437},         {"cp437", 437},
    {"ibm850", 850},        {"cp850", 850},          {"ibm852", 852},         {"cp852", 852},
    {"ibm866", 866},        {"cp866", 866},          {"macintosh", 10000},    {"macroman", 10000},
    {"shiftjis", 932},      {"sjis", 932},           {"mskanji", 932},        {"cp932", 932},
    {"windows31j", 932},    {"eucjp", 20932},        {"gb2312", 936},         {"euccn", 936},
    {"gbk", 936},           {"cp936", 936},          {"gb18030", 54936},      {"big5", 950},
    {"cp950", 950},         {"euckr", 949},        {"cp949", 949},          {"uhc", 949},
    {"utf8", CP_UTF8},      {"utf7", CP_UTF7},       {"iso2022jp", 50220},
};

// Only plain names are looked up: letters, digits and the marks that names of
// character sets use.
bool IsPlainCharsetName(const std::string& name) {
    if (name.empty() || name.size() > 40) return false;
    for (const char c : name) {
        const bool ok = IsAsciiLetterOrDigit(c) || c == '-' || c == '_' || c == '.' || c == ':';
        if (!ok) return false;
    }
    return true;
}

UINT CodePageOf(const std::string& charset) {
    const std::string key = NormalCharsetName(charset);
    for (const CodePageName& entry : kCodePages) {
        if (key == entry.name) return entry.codePage;
    }
    return 0;
}

// The Windows-125x and 874 code pages give their unassigned bytes the C1
// control of the same number; iconv (and the sets' own tables) leave them
// undefined.
bool GivesUndefinedAsControl(UINT codePage) {
    return (codePage >= 1250 && codePage <= 1258) || codePage == 874;
}

// Sets whose converter keeps a state between characters (escape sequences):
// they convert as a whole, without a check of each byte.
bool IsStateful(UINT codePage) {
    return codePage == CP_UTF7 || codePage == 50220;
}

void AppendWide(std::string& out, const wchar_t* wide, int count) {
    out += Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide), static_cast<std::size_t>(count)));
}

}  // namespace

bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& utf8, std::size_t& invalid) {
    invalid = 0;
    if (!IsPlainCharsetName(charset)) return false;
    if (ConvertWithTable(bytes, charset, utf8, invalid)) return true;
    const UINT codePage = CodePageOf(charset);
    CPINFO info{};
    if (codePage == 0 || (codePage != CP_UTF8 && codePage != CP_UTF7 && !::GetCPInfo(codePage, &info))) return false;
    utf8.clear();
    if (codePage == CP_UTF8) {
        // The programs' own decoder: one U+FFFD a malformed byte.
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            char32_t c = 0;
            if (!NextUtf8(bytes, pos, c)) ++invalid;
            AppendUtf8(utf8, c);
        }
        return true;
    }
    if (IsStateful(codePage)) {
        if (bytes.empty()) return true;
        const int length = static_cast<int>(bytes.size());
        const int need = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(need), L'\0');
        ::MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), need);
        AppendWide(utf8, wide.data(), need);
        return true;
    }
    const bool singleByte = info.MaxCharSize == 1;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        if (lead < 0x80 && codePage != 20127) {
            utf8 += static_cast<char>(lead);
            ++pos;
            continue;
        }
        wchar_t wide[4];
        int got = 0;
        std::size_t used = 0;
        const std::size_t longest = singleByte ? 1 : std::min<std::size_t>(4, bytes.size() - pos);
        for (std::size_t length = 1; length <= longest && got == 0; ++length) {
            got = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data() + pos, static_cast<int>(length), wide,
                                        static_cast<int>(std::size(wide)));
            used = length;
        }
        if (got == 1 && lead >= 0x80 && GivesUndefinedAsControl(codePage) && wide[0] >= 0x80 && wide[0] <= 0x9F) got = 0;
        if (got == 1 && codePage == 20127 && lead >= 0x80) got = 0;
        if (got <= 0) {
            utf8 += "\xEF\xBF\xBD";
            ++invalid;
            ++pos;
            continue;
        }
        AppendWide(utf8, wide, got);
        pos += used;
    }
    return true;
}

}  // namespace ovlet::files
