// The windows in the user's language: the programs' catalogue
// (resources/catalogue) answers every text the windows show.
#pragma once

#include <string>
#include <vector>

namespace ovlet::window {

// The languages the programs have catalogues for; English is the programs' own.
const std::vector<std::string>& TranslatedLanguages();

// The language the user reads (ovlet::files::UserLanguages), chosen among the
// catalogues: "" for English.
std::string UserLanguage();

// Shows every window text, message and menu in `language` ("" for English,
// which removes the catalogues): the programs' catalogue, and the face's own
// words (the desktop's dialogs and key names) where the face has them.
// False for a language without a catalogue; the texts are then English.
bool InstallTranslations(const std::string& language);

// The language installed last ("" for English).
const std::string& CurrentLanguage();

}  // namespace ovlet::window
