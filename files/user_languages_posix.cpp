#include <cstdlib>
#include <string_view>

#include "files/user_languages.h"

namespace ovlet::files {

std::vector<std::string> UserLanguagesFromEnvironment(const std::function<const char*(const char*)>& getenv) {
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(variable);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    // The C library heeds LANGUAGE only under a locale other than C.
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return {};
    std::vector<std::string> languages;
    if (const char* list = getenv("LANGUAGE"); list && *list) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            if (const std::string_view language = rest.substr(0, colon); !language.empty()) {
                languages.emplace_back(language);
            }
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    languages.push_back(locale);
    return languages;
}

std::vector<std::string> UserLanguages() {
    return UserLanguagesFromEnvironment([](const char* name) { return std::getenv(name); });
}

}  // namespace ovlet::files
