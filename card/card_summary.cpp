#include "card/card_summary.h"

#include <algorithm>

#include "card/codepage.h"
#include "files/ascii_text.h"

namespace ovlet::card {

void ComposeSummary(CardRecord& r) {
    r.CompanyLine = r.Company;
    if (!r.City.empty()) {
        r.AddressBlock =
            r.StreetAddress + "\n" + r.City + ", " + r.StateProvince + " " + r.Country + " " + r.PostalCode;
    } else {
        r.AddressBlock = r.StreetAddress + "\n" + r.StateProvince + " " + r.Country + " " + r.PostalCode;
    }
    if (!r.Fax.empty()) r.FaxLine = "Fax: " + r.Fax;
    r.EMailLine = "E-Mail: " + r.EMail;
    if (r.JobTitle.empty()) {
        r.TitleLine = r.Department;
    } else if (r.Department.empty()) {
        r.TitleLine = r.JobTitle;
    } else {
        r.TitleLine = r.JobTitle + ", " + r.Department;
    }
    r.NameLine = r.FirstName + " " + r.MiddleName + " " + r.LastName;
    if (!r.Phone1Number.empty()) r.Phone1Line = r.Phone1Description + ": " + r.Phone1Number;
    if (!r.Phone2Number.empty()) r.Phone2Line = r.Phone2Description + ": " + r.Phone2Number;
    r.WebSiteLine = r.WebSite;
}

std::string JoinNonEmpty(std::initializer_list<const std::string*> parts, const char* separator) {
    std::string out;
    for (const std::string* part : parts) {
        if (part->empty()) continue;
        if (!out.empty()) out += separator;
        out += *part;
    }
    return out;
}

std::string CardName(const CardRecord& record) {
    const std::string person = JoinNonEmpty({&record.FirstName, &record.MiddleName, &record.LastName}, " ");
    return person.empty() ? record.Company : person;
}

namespace {

// Only ASCII spaces: a byte of a UTF-8 character is never taken for one.
std::string Trim(const std::string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && files::IsAsciiSpace(s[b])) ++b;
    while (e > b && files::IsAsciiSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// The scheme in front of the first colon, or "" when the text has none. A
// dotted name before the colon without "//" after it is a host with a port
// ("example.com:8080"), not a scheme.
std::string SchemeOf(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    const std::string head = text.substr(0, colon);
    if (!files::IsAsciiLetter(head[0])) return {};
    for (char c : head) {
        if (!files::IsAsciiLetterOrDigit(c) && c != '+' && c != '-' && c != '.') return {};
    }
    const bool slashes = text.compare(colon + 1, 2, "//") == 0;
    if (!slashes && head.find('.') != std::string::npos) return {};
    return files::LowerAscii(head);
}

LinkHandOver Refuse(CardNoteId why, std::vector<std::string> arguments = {}) {
    LinkHandOver h;
    h.refusal = {CardMessageIcon::Exclamation, why, std::move(arguments)};
    return h;
}

}  // namespace

LinkHandOver WebSiteHandOver(const std::string& webSiteAnsi) {
    const std::string site = Trim(Utf8FromAnsi(webSiteAnsi));
    if (site.empty()) return Refuse(CardNoteId::NoWebSite);
    for (const char ch : site) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == ' ') {
            return Refuse(CardNoteId::WebSiteHasSpaces);
        }
    }
    if (site[0] == '/' || site[0] == '\\' || site[0] == '~' || site[0] == '.') {
        return Refuse(CardNoteId::WebSiteIsLocal);
    }
    std::string scheme = SchemeOf(site);
    LinkHandOver h;
    h.address = scheme.empty() ? "http://" + site : site;
    if (scheme.empty()) scheme = "http";
    if (scheme != "http" && scheme != "https") {
        return Refuse(CardNoteId::WebSiteScheme, {scheme});
    }
    const std::size_t hostStart = h.address.find("//");
    if (hostStart == std::string::npos || hostStart + 2 >= h.address.size() || h.address[hostStart + 2] == '/') {
        return Refuse(CardNoteId::WebSiteNoHost);
    }
    h.allowed = true;
    return h;
}

LinkHandOver EMailHandOver(const std::string& eMailAnsi) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string mail = Trim(Utf8FromAnsi(eMailAnsi));
    // One address for one mail: a text that a mail program could read as more
    // than one recipient (a list, or words with more than one address among
    // them) is not handed over at all, encoded or not.
    const bool separated = std::any_of(mail.begin(), mail.end(), [](unsigned char c) {
        return c == ',' || c == ';' || c == ' ' || c < 0x20 || c == 0x7F;
    });
    if (separated || std::count(mail.begin(), mail.end(), '@') > 1) {
        return Refuse(CardNoteId::EMailNotSingle);
    }
    LinkHandOver h;
    h.address = "mailto:";
    for (const char ch : mail) {
        const auto c = static_cast<unsigned char>(ch);
        // Unreserved characters and the one '@' pass; everything else, including
        // '?', '&' and '%', is encoded so it stays part of the address.
        if (files::IsAsciiLetterOrDigit(ch) || c == '-' || c == '.' || c == '_' || c == '~' || c == '@' || c == '+') {
            h.address += static_cast<char>(c);
        } else {
            h.address += '%';
            h.address += kHex[c >> 4];
            h.address += kHex[c & 15];
        }
    }
    h.allowed = true;
    return h;
}

}  // namespace ovlet::card
