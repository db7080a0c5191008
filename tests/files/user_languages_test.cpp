// The user's languages on POSIX, read from the environment as the C library
// reads it for its messages.
#include <gtest/gtest.h>

#include <map>

#include "files/user_languages.h"

namespace ovlet::files {
namespace {

TEST(UserLanguages, ComeFromTheEnvironmentAsTheCLibraryReadsIt) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {{}, {}},
        {{{"LANG", "de_DE.UTF-8"}}, {"de_DE.UTF-8"}},
        // LC_ALL before LC_MESSAGES before LANG; an empty one does not count.
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, {"fr_FR.UTF-8"}},
        {{{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LC_ALL", "es_ES.UTF-8"}}, {"es_ES.UTF-8"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", ""}}, {"de_DE.UTF-8"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_CTYPE", "fr_FR.UTF-8"}}, {"de_DE.UTF-8"}},
        // The C locale speaks English whatever LANGUAGE asks.
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}}, {}},
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, {}},
        {{{"LANG", "POSIX"}, {"LANGUAGE", "de"}}, {}},
        {{{"LANGUAGE", "de"}}, {}},
        // LANGUAGE's list comes first, in its order, empty entries skipped.
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "it:fr:de"}}, {"it", "fr", "de", "de_DE.UTF-8"}},
        {{{"LANG", "es_ES.UTF-8"}, {"LANGUAGE", ":fr_CA::"}}, {"fr_CA", "es_ES.UTF-8"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ""}}, {"de_DE.UTF-8"}},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const auto& [name, value] : c.environment) trace += name + "=" + value + " ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(UserLanguagesFromEnvironment([&](const char* name) -> const char* {
                      const auto it = c.environment.find(name);
                      return it == c.environment.end() ? nullptr : it->second.c_str();
                  }),
                  c.want);
    }
}

}  // namespace
}  // namespace ovlet::files
