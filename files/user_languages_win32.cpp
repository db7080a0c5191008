#include <windows.h>

#include "files/user_languages.h"
#include "files/utf16.h"

namespace ovlet::files {

namespace {

// A list of names, each ended by a null, the list by a second one.
std::vector<std::string> NamesOf(const std::wstring& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < list.size() && list[start] != L'\0') {
        std::size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos) end = list.size();
        names.push_back(Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(list.data() + start), end - start)));
        start = end + 1;
    }
    return names;
}

}  // namespace

std::vector<std::string> UserLanguages() {
    ULONG count = 0;
    ULONG size = 0;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) && size > 0) {
        std::wstring list(size, L'\0');
        if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, list.data(), &size)) {
            list.resize(size);
            if (std::vector<std::string> names = NamesOf(list); !names.empty()) return names;
        }
    }
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) > 0) return {Utf8FromUtf16(reinterpret_cast<const char16_t*>(name))};
    return {};
}

}  // namespace ovlet::files
