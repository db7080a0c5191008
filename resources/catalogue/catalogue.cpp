#include "resources/catalogue/catalogue.h"

#include <algorithm>
#include <utility>

#include "resources/catalogue/catalogue_table.h"

namespace ovlet::catalogue {
namespace {

const table::Language* FindLanguage(std::string_view language) {
    if (language.empty()) return nullptr;
    for (std::size_t i = 0; i < table::kLanguageCount; ++i) {
        if (table::kLanguages[i].name == language) return &table::kLanguages[i];
    }
    return nullptr;
}

// Entries are sorted by context, then text, as bytes: string_view compares
// chars as unsigned, as the generator sorted them.
bool Before(const table::Entry& entry, std::pair<std::string_view, std::string_view> key) {
    return std::pair<std::string_view, std::string_view>(entry.context, entry.text) < key;
}

// "de_DE.UTF-8@euro", "de-DE" -> "de".
std::string_view LanguagePart(std::string_view name) {
    return name.substr(0, name.find_first_of("_-.@"));
}

std::string& Current() {
    static std::string language;
    return language;
}

}  // namespace

const std::vector<std::string>& Languages() {
    static const std::vector<std::string> languages = [] {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < table::kLanguageCount; ++i) names.emplace_back(table::kLanguages[i].name);
        return names;
    }();
    return languages;
}

const char* FindTranslation(std::string_view language, std::string_view context, std::string_view text) {
    const table::Language* catalogue = FindLanguage(language);
    if (!catalogue) return nullptr;
    const table::Entry* end = catalogue->entries + catalogue->count;
    const std::pair<std::string_view, std::string_view> key(context, text);
    const table::Entry* found = std::lower_bound(catalogue->entries, end, key, Before);
    if (found == end || found->context != context || found->text != text) return nullptr;
    return found->translation;
}

std::string ChooseLanguage(const std::vector<std::string>& userLanguages) {
    for (const std::string& name : userLanguages) {
        const std::string_view language = LanguagePart(name);
        if (language == "en") return {};
        if (FindLanguage(language)) return std::string(language);
    }
    return {};
}

void SetLanguage(const std::string& language) {
    Current() = FindLanguage(language) ? language : std::string();
}

const std::string& Language() {
    return Current();
}

std::string Translate(std::string_view context, std::string_view text) {
    const char* translation = FindTranslation(Current(), context, text);
    return translation ? std::string(translation) : std::string(text);
}

std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& arguments) {
    std::string filled;
    filled.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                filled += arguments[index];
                ++i;
                continue;
            }
        }
        filled += pattern[i];
    }
    return filled;
}

}  // namespace ovlet::catalogue
