// The summary block of a card (company and contact groups) and the two links.
#pragma once

#include <initializer_list>
#include <string>

#include "card/card_notes.h"
#include "card/card_record.h"

namespace ovlet::card {

// Fills the nine display strings from the record's fields.
void ComposeSummary(CardRecord& record);

// The parts that are not empty, joined by `separator`: a name or a place as
// other programs show it, with no doubled or dangling separator where a field
// is empty (the window's own display strings keep them, see ComposeSummary).
std::string JoinNonEmpty(std::initializer_list<const std::string*> parts, const char* separator);

// The name a card goes by elsewhere (a contact, a page, a file): the person's
// first, middle and last name, or the company's for a card without them.
std::string CardName(const CardRecord& record);

// What the web-site and e-mail links hand over to the desktop. A card comes
// from strangers, so only web addresses reach the browser and the mail
// program receives exactly one recipient.
struct LinkHandOver {
    bool allowed = false;
    std::string address;  // UTF-8, ready for the desktop's handler
    CardNote refusal;     // why nothing is handed over, for the user (when not allowed)
};

// The web site: a text without a scheme is taken as an http:// address; only
// http and https addresses are handed over.
LinkHandOver WebSiteHandOver(const std::string& webSiteAnsi);

// "mailto:" with the address percent-encoded, so that no character of it can
// add a recipient or a header field. A text that is not a single address
// (",", ";", spaces or control characters inside it, or more than one "@") is
// refused.
LinkHandOver EMailHandOver(const std::string& eMailAnsi);

}  // namespace ovlet::card
