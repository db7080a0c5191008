// The catalogue: lookups by language, context and text, the language chosen
// from the user's list, placeholders, and the table the build makes from the
// .po files.
#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <tuple>

#include "resources/catalogue/catalogue.h"
#include "resources/catalogue/catalogue_table.h"

namespace ovlet::catalogue {
namespace {

TEST(Catalogue, FindsATextByLanguageContextAndWords) {
    struct Case {
        const char* language;
        const char* context;
        const char* text;
        const char* want;  // null: no translation
    };
    const Case cases[] = {
        {"de", "AboutDialog", "About Ovlet Maker", "Über Ovlet Maker"},
        {"fr", "AboutDialog", "About Ovlet Maker", "À propos d'Ovlet Maker"},
        {"es", "AboutDialog", "About Ovlet Maker", "Acerca de Ovlet Maker"},
        // The same words in another context are another entry.
        {"de", "CCardDialog", "About Ovlet Maker", "Über Ovlet Maker"},
        {"de", "CardForm", "About Ovlet Maker", nullptr},
        {"de", "", "About Ovlet Maker", nullptr},
        // Texts with a line break and a placeholder, as written in the sources.
        {"de", "CardMessages", "The card's picture cannot be shown.\n\n%1",
         "Das Bild der Karte kann nicht angezeigt werden.\n\n%1"},
        {"fr", "CardMessages", "Please enter no more than %1 characters.", "Veuillez saisir au plus %1 caractères."},
        // Only the whole text: no prefix, no trailing space, no other case.
        {"de", "AboutDialog", "About Ovlet", nullptr},
        {"de", "AboutDialog", "About Ovlet Maker ", nullptr},
        {"de", "AboutDialog", "about ovlet maker", nullptr},
        // English and languages without a catalogue have no translations.
        {"", "AboutDialog", "About Ovlet Maker", nullptr},
        {"en", "AboutDialog", "About Ovlet Maker", nullptr},
        {"it", "AboutDialog", "About Ovlet Maker", nullptr},
        {"de_DE", "AboutDialog", "About Ovlet Maker", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " | " + c.context + " | " + c.text);
        const char* found = FindTranslation(c.language, c.context, c.text);
        if (!c.want) {
            EXPECT_EQ(found, nullptr) << found;
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_STREQ(found, c.want);
        }
    }
}

TEST(Catalogue, TranslateSpeaksTheLanguageSetAndEnglishOtherwise) {
    SetLanguage("de");
    EXPECT_EQ(Language(), "de");
    EXPECT_EQ(Translate("AboutDialog", "Free software"), "Freie Software");
    EXPECT_EQ(Translate("AboutDialog", "Not in any catalogue"), "Not in any catalogue");
    SetLanguage("es");
    EXPECT_EQ(Translate("AboutDialog", "Free software"), "Software libre");
    // A language without a catalogue is English.
    SetLanguage("it");
    EXPECT_EQ(Language(), "");
    EXPECT_EQ(Translate("AboutDialog", "Free software"), "Free software");
    SetLanguage("");
    EXPECT_EQ(Translate("AboutDialog", "Free software"), "Free software");
}

TEST(Catalogue, ChoosesTheFirstLanguageThatIsEnglishOrHasACatalogue) {
    struct Case {
        std::vector<std::string> user;
        const char* want;
    };
    const Case cases[] = {
        {{}, ""},
        {{"de"}, "de"},
        {{"de_DE.UTF-8"}, "de"},
        {{"fr_CA"}, "fr"},
        {{"es_MX.UTF-8@euro"}, "es"},
        {{"de@euro"}, "de"},
        {{"fr-CA"}, "fr"},  // as Windows names them
        {{"es-419"}, "es"},
        // Fallbacks: a language without a catalogue passes on to the next one.
        {{"it_IT.UTF-8", "es_ES.UTF-8"}, "es"},
        {{"it", "pt", "fr", "de"}, "fr"},
        {{"", "de"}, "de"},
        {{"it", "nl"}, ""},
        // English is the programs' own: it ends the search.
        {{"en_GB.UTF-8", "de"}, ""},
        {{"en-US", "fr-FR"}, ""},
        {{"it", "en", "de"}, ""},
        // Only the language part counts, and only whole.
        {{"deu"}, ""},
        {{"d"}, ""},
        {{"DE"}, ""},
        {{"C"}, ""},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const std::string& name : c.user) trace += "[" + name + "] ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(ChooseLanguage(c.user), c.want);
    }
}

TEST(Catalogue, FillsPlaceholders) {
    struct Case {
        const char* pattern;
        std::vector<std::string> arguments;
        const char* want;
    };
    const Case cases[] = {
        {"Card picture, %1 x %2", {"320", "200"}, "Card picture, 320 x 200"},
        {"%2, dann %1", {"eins", "zwei"}, "zwei, dann eins"},
        {"%1 und %1", {"a"}, "a und a"},
        {"no placeholder", {"a"}, "no placeholder"},
        {"", {"a"}, ""},
        // A marker without its argument stays as it is, so does a lone "%".
        {"%1 of %3", {"one", "two"}, "one of %3"},
        {"100% done", {}, "100% done"},
        {"ends in %", {"x"}, "ends in %"},
        {"%0 %a %%1", {"x"}, "%0 %a %x"},
        // An argument is put in as it is: its own markers stay.
        {"%1 %2", {"%2", "b"}, "%2 b"},
        {"%9", {"1", "2", "3", "4", "5", "6", "7", "8", "nine"}, "nine"},
        // Multi-byte text around and in the arguments.
        {"„%1:“", {"ftp"}, "„ftp:“"},
        {"%1", {"Ü€"}, "Ü€"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FillPlaceholders(c.pattern, c.arguments), c.want);
    }
}

// The table as the build made it: each language sorted (the lookup is a
// binary search), with the same texts in every language (every text is
// translated into each), and the languages the programs offer.
TEST(Catalogue, TheTableIsSortedAndEveryLanguageHasEveryText) {
    using Key = std::tuple<std::string_view, std::string_view>;
    std::set<Key> first;
    ASSERT_EQ(table::kLanguageCount, 3u);
    EXPECT_EQ(Languages(), (std::vector<std::string>{"de", "fr", "es"}));
    for (std::size_t l = 0; l < table::kLanguageCount; ++l) {
        const auto& language = table::kLanguages[l];
        SCOPED_TRACE(language.name);
        EXPECT_GT(language.count, 90u);
        std::set<Key> keys;
        for (std::size_t i = 0; i < language.count; ++i) {
            const auto& entry = language.entries[i];
            const Key key(entry.context, entry.text);
            if (i > 0) {
                const auto& before = language.entries[i - 1];
                EXPECT_LT(Key(before.context, before.text), key) << entry.text;
            }
            EXPECT_NE(std::string_view(entry.translation), "") << entry.text;
            // Every entry is found where the lookup searches.
            EXPECT_EQ(FindTranslation(language.name, entry.context, entry.text), entry.translation);
            keys.insert(key);
        }
        if (l == 0) {
            first = keys;
        } else {
            EXPECT_EQ(keys, first) << "texts differ from " << table::kLanguages[0].name;
        }
    }
}

}  // namespace
}  // namespace ovlet::catalogue
