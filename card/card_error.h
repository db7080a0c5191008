// How card/ reports a failure: what went wrong, the words a user reads, and
// the note the card window shows for it, in the programs' one Result
// (files/result.h).
#pragma once

#include <string>

#include "card/card_notes.h"
#include "files/result.h"

namespace ovlet::card {

struct CardError {
    enum class Kind {
        CannotOpen,       // the file cannot be opened, is no regular file, or a card over the limits is refused
        ReadFailed,       // reading the file failed part way (not at its end)
        PastEnd,          // the file ends inside a string
        Damaged,          // a string's length cannot be read or is over its limit
        WriteFailed,      // writing failed; a file that was there is untouched
        PictureNotShown,  // the picture panel cannot show the card's picture
    };
    Kind kind = Kind::CannotOpen;
    // The words a tool prints after its name: "cannot read PATH: REASON",
    // "card PATH is damaged or truncated", "cannot write PATH: REASON"; for
    // a picture, the panel's reason.
    std::string text;
    // What the card window tells the user (its words in the user's language
    // come from the note's id).
    CardNote note;

    const std::string& Describe() const { return text; }
};

// A value, or the CardError that kept it from being made.
template <class T>
using Result = ovlet::Result<T, CardError>;

}  // namespace ovlet::card
