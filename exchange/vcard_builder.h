// One card of a vCard file as it is read: properties come in one at a time
// and are placed on the card's nineteen fields at the end. Used by the file
// reader only. No Qt.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "exchange/vcard.h"
#include "exchange/vcard_lines.h"
#include "exchange/vcard_phone.h"
#include "exchange/vcard_text.h"

namespace ovlet::exchange::vcard {

struct TextProperty {
    std::size_t line = 0;
    std::vector<std::string> parts;  // UTF-8, unescaped
    bool work = false;               // TYPE=work
    bool pref = false;               // TYPE=pref or a PREF parameter
};

struct PhoneEntry {
    std::size_t line = 0;
    std::string group;
    std::string number;  // UTF-8
    std::string label;   // UTF-8, from a LABEL parameter or the group's X-ABLabel
    bool labelled = false;
    PhoneKind kind;
};

class CardBuilder {
public:
    // `unicode`: the file was UTF-16, so its text is Unicode whatever a
    // CHARSET parameter says.
    CardBuilder(std::size_t firstLine, const ReadLimits& limits, bool unicode)
        : maxProperties(limits.maxPropertiesPerCard), maxIssues(limits.maxIssuesKept), unicodeFile(unicode) {
        card.firstLine = firstLine;
    }

    bool v21() const { return card.version == "2.1"; }
    Dialect dialect() const { return v21() ? Dialect::V21 : card.version == "3.0" ? Dialect::V30 : Dialect::V40; }

    void Error(std::size_t line, std::string property, std::string text) {
        Keep(card.errors, {line, std::move(property), std::move(text)});
    }
    void Warn(std::size_t line, std::string property, std::string text) {
        Keep(card.warnings, {line, std::move(property), std::move(text)});
    }
    void Unmapped(std::size_t line, std::string property, std::string text) {
        Keep(card.unmapped, {line, std::move(property), std::move(text)});
    }

    // False once the card has more properties than it may hold.
    bool Count(std::size_t line) {
        if (++properties <= maxProperties) return true;
        if (properties == maxProperties + 1) {
            Error(line, "",
                  "the card has more than " + std::to_string(maxProperties) + " properties; the rest was not read");
        }
        return false;
    }

    void Add(const Property& prop);
    ImportedCard Finish();

private:
    // A hostile card can raise an issue on every line: the first few are
    // kept, the rest only counted.
    void Keep(std::vector<Issue>& list, Issue issue) {
        if (list.size() < maxIssues) {
            list.push_back(std::move(issue));
        } else {
            ++card.issuesNotKept;
        }
    }
    std::optional<std::string> ValueBytes(const Property& prop);
    std::optional<std::string> TextValue(const Property& prop);
    std::optional<TextProperty> Structured(const Property& prop, bool structured);
    void AddPhoto(const Property& prop);
    void AddPhone(const Property& prop);
    void SetField(const char* fieldName, const std::string& utf8, std::size_t line, const std::string& property);
    void MapName();
    void MapAddress();
    void MapPhones();
    void MapFirst(std::vector<TextProperty>& list, const char* property, const char* fieldName);

    ImportedCard card;
    std::size_t maxProperties;
    std::size_t maxIssues;
    bool unicodeFile;
    std::size_t properties = 0;
    std::optional<TextProperty> n;
    std::optional<TextProperty> fn;
    std::vector<TextProperty> orgs, titles, adrs, emails, urls, notes, labels;
    std::vector<PhoneEntry> phones;
    std::map<std::string, std::string> groupLabels;  // X-ABLabel by group
    bool havePicture = false;
};

}  // namespace ovlet::exchange::vcard
