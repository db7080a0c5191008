// The card as a vCard.
#include <algorithm>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "exchange/name_uuid.h"
#include "exchange/vcard.h"
#include "exchange/vcard_phone.h"
#include "exchange/vcard_text.h"

namespace vcard {
namespace {

using text::Dialect;

// The namespace of the UIDs this writer makes (a version-4 UUID chosen once).
constexpr name_uuid::Bytes16 kUidNamespace = {0x6f, 0x1c, 0x2e, 0x8a, 0x54, 0x3b, 0x4d, 0x0e,
                                              0x9a, 0x71, 0xc2, 0x05, 0x3e, 0xd8, 0x61, 0xb4};

class Writer {
public:
    Writer(const CardRecord& record, const WriteOptions& options)
        : r_(record), options_(options), dialect_(options.version == Version::V4_0 ? Dialect::V40 : Dialect::V30) {}

    std::string Run();

private:
    bool v4() const { return dialect_ == Dialect::V40; }
    void Line(const std::string& text) { text::AppendFolded(out_, text); }
    // A text value; `compound` for a component of N, ADR or ORG.
    std::string Text(const std::string& ansi, bool compound = false) const {
        return text::EscapeText(codepage::Utf8FromAnsi(ansi), dialect_, compound);
    }
    std::string Phone(const std::string& ansi) const;
    void Phones();
    void Photo();

    const CardRecord& r_;
    const WriteOptions& options_;
    Dialect dialect_;
    std::string out_;
};

// A number typed as a tel: address ("tel:+1-555-0100") is written as the
// number it names, so that no reader sees the scheme twice.
std::string Writer::Phone(const std::string& ansi) const {
    std::string utf8 = codepage::Utf8FromAnsi(ansi);
    if (text::IStartsWith(utf8, "tel:")) utf8 = text::PercentDecode(std::string_view(utf8).substr(4));
    return text::EscapeText(utf8, dialect_, false);
}

void Writer::Phones() {
    for (const auto& [description, number] :
         {std::pair{&r_.Phone1Description, &r_.Phone1Number}, std::pair{&r_.Phone2Description, &r_.Phone2Number}}) {
        if (number->empty() && description->empty()) continue;
        const PhoneKind kind = KindFromDescription(*description);
        std::string head = "TEL";
        if (kind.any()) head += ";TYPE=" + TypeList(kind, !v4());
        // The description travels as a label whenever the type alone would not
        // give it back; always on a fax-type phone, which a reader would
        // otherwise take for the card's fax number; and always without a
        // number, as a reader passes over an empty phone of no description.
        // A phone reading a QR code needs only the type.
        const bool label =
            !description->empty() && (DescriptionFromKind(kind) != *description || kind.fax || number->empty());
        if (label && !(options_.compact && !number->empty())) {
            head += ";LABEL=" + text::QuoteParam(codepage::Utf8FromAnsi(*description));
        }
        Line(head + ":" + Phone(*number));
    }
    if (!r_.Fax.empty()) Line(std::string(v4() ? "TEL;TYPE=fax" : "TEL;TYPE=FAX") + ":" + Phone(r_.Fax));
}

void Writer::Photo() {
    const auto size = std::min(static_cast<std::size_t>(r_.PictureLength), r_.PictureBytes.size());
    const std::string type = PictureMediaType(r_.PictureBytes.data(), size);
    const std::string data = text::Base64Encode(r_.PictureBytes.data(), size);
    if (v4()) {
        Line("PHOTO:data:" + type + ";base64," + data);
    } else {
        const std::string subtype = type.rfind("image/", 0) == 0 ? text::Upper(type.substr(6)) : std::string();
        Line("PHOTO;ENCODING=b" + (subtype.empty() ? std::string() : ";TYPE=" + subtype) + ":" + data);
    }
}

std::string Writer::Run() {
    Line("BEGIN:VCARD");
    Line(v4() ? "VERSION:4.0" : "VERSION:3.0");
    std::string fullName = JoinNonEmpty({&r_.FirstName, &r_.MiddleName, &r_.LastName}, " ");
    if (fullName.empty()) fullName = r_.Company;
    Line("FN:" + Text(fullName));
    Line("N:" + Text(r_.LastName, true) + ";" + Text(r_.FirstName, true) + ";" + Text(r_.MiddleName, true) + ";;");
    if (!r_.Company.empty() || !r_.Department.empty()) {
        Line("ORG:" + Text(r_.Company, true) + (r_.Department.empty() ? "" : ";" + Text(r_.Department, true)));
    }
    if (!r_.JobTitle.empty()) Line("TITLE:" + Text(r_.JobTitle));
    if (!r_.StreetAddress.empty() || !r_.City.empty() || !r_.StateProvince.empty() || !r_.PostalCode.empty() ||
        !r_.Country.empty()) {
        Line(std::string(v4() ? "ADR;TYPE=work" : "ADR;TYPE=WORK") + ":;;" + Text(r_.StreetAddress, true) + ";" +
             Text(r_.City, true) + ";" + Text(r_.StateProvince, true) + ";" + Text(r_.PostalCode, true) + ";" +
             Text(r_.Country, true));
    }
    Phones();
    if (!r_.EMail.empty()) Line("EMAIL:" + Text(r_.EMail));
    if (!r_.WebSite.empty()) Line("URL:" + text::EscapeUri(codepage::Utf8FromAnsi(r_.WebSite)));
    if (options_.note && !r_.GeneralInformation.empty()) Line("NOTE:" + Text(r_.GeneralInformation));
    if (options_.photo && r_.HasPicture()) Photo();
    if (options_.uid && !options_.compact) Line("UID:" + CardUid(r_));
    Line("END:VCARD");
    return std::move(out_);
}

}  // namespace

const char* PictureMediaType(const std::uint8_t* bytes, std::size_t size) {
    auto starts = [&](std::initializer_list<std::uint8_t> sig) {
        return size >= sig.size() && std::equal(sig.begin(), sig.end(), bytes);
    };
    if (starts({0xFF, 0xD8, 0xFF})) return "image/jpeg";
    if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return "image/png";
    if (starts({'G', 'I', 'F', '8'})) return "image/gif";
    if (starts({'B', 'M'})) return "image/bmp";
    if (size >= 12 && starts({'R', 'I', 'F', 'F'}) && std::equal(bytes + 8, bytes + 12, "WEBP")) return "image/webp";
    return "application/octet-stream";
}

std::string CardUid(const CardRecord& r) {
    // The parts are the card's own text, one a line; the e-mail address in
    // lower case, as address books compare them.
    std::string email = r.EMail;
    for (char& c : email) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    const std::string name =
        codepage::Utf8FromAnsi(r.FirstName + "\n" + r.MiddleName + "\n" + r.LastName + "\n" + r.Company + "\n" + email);
    return "urn:uuid:" + name_uuid::Version5(kUidNamespace, name);
}

std::string EncodeVCard(const CardRecord& record, const WriteOptions& options) {
    return Writer(record, options).Run();
}

}  // namespace vcard
