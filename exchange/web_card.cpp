#include "exchange/web_card.h"

#include <algorithm>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "exchange/markup_text.h"
#include "exchange/outgoing_picture.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"
#include "exchange/vcard_text.h"

namespace ovlet::exchange {
namespace {

// Phones are 390 pixels wide: one column there, picture beside the text from
// 40em up. Ink on paper has a contrast of 13:1, links 6.5:1.
constexpr const char* kStyle =
    "*{box-sizing:border-box}"
    "body{margin:0;padding:1rem;background:#ecebe6;color:#1b2a3f;"
    "font:1rem/1.45 \"Liberation Sans\",Arial,Helvetica,sans-serif}"
    "main{max-width:52rem;margin:0 auto;background:#fafaf7;border-radius:.75rem;padding:1.5rem;"
    "border-bottom:.4rem solid #1f6fd1;box-shadow:0 .1rem .5rem rgba(0,0,0,.15)}"
    ".card{display:flex;flex-direction:column;gap:1.25rem}"
    ".photo{max-width:100%;height:auto;max-height:16rem;object-fit:contain;align-self:center}"
    "h1{font-size:1.6rem;margin:0;line-height:1.2;overflow-wrap:anywhere}"
    "p{margin:.2rem 0;overflow-wrap:anywhere}"
    ".org{font-weight:bold;font-size:1.15rem}"
    ".soft{color:#4a576b}"
    "a{color:#1a5cad}"
    "a:focus-visible{outline:.2rem solid #1b2a3f;outline-offset:.15rem;border-radius:.2rem}"
    ".note{white-space:pre-line;border-top:1px solid #d5d7d9;padding-top:.75rem}"
    ".actions{display:flex;flex-wrap:wrap;align-items:center;gap:1rem}"
    ".add{display:inline-block;background:#1a5cad;color:#fff;text-decoration:none;font-weight:bold;"
    "padding:.6rem 1.1rem;border-radius:.4rem}"
    ".add:hover{background:#174f93}"
    ".qr{width:10rem;height:10rem}"
    "@media (min-width:40em){.card{flex-direction:row;align-items:flex-start}"
    ".photo{max-width:40%;align-self:flex-start}.text{flex:1}}";

// sha256 of kStyle, base64; the tests check it against Python's hashlib.
constexpr const char* kStyleHash = "sha256-R50afdhekFxZf4DkhbDN8YFS3kHCfXkuv84zPExxcCc=";

std::string Html(const std::string& ansi) {
    return EscapeMarkup(card::Utf8FromAnsi(ansi));
}

// A tel: address of the digits of a number (and a leading plus), or "" when
// it has none.
std::string TelAddress(const std::string& ansi) {
    std::string digits;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const char c = ansi[i];
        if (c >= '0' && c <= '9') digits += c;
        if (c == '+' && digits.empty()) digits += c;
    }
    if (digits.empty() || digits == "+") return "";
    return "tel:" + digits;
}

std::string Span(const char* cls, const std::string& ansi) {
    if (ansi.empty()) return "";
    return "<span class=\"" + std::string(cls) + "\">" + Html(ansi) + "</span>";
}

// One plain address: a page offers a mail link only for exactly one
// recipient and nothing a mail program takes for more (",", ";", "?",
// white space, a second '@').
bool IsSingleAddress(const std::string& ansi) {
    std::size_t ats = 0;
    for (const char c : ansi) {
        if (c == '@') ++ats;
        if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == ';' || c == '?' || c == '<' || c == '>' ||
            c == '"' || c == '(' || c == ')' || c == '\\' || c == '&' || c == '%') {
            return false;
        }
    }
    return ats == 1 && ansi.front() != '@' && ansi.back() != '@';
}

// A file name for the downloaded vCard: letters, digits, '-' and '_' only.
std::string DownloadName(const std::string& nameUtf8) {
    std::string out;
    for (const char c : nameUtf8) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (keep) {
            out += c;
        } else if (!out.empty() && out.back() != '_') {
            out += '_';
        }
        if (out.size() >= 60) break;
    }
    while (!out.empty() && out.back() == '_') out.pop_back();
    return (out.empty() ? "contact" : out) + ".vcf";
}

}  // namespace

const char* WebCardStyleSheet() {
    return kStyle;
}

const char* WebCardStyleSheetHash() {
    return kStyleHash;
}

std::string EncodeWebCard(const card::CardRecord& r, std::string* warning) {
    const std::string name = card::CardName(r);
    const bool person = !r.FirstName.empty() || !r.MiddleName.empty() || !r.LastName.empty();
    const std::string nameUtf8 = card::Utf8FromAnsi(name);
    std::string title = Html(name);
    if (person && !r.Company.empty()) title += " \xE2\x80\x93 " + Html(r.Company);
    if (title.empty()) title = "Business card";

    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; img-src data:; style-src '" +
        std::string(kStyleHash) +
        "'; base-uri 'none'; form-action 'none'\">\n"
        "<meta name=\"referrer\" content=\"no-referrer\">\n<title>" +
        title + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n<main class=\"h-card card\">\n";

    const OutgoingPicture picture = OutgoingPictureOf(r);
    if (warning) *warning = picture.warning;
    if (!picture.mediaType.empty()) {
        page += "<img class=\"u-photo photo\" src=\"data:" + picture.mediaType + ";base64," +
                vcard::Base64Encode(picture.bytes.data(), picture.bytes.size()) + "\" alt=\"" +
                (name.empty() ? std::string("The card's picture") : "Picture of " + Html(name)) + "\">\n";
    }
    page += "<div class=\"text\">\n";
    if (person) {
        const std::string given = Span("p-given-name", r.FirstName);
        const std::string additional = Span("p-additional-name", r.MiddleName);
        const std::string family = Span("p-family-name", r.LastName);
        page += "<h1 class=\"p-name\">" + card::JoinNonEmpty({&given, &additional, &family}, " ") + "</h1>\n";
    }
    if (!r.JobTitle.empty() || !r.Department.empty()) {
        page += "<p class=\"soft\">" + Span("p-job-title", r.JobTitle) +
                (r.JobTitle.empty() || r.Department.empty() ? "" : ", ") + Html(r.Department) + "</p>\n";
    }
    if (!r.Company.empty()) {
        page += person ? "<p class=\"p-org org\">" + Html(r.Company) + "</p>\n"
                       : "<h1 class=\"p-name p-org\">" + Html(r.Company) + "</h1>\n";
    }
    if (!(r.StreetAddress + r.City + r.StateProvince + r.PostalCode + r.Country).empty()) {
        std::string street = Html(r.StreetAddress);
        // A line break character after each <br>: parsers that take an
        // element's plain text (microformats) see the lines apart too.
        for (std::size_t pos = 0; (pos = street.find('\n', pos)) != std::string::npos; pos += 5) {
            street.replace(pos, 1, "<br>\n");
        }
        page += "<p class=\"p-adr h-adr soft\">";
        if (!street.empty()) page += "<span class=\"p-street-address\">" + street + "</span><br>\n";
        page += Span("p-locality", r.City) + (r.City.empty() ? "" : ", ") + Span("p-region", r.StateProvince) + " " +
                Span("p-country-name", r.Country) + " " + Span("p-postal-code", r.PostalCode) + "</p>\n";
    }
    for (const auto& [description, number] :
         {std::pair{&r.Phone1Description, &r.Phone1Number}, std::pair{&r.Phone2Description, &r.Phone2Number},
          std::pair{static_cast<const std::string*>(nullptr), &r.Fax}}) {
        if (number->empty()) continue;
        const std::string label = description ? *description : std::string("Fax");
        const std::string tel = TelAddress(*number);
        page += "<p>" + (label.empty() ? std::string() : Html(label) + ": ");
        page +=
            tel.empty() ? Span("p-tel", *number) : "<a class=\"p-tel\" href=\"" + tel + "\">" + Html(*number) + "</a>";
        page += "</p>\n";
    }
    if (!r.EMail.empty()) {
        const card::LinkHandOver mail = card::EMailHandOver(r.EMail);
        page +=
            mail.allowed && IsSingleAddress(r.EMail)
                ? "<p><a class=\"u-email\" href=\"" + EscapeMarkup(mail.address) + "\">" + Html(r.EMail) + "</a></p>\n"
                : "<p>" + Html(r.EMail) + "</p>\n";
    }
    if (!r.WebSite.empty()) {
        const card::LinkHandOver web = card::WebSiteHandOver(r.WebSite);
        page += web.allowed ? "<p><a class=\"u-url\" href=\"" + EscapeMarkup(web.address) + "\">" + Html(r.WebSite) +
                                  "</a></p>\n"
                            : "<p>" + Html(r.WebSite) + "</p>\n";
    }
    if (!r.GeneralInformation.empty()) page += "<p class=\"p-note note\">" + Html(r.GeneralInformation) + "</p>\n";

    // The same vCard as `ovlet export`, and the QR code a phone reads.
    const std::string vcf = vcard::EncodeVCard(r);
    page += "<div class=\"actions\">\n<a class=\"add\" href=\"data:text/vcard;charset=utf-8;base64," +
            vcard::Base64Encode(reinterpret_cast<const std::uint8_t*>(vcf.data()), vcf.size()) + "\" download=\"" +
            DownloadName(nameUtf8) + "\" type=\"text/vcard\">Add to contacts</a>\n";
    if (const Result<qr::CardCode> code = qr::EncodeCard(r)) {
        page += "<div class=\"qr\">" +
                qr::EncodeSvg(code.Value().code, "QR code with the contact " + (nameUtf8.empty() ? "card" : nameUtf8)) +
                "</div>\n";
    }
    page += "</div>\n</div>\n</main>\n</body>\n</html>\n";
    return page;
}

}  // namespace ovlet::exchange
