// What a card read has to tell the user, as data: the card codec never shows
// a message itself. The window words each note by its id in the user's
// language (window/card_messages.h); CardNoteText gives the English words,
// which tools and tests use.
#pragma once

#include <string>
#include <vector>

enum class CardMessageIcon { Exclamation, Stop };

enum class CardNoteId {
    CannotOpen,       // the file cannot be opened or read
    PastEnd,          // the file ends inside a field
    Damaged,          // a field's length cannot be read or is over its limit
    PictureNotShown,  // argument: the picture panel's reason (a picture library line)
};

struct CardNote {
    CardMessageIcon icon = CardMessageIcon::Exclamation;
    CardNoteId id = CardNoteId::CannotOpen;
    std::vector<std::string> arguments;

    bool operator==(const CardNote&) const = default;
};

inline constexpr const char* kCannotOpenCardMessage =
    "Unable to open file with this name.  Please try a different name.";
inline constexpr const char* kPastEndMessage = "An attempt was made to access an unnamed file past its end.";
inline constexpr const char* kDamagedMessage = "The card file is damaged and cannot be read.";
// %1: the picture panel's reason.
inline constexpr const char* kPictureNotShownMessage = "The card's picture cannot be shown.\n\n%1";

// The note's English words, its arguments in place.
std::string CardNoteText(const CardNote& note);
