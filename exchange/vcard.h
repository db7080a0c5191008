// vCard exchange: a card as a vCard for address books, and vCards read back
// into cards.
//
// Writing gives vCard 4.0 (RFC 6350) or 3.0 (RFC 2426) in UTF-8, lines ending
// in CR LF and folded at 75 octets, each version escaped by its own grammar.
// Reading takes vCard 2.1, 3.0 and 4.0 in UTF-8, UTF-16 or any character set
// the file declares, one or many cards in a file, and reports what it could
// not place on the card's nineteen fields instead of dropping it silently. A
// picture that does not decode is left out with a warning. No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "card/card_record.h"

namespace ovlet::exchange::vcard {

enum class Version { V3_0, V4_0 };

struct WriteOptions {
    Version version = Version::V4_0;
    bool photo = true;     // the picture as PHOTO (a QR code leaves it out)
    bool note = true;      // the general information as NOTE
    bool uid = true;       // a UID made from the name, company and e-mail address
    bool compact = false;  // only what a phone needs: no UID, no phone LABEL
};

// The card as one vCard: UTF-8, CR LF line ends, folded at 75 octets. The
// photo is the card's JPEG or PNG as it is, any other picture as a PNG of
// the same pixels; one that does not decode is left out and `warning`, when
// given, says so ("" when nothing was left out).
std::string EncodeVCard(const card::CardRecord& record, const WriteOptions& options = {},
                        std::string* warning = nullptr);

// The media type of a picture, judged by its first bytes ("image/jpeg",
// "image/png", ...; "application/octet-stream" when unknown).
const char* PictureMediaType(const std::uint8_t* bytes, std::size_t size);

// One thing worth telling the user about a card or a file. `line` is the
// 1-based line of the file where the property starts, 0 for the whole card.
struct Issue {
    std::size_t line = 0;
    std::string property;  // upper-case property name, "" when not about one
    std::string text;      // UTF-8, ready to print
};

struct ImportedCard {
    card::CardRecord record;        // the nineteen fields (Windows-1252) and the picture
    std::size_t firstLine = 0;      // the card's BEGIN:VCARD line
    std::string version;            // "2.1", "3.0", "4.0", or "" when the card names none
    std::string displayName;        // UTF-8 name for messages: FN, else the name fields, else ORG
    std::vector<Issue> unmapped;    // properties (or parts) that have no field on a card
    std::vector<Issue> warnings;    // text changed to fit a card, values over a limit, pictures left out
    std::vector<Issue> errors;      // damage: the card is incomplete and should not be saved
    std::size_t issuesNotKept = 0;  // issues past ReadLimits::maxIssuesKept, counted only

    bool ok() const { return errors.empty(); }
};

// The UID the writer gives a card: "urn:uuid:" and a name-based UUID of its
// name, company and e-mail address, so the same person exported twice is one
// contact to an address book.
std::string CardUid(const card::CardRecord& record);

// Bounds on what a hostile file can make the reader hold.
struct ReadLimits {
    std::size_t maxLineBytes = 24u << 20;  // one unfolded property line (a large photo fits)
    std::size_t maxCards = 10000;          // DecodeVCards only; ReadVCards hands cards on and keeps none
    std::size_t maxPropertiesPerCard = 5000;
    std::size_t maxIssuesKept = 100;  // per card and kind; the rest are counted in issuesNotKept
};

struct ReadResult {
    std::vector<ImportedCard> cards;
    std::vector<Issue> errors;    // about the file: no card in it, an unsupported encoding
    std::vector<Issue> warnings;  // about the file: text outside any card
};

// Receives each card as soon as it is read; returning false stops the reading.
using CardSink = std::function<bool(ImportedCard&& card)>;

struct ReadSummary {
    std::size_t cards = 0;        // cards handed to the sink
    std::vector<Issue> errors;    // about the file, as in ReadResult
    std::vector<Issue> warnings;  // about the file, as in ReadResult
};

// Reads the cards of a vCard file's bytes one at a time, holding no more than
// the card being read, so a file of any number of cards costs the same per
// card. Files in UTF-16 with a byte-order mark are read too.
ReadSummary ReadVCards(std::string_view bytes, const CardSink& sink, const ReadLimits& limits = {});

// Reads every card in a vCard file's bytes, at most limits.maxCards of them.
ReadResult DecodeVCards(std::string_view bytes, const ReadLimits& limits = {});

}  // namespace ovlet::exchange::vcard
