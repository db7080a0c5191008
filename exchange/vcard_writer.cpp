// The card as a vCard.
#include <algorithm>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "exchange/name_uuid.h"
#include "exchange/outgoing_picture.h"
#include "exchange/vcard.h"
#include "exchange/vcard_phone.h"
#include "exchange/vcard_text.h"

namespace ovlet::exchange::vcard {
namespace {

// The namespace of the UIDs this writer makes (a version-4 UUID chosen once).
constexpr exchange::UuidBytes kUidNamespace = {0x6f, 0x1c, 0x2e, 0x8a, 0x54, 0x3b, 0x4d, 0x0e,
                                               0x9a, 0x71, 0xc2, 0x05, 0x3e, 0xd8, 0x61, 0xb4};

class Writer {
public:
    Writer(const card::CardRecord& card, const WriteOptions& writeOptions)
        : record(card),
          options(writeOptions),
          dialect(writeOptions.version == Version::V4_0 ? Dialect::V40 : Dialect::V30) {}

    std::string Run();
    // What was left out on the way ("" when nothing).
    const std::string& Warning() const { return warning; }

private:
    bool v4() const { return dialect == Dialect::V40; }
    void Line(const std::string& text) { AppendFolded(out, text); }
    // A value of the card as UTF-8 that every version may carry.
    static std::string Utf8(const std::string& ansi) { return ReplaceControls(card::Utf8FromAnsi(ansi)); }
    // A text value; `compound` for a component of N, ADR or ORG.
    std::string Text(const std::string& ansi, bool compound = false) const {
        return EscapeText(Utf8(ansi), dialect, compound);
    }
    std::string Phone(const std::string& ansi) const;
    void Phones();
    void Photo();

    const card::CardRecord& record;
    const WriteOptions& options;
    Dialect dialect;
    std::string out;
    std::string warning;
};

// A number typed as a tel: address ("tel:+1-555-0100") is written as the
// number it names, so that no reader sees the scheme twice.
std::string Writer::Phone(const std::string& ansi) const {
    std::string utf8 = card::Utf8FromAnsi(ansi);
    if (IStartsWith(utf8, "tel:")) utf8 = PercentDecode(std::string_view(utf8).substr(4));
    return EscapeText(ReplaceControls(utf8), dialect, false);
}

void Writer::Phones() {
    for (const auto& [description, number] : {std::pair{&record.Phone1Description, &record.Phone1Number},
                                              std::pair{&record.Phone2Description, &record.Phone2Number}}) {
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
        if (label && !(options.compact && !number->empty())) {
            head += ";LABEL=" + QuoteParam(Utf8(*description), dialect);
        }
        Line(head + ":" + Phone(*number));
    }
    if (!record.Fax.empty()) Line(std::string(v4() ? "TEL;TYPE=fax" : "TEL;TYPE=FAX") + ":" + Phone(record.Fax));
}

void Writer::Photo() {
    const exchange::OutgoingPicture picture = exchange::OutgoingPictureOf(record);
    warning = picture.warning;
    if (picture.mediaType.empty()) return;
    const std::string data = Base64Encode(picture.bytes.data(), picture.bytes.size());
    if (v4()) {
        Line("PHOTO:data:" + picture.mediaType + ";base64," + data);
    } else {
        Line("PHOTO;ENCODING=b;TYPE=" + Upper(picture.mediaType.substr(6)) + ":" + data);
    }
}

std::string Writer::Run() {
    Line("BEGIN:VCARD");
    Line(v4() ? "VERSION:4.0" : "VERSION:3.0");
    Line("FN:" + Text(card::CardName(record)));
    Line("N:" + Text(record.LastName, true) + ";" + Text(record.FirstName, true) + ";" + Text(record.MiddleName, true) +
         ";;");
    if (!record.Company.empty() || !record.Department.empty()) {
        Line("ORG:" + Text(record.Company, true) +
             (record.Department.empty() ? "" : ";" + Text(record.Department, true)));
    }
    if (!record.JobTitle.empty()) Line("TITLE:" + Text(record.JobTitle));
    if (!record.StreetAddress.empty() || !record.City.empty() || !record.StateProvince.empty() ||
        !record.PostalCode.empty() || !record.Country.empty()) {
        Line(std::string(v4() ? "ADR;TYPE=work" : "ADR;TYPE=WORK") + ":;;" + Text(record.StreetAddress, true) + ";" +
             Text(record.City, true) + ";" + Text(record.StateProvince, true) + ";" + Text(record.PostalCode, true) +
             ";" + Text(record.Country, true));
    }
    Phones();
    if (!record.EMail.empty()) Line("EMAIL:" + Text(record.EMail));
    if (!record.WebSite.empty()) Line("URL:" + EscapeUri(Utf8(record.WebSite)));
    if (options.note && !record.GeneralInformation.empty()) Line("NOTE:" + Text(record.GeneralInformation));
    if (options.photo && record.HasPicture()) Photo();
    if (options.uid && !options.compact) Line("UID:" + CardUid(record));
    Line("END:VCARD");
    return std::move(out);
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

std::string CardUid(const card::CardRecord& r) {
    // The parts are the card's own text, one a line; the e-mail address in
    // lower case, as address books compare them.
    std::string email = r.EMail;
    for (char& c : email) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    const std::string name =
        card::Utf8FromAnsi(r.FirstName + "\n" + r.MiddleName + "\n" + r.LastName + "\n" + r.Company + "\n" + email);
    return "urn:uuid:" + exchange::Version5Uuid(kUidNamespace, name);
}

std::string EncodeVCard(const card::CardRecord& record, const WriteOptions& options, std::string* warning) {
    Writer writer(record, options);
    std::string text = writer.Run();
    if (warning) *warning = writer.Warning();
    return text;
}

}  // namespace ovlet::exchange::vcard
