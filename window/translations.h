// The windows in the user's language: the programs' catalogue
// (resources/catalogue) answers Qt's tr() and translate().
#pragma once

#include <QString>
#include <string>
#include <vector>

// The languages the programs have catalogues for; English is the programs' own.
const std::vector<std::string>& TranslatedLanguages();

// The language the user reads (ovlet::files::UserLanguages), chosen among the
// catalogues: "" for English.
std::string UserLanguage();

// Shows every window text, message and menu in `language` ("" for English,
// which removes the catalogues): the programs' catalogue and Qt's own (the
// desktop's dialogs and key names, read through the programs' one reader).
// False for a language without a catalogue; the texts are then English.
bool InstallTranslations(const std::string& language);

// The language installed last ("" for English).
const std::string& CurrentLanguage();

// A file of the data folder in the current language where one is written for
// it: "ovmake-help.html" becomes "ovmake-help_de.html" in German.
QString LocalizedDataFile(const QString& name);
