// The catalogues as the build writes them from resources/translations/*.po
// (make_catalogue.py): one sorted array of entries per language.
#pragma once

#include <cstddef>
#include <iterator>

namespace ovlet::catalogue::table {

struct Entry {
    const char* context;      // msgctxt: the class or table the text belongs to
    const char* text;         // msgid: the English text
    const char* translation;  // msgstr, UTF-8
};

struct Language {
    const char* name;  // "de": the .po file's name
    const Entry* entries;
    std::size_t count;
};

extern const Language kLanguages[];
extern const std::size_t kLanguageCount;

}  // namespace ovlet::catalogue::table
