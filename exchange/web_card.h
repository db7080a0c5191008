// The card as one self-contained web page: picture, text, links, an "Add to
// contacts" vCard and the QR code, all inside the file, marked up as an
// h-card (microformats2). Nothing is loaded from elsewhere, and a
// Content-Security-Policy says so to the browser. No Qt.
#pragma once

#include <string>

#include "card/card_record.h"

namespace ovlet::exchange {

// The page, UTF-8. Every value of the card is escaped; links are made only
// of web addresses, a single e-mail address and telephone numbers. The
// picture is the card's JPEG or PNG, or a PNG of any other picture; one that
// does not decode is left out and `warning`, when given, says so.
std::string EncodeWebCard(const card::CardRecord& card, std::string* warning = nullptr);

// The style sheet of the page and the CSP hash that allows exactly it.
const char* WebCardStyleSheet();
const char* WebCardStyleSheetHash();  // "sha256-..." of WebCardStyleSheet()

}  // namespace ovlet::exchange
