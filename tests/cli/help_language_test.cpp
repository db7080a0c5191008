// The tool's help and the picture library's messages in the user's language,
// chosen from the environment; English stays word for word what it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ovlet_tool.h"

namespace ovlet::cli {
namespace {

using namespace test_support;

const std::string kUnknownType = std::string(OVLET_CORPUS_DIR) + "/bmp/b/badheadersize.bmp";

// ovlet with only the given locale variables set.
test_support::ToolResult OvletIn(const std::vector<std::pair<std::string, std::string>>& locale,
                                 const std::vector<std::string>& args) {
    test_support::ToolSetup setup;
    setup.unset = {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"};
    setup.variables = locale;
    return test_support::RunTool(OVLET_BIN, args, setup);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

TEST(HelpLanguage, EnglishIsTheSameUnderEveryLocaleWithoutACatalogue) {
    const test_support::ToolResult english = OvletIn({{"LANG", "C.UTF-8"}}, {"--help"});
    ASSERT_EQ(english.code, 0) << english.err;
    EXPECT_TRUE(english.out.starts_with("Ovlet: electronic business cards (.ovt) and their pictures\n"
                                        "Usage: ovlet [OPTIONS] SUBCOMMAND\n"))
        << english.out;
    const std::vector<std::pair<std::string, std::string>> locales[] = {
        {},
        {{"LANG", "en_GB.UTF-8"}},
        {{"LANG", "it_IT.UTF-8"}},
        {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en"}},
        {{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}},
    };
    for (const auto& locale : locales) {
        std::string trace;
        for (const auto& [name, value] : locale) trace += name + "=" + value + " ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(OvletIn(locale, {"--help"}).out, english.out);
        const test_support::ToolResult info = OvletIn(locale, {"info", kUnknownType});
        EXPECT_EQ(info.err, "error 2: Decoder error: Bitmap decoder: BITMAPINFOHEADER has wrong size.\n");
    }
}

TEST(HelpLanguage, GermanHelpHasNoEnglishLineLeft) {
    const test_support::ToolResult english = OvletIn({{"LANG", "C.UTF-8"}}, {"--help"});
    const test_support::ToolResult german = OvletIn({{"LANG", "de_DE.UTF-8"}}, {"--help"});
    ASSERT_EQ(german.code, 0) << german.err;
    EXPECT_TRUE(german.out.starts_with("Ovlet: elektronische Visitenkarten (.ovt) und ihre Bilder\n"
                                       "Aufruf: ovlet [OPTIONEN] BEFEHL\n"
                                       "\n"
                                       "Optionen:\n"))
        << german.out;
    EXPECT_NE(german.out.find("\nBefehle:\n"), std::string::npos) << german.out;
    EXPECT_NE(german.out.find("Diese Hilfe ausgeben und beenden"), std::string::npos) << german.out;
    EXPECT_NE(german.out.find("Exit-Codes: 0 Erfolg"), std::string::npos) << german.out;
    // Each line that says something is translated; the command names and
    // options and the field names (words a user types) stay as they are.
    const std::vector<std::string> englishLines = Lines(english.out);
    const std::vector<std::string> germanLines = Lines(german.out);
    ASSERT_EQ(germanLines.size(), englishLines.size()) << german.out;
    for (std::size_t i = 0; i < englishLines.size(); ++i) {
        const std::string& line = englishLines[i];
        if (line.empty() || line.starts_with("  FirstName") || line.starts_with("  Phone1Number")) continue;
        EXPECT_NE(germanLines[i], line);
        // Same command or option first on the lines that list them.
        if (line.starts_with("  -") || (line.starts_with("  ") && line[2] >= 'a' && line[2] <= 'z')) {
            EXPECT_EQ(germanLines[i].substr(0, 14), line.substr(0, 14));
        }
    }
    // A command's own help: CLI11's words and the command's line translated.
    const test_support::ToolResult show = OvletIn({{"LANG", "de_DE.UTF-8"}}, {"show", "--help"});
    EXPECT_TRUE(show.out.starts_with("Die Felder, die Bildgröße und die Zusammenfassung einer Karte ausgeben\n"
                                     "Aufruf: ovlet show [OPTIONEN] CARD\n"))
        << show.out;
}

TEST(HelpLanguage, TheFirstLanguageWithACatalogueSpeaks) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> locale;
        const char* usage;
        const char* decoderLine;
    };
    const Case cases[] = {
        {{{"LANG", "fr_FR.UTF-8"}},
         "Utilisation: ovlet [OPTIONS] COMMANDE",
         "error 2: Erreur du décodeur : Décodeur bitmap : la taille de BITMAPINFOHEADER est incorrecte.\n"},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "it:es:fr"}},
         "Uso: ovlet [OPCIONES] COMANDO",
         "error 2: Error del decodificador: Decodificador de mapas de bits: BITMAPINFOHEADER tiene un tamaño "
         "incorrecto.\n"},
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "de_AT.UTF-8"}},
         "Aufruf: ovlet [OPTIONEN] BEFEHL",
         "error 2: Decoderfehler: Bitmap-Decoder: BITMAPINFOHEADER hat die falsche Größe.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.usage);
        const test_support::ToolResult help = OvletIn(c.locale, {"--help"});
        EXPECT_NE(help.out.find(std::string("\n") + c.usage + "\n"), std::string::npos) << help.out;
        const test_support::ToolResult info = OvletIn(c.locale, {"info", kUnknownType});
        EXPECT_EQ(info.err, c.decoderLine);
        EXPECT_EQ(info.code, 4);
    }
}

}  // namespace
}  // namespace ovlet::cli
