#include "exchange/vcard_builder.h"

#include <algorithm>
#include <optional>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "files/charset.h"
#include "files/utf8.h"
#include "picture/decode_outcome.h"
#include "picture/win_bmp.h"

namespace ovlet::exchange::vcard {
namespace {

// Properties that carry nothing a card shows and need no report.
bool IsBookkeeping(std::string_view name) {
    static constexpr const char* kNames[] = {"VERSION",      "PRODID",  "REV",  "UID",    "KIND",
                                             "CLIENTPIDMAP", "PROFILE", "NAME", "SOURCE", "X-ABLABEL"};
    return std::any_of(std::begin(kNames), std::end(kNames), [&](const char* n) { return name == n; });
}

// Whether the picture library can show the picture: a photo that arrives
// damaged (cut short, or split by odd line ends) is never put on a card.
bool PictureDecodes(const std::vector<std::uint8_t>& bytes, std::string& why) {
    picture::CWinBmp bitmap;
    const picture::Result<void> decoded =
        picture::DecodePicture("vCard photo", bytes.data(), static_cast<std::int32_t>(bytes.size()), bitmap, 0);
    if (!decoded) {
        why = decoded.Error().kind == picture::DecodeError::Kind::OutOfMemory ? "out of memory"
                                                                              : decoded.Error().Describe();
    }
    return static_cast<bool>(decoded);
}

}  // namespace

// The value's bytes with its transfer encoding undone.
std::optional<std::string> CardBuilder::ValueBytes(const Property& prop) {
    const std::string encoding = Upper(prop.First("ENCODING"));
    if (encoding == "QUOTED-PRINTABLE") return QuotedPrintableDecode(prop.value);
    if (encoding == "B" || encoding == "BASE64") {
        auto bytes = Base64Decode(prop.value);
        if (!bytes) {
            Error(prop.line, prop.name, "the base64 data is damaged: " + bytes.Error().Describe());
            return std::nullopt;
        }
        return std::string(bytes.Value().begin(), bytes.Value().end());
    }
    return prop.value;
}

// The value as UTF-8 text, still escaped.
std::optional<std::string> CardBuilder::TextValue(const Property& prop) {
    auto bytes = ValueBytes(prop);
    if (!bytes) return std::nullopt;
    std::string charset = Upper(prop.First("CHARSET"));
    // The text of a UTF-16 file is Unicode already, unless an encoding put
    // the bytes of another set into it.
    if (unicodeFile && prop.Find("ENCODING") == nullptr) charset.clear();
    const bool singleByte = charset == "WINDOWS-1252" || charset == "CP1252" || charset == "ISO-8859-1" ||
                            charset == "LATIN1" || charset == "US-ASCII" || charset == "ASCII";
    if (singleByte) return card::Utf8FromAnsi(*bytes);
    if (!charset.empty() && charset != "UTF-8" && charset != "UTF8") {
        std::string utf8;
        std::size_t invalid = 0;
        if (files::ConvertToUtf8(*bytes, charset, utf8, invalid)) {
            if (invalid > 0) {
                Warn(prop.line, prop.name,
                     std::to_string(invalid) + (invalid == 1 ? " byte is" : " bytes are") + " not " + Excerpt(charset) +
                         " text; each became U+FFFD");
            }
            return utf8;
        }
        Warn(prop.line, prop.name, "the character set " + Excerpt(charset) + " is not known; read as UTF-8");
    }
    if (files::IsValidUtf8(*bytes)) return bytes;
    Warn(prop.line, prop.name, "the text is not UTF-8; read as Windows-1252");
    return card::Utf8FromAnsi(*bytes);
}

std::optional<TextProperty> CardBuilder::Structured(const Property& prop, bool structured) {
    auto text = TextValue(prop);
    if (!text) return std::nullopt;
    TextProperty out;
    out.line = prop.line;
    out.parts = Unescape(*text, structured, dialect());
    out.work = prop.HasType("work");
    out.pref = prop.HasType("pref") || prop.Find("PREF") != nullptr;
    return out;
}

void CardBuilder::Add(const Property& prop) {
    const std::string& name = prop.name;
    if (name == "VERSION") {
        card.version = std::string(Trim(prop.value));
        if (card.version != "2.1" && card.version != "3.0" && card.version != "4.0") {
            Warn(prop.line, name, "version " + Excerpt(card.version) + " is not one this reader knows; read as 4.0");
        }
    } else if (name == "N" || name == "FN") {
        auto value = Structured(prop, name == "N");
        if (!value) return;
        auto& slot = name == "N" ? n : fn;
        if (!slot) {
            slot = std::move(value);
        } else {
            Unmapped(prop.line, name, "a second name has no field");
        }
    } else if (name == "ORG" || name == "TITLE" || name == "ADR" || name == "EMAIL" || name == "NOTE" ||
               name == "LABEL") {
        auto value = Structured(prop, name == "ORG" || name == "ADR");
        if (!value) return;
        auto& list = name == "ORG"     ? orgs
                     : name == "TITLE" ? titles
                     : name == "ADR"   ? adrs
                     : name == "EMAIL" ? emails
                     : name == "NOTE"  ? notes
                                       : labels;
        list.push_back(std::move(*value));
    } else if (name == "URL") {
        auto text = TextValue(prop);
        if (!text) return;
        TextProperty value;
        value.line = prop.line;
        value.parts.push_back(UnescapeUri(Unescape(*text, false, dialect()).front()));
        urls.push_back(std::move(value));
    } else if (name == "TEL") {
        AddPhone(prop);
    } else if (name == "PHOTO") {
        AddPhoto(prop);
    } else if (name == "X-ABLABEL") {
        if (auto text = TextValue(prop)) {
            std::string label = Unescape(*text, false, dialect()).front();
            // Address books wrap their own labels as "_$!<Mobile>!$_".
            if (label.size() > 8 && label.compare(0, 4, "_$!<") == 0 &&
                label.compare(label.size() - 4, 4, ">!$_") == 0) {
                label = label.substr(4, label.size() - 8);
            }
            groupLabels[prop.group] = label;
        }
    } else if (!IsBookkeeping(name)) {
        Unmapped(prop.line, name, "no field on a card");
    }
}

void CardBuilder::AddPhone(const Property& prop) {
    auto text = TextValue(prop);
    if (!text) return;
    PhoneEntry phone;
    phone.line = prop.line;
    phone.group = prop.group;
    phone.number = Unescape(*text, false, dialect()).front();
    if (IStartsWith(phone.number, "tel:")) phone.number = PercentDecode(phone.number.substr(4));
    for (const char* param : {"LABEL", "X-LABEL"}) {
        if (const Param* p = prop.Find(param)) {
            phone.labelled = true;
            for (const auto& v : p->values) phone.label += (phone.label.empty() ? "" : ",") + v;
        }
    }
    phone.kind.work = prop.HasType("work");
    phone.kind.home = prop.HasType("home");
    phone.kind.cell = prop.HasType("cell");
    phone.kind.fax = prop.HasType("fax");
    phone.kind.pager = prop.HasType("pager");
    if (phone.number.empty() && phone.label.empty()) return;
    phones.push_back(std::move(phone));
}

void CardBuilder::AddPhoto(const Property& prop) {
    if (havePicture) {
        Unmapped(prop.line, prop.name, "a second picture has no place on a card");
        return;
    }
    std::vector<std::uint8_t> bytes;
    const std::string encoding = Upper(prop.First("ENCODING"));
    // A 3.0 or 4.0 writer may escape the comma of a data: address as text
    // ("data:image/jpeg;base64\,..."; ical.js always does, and RFC 6350
    // section 3.4 allows it).
    const std::string unescaped =
        v21() ? std::string(Trim(prop.value)) : Unescape(Trim(prop.value), false, dialect()).front();
    const std::string_view value = unescaped;
    std::string declared = prop.First("TYPE");  // the media type the vCard names
    std::optional<std::string_view> base64;     // the picture's data, when base64 carries it
    if (encoding == "B" || encoding == "BASE64") {
        base64 = value;
    } else if (IStartsWith(value, "data:")) {
        const std::size_t comma = value.find(',');
        if (comma == std::string_view::npos) {
            Warn(prop.line, prop.name, "the picture's data: address has no comma before its data; left out");
            return;
        }
        const std::string_view header = value.substr(5, comma - 5);
        const std::string_view data = value.substr(comma + 1);
        declared = std::string(header.substr(0, header.find(';')));
        if (header.size() >= 7 && IEquals(header.substr(header.size() - 7), ";base64")) {
            base64 = data;
        } else {
            const std::string raw = PercentDecode(data);
            bytes.assign(raw.begin(), raw.end());
        }
    } else {
        Warn(prop.line, prop.name, "the picture is a link (" + Excerpt(value) + "), not data in the vCard; left out");
        return;
    }
    if (base64) {
        auto decoded = Base64Decode(*base64);
        if (!decoded) {
            Warn(prop.line, prop.name,
                 "the picture's base64 data is damaged (" + decoded.Error().Describe() + "); left out");
            return;
        }
        bytes = std::move(decoded).Value();
    }
    const std::string type = PictureMediaType(bytes.data(), bytes.size());
    if (bytes.empty()) {
        Warn(prop.line, prop.name, "the picture is empty; left out");
    } else if (type == "application/octet-stream") {
        Warn(prop.line, prop.name,
             "the picture's bytes are no picture this reader knows" +
                 (declared.empty() ? std::string() : " (the vCard calls it " + Excerpt(declared) + ")") + "; left out");
    } else if (type != "image/jpeg" && type != "image/png") {
        Warn(prop.line, prop.name,
             "the picture is not JPEG or PNG (" + type + "); a card takes only those, so it was left out");
    } else if (bytes.size() > 0x7FFFFFFF) {
        Warn(prop.line, prop.name, "the picture is too large for a card; left out");
    } else if (std::string why; !PictureDecodes(bytes, why)) {
        Warn(prop.line, prop.name, "the picture does not decode (" + Excerpt(why) + "); left out");
    } else {
        card.record.SetPicture(std::move(bytes));
        havePicture = true;
    }
}

// Puts UTF-8 text into a field in the card's code page. What the code page
// cannot hold becomes '?' and is reported; line breaks become CR LF in the
// multi-line fields and spaces elsewhere; a value over the typing limit is kept.
void CardBuilder::SetField(const char* fieldName, const std::string& utf8, std::size_t line,
                           const std::string& property) {
    const card::CardFieldInfo& field = *card::FindCardField(fieldName);
    std::string ansi;
    // The message names the first few characters that had to go.
    constexpr std::size_t kMaxNamedCharacters = 8;
    std::vector<char32_t> replaced;
    std::size_t replacedCount = 0;
    bool joinedLines = false;
    bool droppedNul = false;
    for (std::size_t pos = 0; pos < utf8.size();) {
        // A byte that is not UTF-8 is read as Windows-1252.
        const std::size_t start = pos;
        char32_t c = 0;
        if (!files::NextUtf8(utf8, pos, c)) c = card::ToUnicode(static_cast<unsigned char>(utf8[start]));
        if (c == '\r' || c == '\n') {
            if (c == '\r' && pos < utf8.size() && utf8[pos] == '\n') ++pos;
            if (field.multiLine) {
                ansi += "\r\n";
            } else {
                ansi += ' ';
                joinedLines = true;
            }
        } else if (c == 0) {
            droppedNul = true;
        } else if (auto byte = card::FromUnicode(c)) {
            ansi += static_cast<char>(*byte);
        } else {
            ansi += '?';
            ++replacedCount;
            if (replaced.size() < kMaxNamedCharacters &&
                std::find(replaced.begin(), replaced.end(), c) == replaced.end()) {
                replaced.push_back(c);
            }
        }
    }
    if (!replaced.empty()) {
        std::string list;
        for (char32_t c : replaced) {
            if (!list.empty()) list += ", ";
            std::string ch;
            if (c >= 0x20) ch = "'" + Utf8Of(c) + "' ";
            list += ch + "(" + CodePointName(c) + ")";
        }
        if (replaced.size() == kMaxNamedCharacters) list += " and others";
        Warn(line, property,
             std::string(field.name) + ": " + list + " cannot be stored in a card (Windows-1252); " +
                 std::to_string(replacedCount) + (replacedCount == 1 ? " character" : " characters") +
                 " written as '?'");
    }
    if (joinedLines) Warn(line, property, std::string(field.name) + " holds one line only; line breaks became spaces");
    if (droppedNul) Warn(line, property, std::string(field.name) + ": NUL characters were left out");
    if (field.limit > 0 && ansi.size() > static_cast<std::size_t>(field.limit)) {
        Warn(line, property,
             std::string(field.name) + " is " + std::to_string(ansi.size()) + " characters long, over the " +
                 std::to_string(field.limit) + " that can be typed into it; kept in full");
    }
    card.record.*field.member = std::move(ansi);
}

void CardBuilder::MapName() {
    if (n) {
        auto& p = n->parts;
        p.resize(std::max<std::size_t>(p.size(), 5));
        SetField("LastName", p[0], n->line, "N");
        SetField("FirstName", p[1], n->line, "N");
        SetField("MiddleName", p[2], n->line, "N");
        if (!p[3].empty()) Unmapped(n->line, "N", "the honorific prefix '" + Excerpt(p[3]) + "' has no field");
        if (!p[4].empty()) Unmapped(n->line, "N", "the honorific suffix '" + Excerpt(p[4]) + "' has no field");
        card.displayName = fn ? fn->parts.front() : card::JoinNonEmpty({&p[1], &p[2], &p[0]}, " ");
        return;
    }
    if (!fn) return;
    const std::string& full = fn->parts.front();
    card.displayName = full;
    // Without N, the formatted name is split into words, unless it names the organisation.
    if (!orgs.empty() && orgs.front().parts.front() == full) return;
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < full.size()) {
        while (pos < full.size() && full[pos] == ' ') ++pos;
        std::size_t end = full.find(' ', pos);
        if (end == std::string::npos) end = full.size();
        if (end > pos) words.push_back(full.substr(pos, end - pos));
        pos = end;
    }
    if (words.empty()) return;
    SetField("FirstName", words.front(), fn->line, "FN");
    if (words.size() > 1) SetField("LastName", words.back(), fn->line, "FN");
    if (words.size() > 2) {
        std::string middle;
        for (std::size_t i = 1; i + 1 < words.size(); ++i) middle += (middle.empty() ? "" : " ") + words[i];
        SetField("MiddleName", middle, fn->line, "FN");
    }
}

void CardBuilder::MapAddress() {
    if (adrs.empty()) {
        for (const auto& label : labels)
            Unmapped(label.line, "LABEL", "an address label without an address has no field");
        return;
    }
    // The work address goes on a business card; without one, the first.
    auto chosen = std::find_if(adrs.begin(), adrs.end(), [](const TextProperty& a) { return a.work; });
    if (chosen == adrs.end()) chosen = adrs.begin();
    auto& p = chosen->parts;
    p.resize(std::max<std::size_t>(p.size(), 7));
    SetField("StreetAddress", card::JoinNonEmpty({&p[0], &p[1], &p[2]}, "\n"), chosen->line, "ADR");
    SetField("City", p[3], chosen->line, "ADR");
    SetField("StateProvince", p[4], chosen->line, "ADR");
    SetField("PostalCode", p[5], chosen->line, "ADR");
    SetField("Country", p[6], chosen->line, "ADR");
    for (const auto& adr : adrs) {
        if (&adr != &*chosen) Unmapped(adr.line, "ADR", "a further address has no field");
    }
}

void CardBuilder::MapPhones() {
    for (auto& phone : phones) {
        if (auto it = groupLabels.find(phone.group); !phone.group.empty() && it != groupLabels.end()) {
            phone.label = it->second;
            phone.labelled = true;
        }
    }
    std::vector<bool> used(phones.size(), false);
    // The fax field takes the first fax number that is not a described phone.
    for (std::size_t i = 0; i < phones.size(); ++i) {
        if (phones[i].kind.fax && !phones[i].labelled) {
            SetField("Fax", phones[i].number, phones[i].line, "TEL");
            used[i] = true;
            break;
        }
    }
    const bool faxTaken = std::find(used.begin(), used.end(), true) != used.end();
    int slot = 0;
    bool faxFilled = faxTaken;
    for (std::size_t i = 0; i < phones.size(); ++i) {
        if (used[i]) continue;
        const PhoneEntry& phone = phones[i];
        const std::string description = phone.labelled ? phone.label : DescriptionFromKind(phone.kind);
        if (slot < 2) {
            std::string& number = slot == 0 ? card.record.Phone1Number : card.record.Phone2Number;
            std::string& text = slot == 0 ? card.record.Phone1Description : card.record.Phone2Description;
            SetField(slot == 0 ? "Phone1Number" : "Phone2Number", phone.number, phone.line, "TEL");
            SetField(slot == 0 ? "Phone1Description" : "Phone2Description", description, phone.line, "TEL");
            // A phone that comes out empty (its number was only NUL characters)
            // leaves the slot to the next one, as a card never has a second
            // phone without a first.
            if (!number.empty() || !text.empty()) ++slot;
        } else if (phone.kind.fax && !faxFilled) {
            SetField("Fax", phone.number, phone.line, "TEL");
            faxFilled = true;
        } else {
            Unmapped(phone.line, "TEL", "a further phone number (" + Excerpt(phone.number) + ") has no field");
        }
    }
}

void CardBuilder::MapFirst(std::vector<TextProperty>& list, const char* property, const char* fieldName) {
    if (list.empty()) return;
    auto chosen = std::find_if(list.begin(), list.end(), [](const TextProperty& t) { return t.pref; });
    if (chosen == list.end()) chosen = list.begin();
    SetField(fieldName, chosen->parts.front(), chosen->line, property);
    for (const auto& item : list) {
        if (&item != &*chosen)
            Unmapped(item.line, property, "a further value (" + Excerpt(item.parts.front()) + ") has no field");
    }
}

ImportedCard CardBuilder::Finish() {
    if (!orgs.empty()) {
        auto& p = orgs.front().parts;
        SetField("Company", p[0], orgs.front().line, "ORG");
        if (p.size() > 1) SetField("Department", p[1], orgs.front().line, "ORG");
        for (std::size_t i = 2; i < p.size(); ++i) {
            if (!p[i].empty()) Unmapped(orgs.front().line, "ORG", "the unit '" + Excerpt(p[i]) + "' has no field");
        }
        for (std::size_t i = 1; i < orgs.size(); ++i)
            Unmapped(orgs[i].line, "ORG", "a further organisation has no field");
    }
    MapName();
    if (card.displayName.empty() && !orgs.empty()) card.displayName = orgs.front().parts.front();
    MapFirst(titles, "TITLE", "JobTitle");
    MapAddress();
    MapPhones();
    MapFirst(emails, "EMAIL", "EMail");
    MapFirst(urls, "URL", "WebSite");
    if (!notes.empty()) {
        std::string all;
        for (const auto& note : notes) all += (all.empty() ? "" : "\n") + note.parts.front();
        SetField("GeneralInformation", all, notes.front().line, "NOTE");
    }
    auto byLine = [](const Issue& a, const Issue& b) { return a.line < b.line; };
    std::stable_sort(card.unmapped.begin(), card.unmapped.end(), byLine);
    std::stable_sort(card.warnings.begin(), card.warnings.end(), byLine);
    return std::move(card);
}

}  // namespace ovlet::exchange::vcard
