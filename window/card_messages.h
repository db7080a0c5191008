// The card codec's and the summary's messages in the user's language. The
// codec speaks English (the command-line tool shows its words as they are);
// the windows show the same words translated.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "card/card_notes.h"

namespace ovlet::window {

// A card whose picture block ends before its stated length.
inline constexpr const char* kShortPictureMessage =
    "The card file is damaged: it ends inside its picture, so only part of the picture can be shown.";

// A note of a card read in the user's language, worded by its id; a picture
// panel's reason in it is shown as DecoderMessageText (code `decoderCode`,
// the library's text `decoderText`) when it is that text.
std::string CardNoteMessage(const card::CardNote& note, int decoderCode, const std::string& decoderText);

// kShortPictureMessage in the user's language.
std::string ShortPictureText();

// A note of a card write or of a link's hand-over, in the user's language.
std::string CardNoteMessage(const card::CardNote& note);

// A message of the picture library (code DECERR_..., its text as thrown): in
// English the library's own line, in another language its translation
// (catalogue::TranslateDecoderLine), or the kind of fault its code names
// where the line holds words of libjpeg or libpng.
std::string DecoderMessageText(int code, const std::string& text);

// "Please enter no more than %1 characters.", translated.
std::string FieldLimitText(int limit);

// Every note's words as written (%1 marks the variable part), for the tests.
std::vector<std::pair<card::CardNoteId, const char*>> CardNoteWords();

}  // namespace ovlet::window
