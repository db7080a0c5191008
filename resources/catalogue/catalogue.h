// The programs' texts in the user's language: one catalogue, read by every
// face and by the terminal tool. English is the programs' own language; the
// translations come from resources/translations/*.po, built into the program.
// A text is found by its context (the class or table that owns it, msgctxt)
// and its English words (msgid).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ovlet::catalogue {

// The languages there is a catalogue for ("de", "fr", "es").
const std::vector<std::string>& Languages();

// The translation of `text` in `context` into `language`, or null where the
// catalogue has none (English, an unknown language or text).
const char* FindTranslation(std::string_view language, std::string_view context, std::string_view text);

// The language to show, from the user's languages, most wanted first, as the
// system gives them ("de_DE.UTF-8", "fr-CA", "es"): the first one that is
// English or has a catalogue decides; "" for English, also when none does.
std::string ChooseLanguage(const std::vector<std::string>& userLanguages);

// The language Translate speaks from now on ("" for English). A language
// without a catalogue is English.
void SetLanguage(const std::string& language);
const std::string& Language();

// `text` of `context` in the language set, or as it is where the catalogue
// has no translation.
std::string Translate(std::string_view context, std::string_view text);

// `pattern` with %1 to %9 replaced by the arguments (%1 by the first); a
// marker without its argument, and "%" before anything else, stay as they
// are. An argument's own markers are not replaced again.
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& arguments);

// Marks a text for the catalogue where it is written down and translated
// elsewhere (scripts/update-translations finds it): the text itself.
constexpr const char* TranslateLater(const char* /*context*/, const char* text) {
    return text;
}

}  // namespace ovlet::catalogue
