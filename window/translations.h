// The programs in the user's language: German, French and Spanish catalogues,
// chosen from the environment the way the C library chooses its messages.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

// The languages the programs have catalogues for; English is the programs' own.
const std::vector<std::string>& TranslatedLanguages();

// The language to show: LC_ALL, else LC_MESSAGES, else LANG names the locale;
// none, "C" or "POSIX" means English. Otherwise LANGUAGE, a list of languages
// in order of preference, is heeded before the locale's own language. The
// first language that has a catalogue, or English, comes first: "" for
// English. `getenv` reads the environment (tests pass their own).
std::string UserLanguage(const std::function<const char*(const char*)>& getenv);

// Shows every window text, message and menu in `language` ("" for English,
// which removes the catalogues): the programs' catalogue and Qt's own (the
// desktop's dialogs and key names), read through the programs' one reader.
// False when the programs' catalogue cannot be read; the texts are then English.
bool InstallTranslations(const std::string& language);

// The language installed last ("" for English).
const std::string& CurrentLanguage();

// A file of the data folder in the current language where one is written for
// it: "ovmake-help.html" becomes "ovmake-help_de.html" in German.
QString LocalizedDataFile(const QString& name);
