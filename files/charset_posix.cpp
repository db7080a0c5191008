#include <iconv.h>

#include <cerrno>

#include "files/charset.h"
#include "files/charset_tables.h"

namespace ovlet::files {
namespace {

// Only plain names go to iconv: letters, digits and the marks that names of
// character sets use, so that no option ("//IGNORE") or path reaches it.
bool IsPlainCharsetName(const std::string& name) {
    if (name.empty() || name.size() > 40) return false;
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                        c == '_' || c == '.' || c == ':';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

bool ConvertToUtf8(std::string_view bytes, const std::string& charset, std::string& utf8, std::size_t& invalid) {
    invalid = 0;
    if (!IsPlainCharsetName(charset)) return false;
    if (ConvertWithTable(bytes, charset, utf8, invalid)) return true;
    iconv_t cd = ::iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    utf8.clear();
    char buffer[4096];
    // iconv takes a non-const input pointer but does not write through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = ::iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // An undefined byte (EILSEQ) or a character cut at the end (EINVAL):
        // one replacement character for one byte, then on.
        utf8 += "\xEF\xBF\xBD";
        ++invalid;
        ++in;
        --inLeft;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush the shift state of stateful sets (ISO-2022-JP).
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    ::iconv(cd, nullptr, nullptr, &out, &outLeft);
    utf8.append(buffer, static_cast<std::size_t>(out - buffer));
    ::iconv_close(cd);
    return true;
}

}  // namespace ovlet::files
