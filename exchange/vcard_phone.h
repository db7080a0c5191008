// What a phone's description says about the number, as the TYPE values of a
// vCard, and the description a reader gives a number from its types alone.
#pragma once

#include <string>
#include <string_view>

namespace ovlet::exchange::vcard {

struct PhoneKind {
    bool work = false;
    bool home = false;
    bool cell = false;
    bool fax = false;
    bool pager = false;

    bool any() const { return work || home || cell || fax || pager; }
    bool operator==(const PhoneKind&) const = default;
};

// The kind named by the words of a description in the card's code page
// (Windows-1252): the common English, German, French and Spanish words for
// work, home, mobile, fax and pager phones ("Office", "B\xFCro", "Handy",
// "Portable", "M\xF3vil", ...), in any case.
PhoneKind KindFromDescription(std::string_view ansi);

// "Work", "Home Mobile", "Fax", ...; "" for no kind.
std::string DescriptionFromKind(const PhoneKind& kind);

// "work,cell" (or "WORK,CELL"), the TYPE list of a kind.
std::string TypeList(const PhoneKind& kind, bool upper);

}  // namespace ovlet::exchange::vcard
