// What a card read, a card write or a link's hand-over has to tell the user,
// as data: the card codec never shows a message itself. The window words each note by its id in the user's
// language (window/card_messages.h); CardNoteText gives the English words,
// which tools and tests use.
#pragma once

#include <string>
#include <vector>

namespace ovlet::card {

enum class CardMessageIcon { Exclamation, Stop };

enum class CardNoteId {
    CannotOpen,       // the file cannot be opened or read
    PastEnd,          // the file ends inside a field
    Damaged,          // a field's length cannot be read or is over its limit
    PictureNotShown,  // argument: the picture panel's reason (a picture library line)
    // A card write.
    DiskFull,     // argument: the file's path
    WriteFailed,  // arguments: the file's path, the system's reason
    // A link the card window does not hand over to the desktop.
    NoWebSite,
    WebSiteHasSpaces,  // spaces or control characters in the address
    WebSiteIsLocal,    // a local file's path, not a web address
    WebSiteScheme,     // argument: the address's scheme ("file", "javascript")
    WebSiteNoHost,
    EMailNotSingle,  // not exactly one recipient
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
// %1: the path.
inline constexpr const char* kDiskFullMessage = "Disk full while accessing %1.";
// %1: the path, a colon and the system's reason.
inline constexpr const char* kWriteFailedMessage = "An error occurred while writing %1.";
inline constexpr const char* kNoWebSiteMessage = "This card has no web site address.";
inline constexpr const char* kWebSiteHasSpacesMessage =
    "The web site address on this card contains spaces or control characters, so it is not opened.";
inline constexpr const char* kWebSiteIsLocalMessage =
    "The web site on this card names a local file, not a web address, so it is not opened.";
// %1: the scheme.
inline constexpr const char* kWebSiteSchemeMessage =
    "The web site on this card is a \"%1:\" address, not a web address, so it is not opened.";
inline constexpr const char* kWebSiteNoHostMessage =
    "The web site address on this card has no host name, so it is not opened.";
inline constexpr const char* kEMailNotSingleMessage =
    "The e-mail address on this card is not a single address, so it is not opened.";

// The English words of a note kind as written, %1 where its argument goes.
const char* CardNotePattern(CardNoteId id);

// The note's English words, its arguments in place (a failed write's path
// and reason joined by ": ").
std::string CardNoteText(const CardNote& note);

}  // namespace ovlet::card
