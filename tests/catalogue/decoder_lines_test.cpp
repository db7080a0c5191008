// The picture library's lines in the user's language: its fixed texts
// translated with their numbers and names kept, the messages of libjpeg and
// libpng left in English under a translated head, English as it is.
#include <gtest/gtest.h>

#include "resources/catalogue/catalogue.h"
#include "resources/catalogue/decoder_lines.h"

namespace ovlet::catalogue {
namespace {

struct Line {
    const char* english;
    const char* german;
    bool complete;
};

const Line kLines[] = {
    {"Decoder error: Unknown TGA image type.", "Decoderfehler: Unbekannter TGA-Bildtyp.", true},
    {"Decoder error: PICT contained only vector data!", "Decoderfehler: PICT enthielt nur Vektordaten!", true},
    {"End of file reached while decoding.", "Beim Dekodieren wurde das Dateiende erreicht.", true},
    // Numbers and names go where the translation puts them.
    {"Decoder error: Picture too large: 70000 x 65536 pixels.", "Decoderfehler: Bild zu groß: 70000 x 65536 Pixel.",
     true},
    {"Decoder error: Opening /tmp/a x b failed.png failed",
     "Decoderfehler: /tmp/a x b failed.png konnte nicht geöffnet werden", true},
    {"Decoder error: Illegal bpp value in unpackbits: 7",
     "Decoderfehler: Ungültige Anzahl Bits pro Pixel in unpackbits: 7", true},
    {"Decoder error: JPEG image has more than 1000 scans.", "Decoderfehler: Das JPEG-Bild hat mehr als 1000 Scans.",
     true},
    {"Decoder error: Unknown picture type (starts with 0x47 0x49 0x46)",
     "Decoderfehler: Unbekannter Bildtyp (beginnt mit 0x47 0x49 0x46)", true},
    {"Decoder error: Unknown picture type (no bytes)", "Decoderfehler: Unbekannter Bildtyp (keine Bytes)", true},
    {"Decoder error: TIFF picture: a type this library does not decode",
     "Decoderfehler: TIFF-Bild: ein Typ, den diese Bibliothek nicht dekodiert", true},
    // libjpeg's and libpng's own words: the head alone.
    {"Decoder error: Bogus Huffman table definition", "Decoderfehler: Bogus Huffman table definition", false},
    {"Decoder error: IHDR: CRC error", "Decoderfehler: IHDR: CRC error", false},
    // Near misses of a fixed text are not it.
    {"Decoder error: Picture too large:  x  pixels.", "Decoderfehler: Picture too large:  x  pixels.", false},
    {"Decoder error: Unknown TGA image type", "Decoderfehler: Unknown TGA image type", false},
    {"Decoder error: unknown TGA image type.", "Decoderfehler: unknown TGA image type.", false},
    {"Decoder error: ", "Decoderfehler: ", false},
    // Not a line of the library's shape: as it is.
    {"Unknown TGA image type.", "Unknown TGA image type.", false},
    {"decoder error: Unknown TGA image type.", "decoder error: Unknown TGA image type.", false},
    {"", "", false},
};

TEST(DecoderLines, GermanKeepsNumbersAndNamesAndLeavesLibraryWordsEnglish) {
    SetLanguage("de");
    for (const Line& line : kLines) {
        SCOPED_TRACE(line.english);
        bool complete = !line.complete;
        EXPECT_EQ(TranslateDecoderLine(line.english, &complete), line.german);
        EXPECT_EQ(complete, line.complete);
    }
    SetLanguage("");
}

TEST(DecoderLines, EnglishIsTheLineAsItIs) {
    SetLanguage("");
    for (const Line& line : kLines) {
        bool complete = false;
        EXPECT_EQ(TranslateDecoderLine(line.english, &complete), line.english);
        EXPECT_TRUE(complete);
    }
}

// Every fixed text in every language: translated, with the head, and with
// each of its numbers kept exactly once.
TEST(DecoderLines, EveryFixedTextIsTranslatedInEveryLanguage) {
    std::size_t count = 0;
    const char* const* patterns = DecoderLinePatterns(count);
    ASSERT_GT(count, 25u);
    for (const std::string& language : Languages()) {
        SetLanguage(language);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string detail = FillPlaceholders(patterns[i], {"4711", "815"});
            const std::string english = "Decoder error: " + detail;
            SCOPED_TRACE(language + ": " + english);
            bool complete = false;
            const std::string shown = TranslateDecoderLine(english, &complete);
            EXPECT_TRUE(complete);
            EXPECT_EQ(shown.find(detail), std::string::npos);
            EXPECT_EQ(shown.starts_with("Decoder error"), false);
            for (const std::string number : {"4711", "815"}) {
                const bool inEnglish = english.find(number) != std::string::npos;
                EXPECT_EQ(shown.find(number) != std::string::npos, inEnglish) << shown;
            }
        }
    }
    SetLanguage("");
}

}  // namespace
}  // namespace ovlet::catalogue
