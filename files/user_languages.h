// The languages the user reads, most wanted first, as the system names them
// ("de_DE.UTF-8", "fr-CA"); the catalogue chooses among them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ovlet::files {

// On POSIX as the C library chooses its messages: the locale is LC_ALL, else
// LC_MESSAGES, else LANG; none, "C", "C.*" or "POSIX" means no language (the
// programs' own English). Otherwise the languages of LANGUAGE, a list
// separated by colons, come before the locale. On Windows the user's
// preferred display languages, else the default one.
std::vector<std::string> UserLanguages();

// The POSIX rule on an environment read through `getenv` (the tests give
// their own).
std::vector<std::string> UserLanguagesFromEnvironment(const std::function<const char*(const char*)>& getenv);

}  // namespace ovlet::files
