#include "exchange/vcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "card/codepage.h"
#include "card_test_support.h"
#include "exchange/vcard_lines.h"
#include "exchange/vcard_text.h"
#include "tests/support/test_names.h"
#include "vcard_test_support.h"

namespace ovlet::exchange {
namespace {

void ExpectSameFields(const card::CardRecord& want, const card::CardRecord& got) {
    for (const auto& f : card::kCardFields) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(want.*f.member, got.*f.member);
    }
    EXPECT_EQ(want.PictureBytes, got.PictureBytes);
}

vcard::ImportedCard ReadOne(const std::string& text) {
    vcard::ReadResult result = vcard::DecodeVCards(text);
    EXPECT_EQ(result.cards.size(), 1u) << text;
    return result.cards.empty() ? vcard::ImportedCard{} : result.cards.front();
}

// The unfolded lines of a vCard, with each physical line checked on the way.
std::vector<std::string> Unfold(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) break;
        const std::string line = text.substr(pos, end - pos);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        if (!line.empty() && line[0] == ' ' && !lines.empty()) {
            lines.back() += line.substr(1);
        } else {
            lines.push_back(line);
        }
        pos = end + 2;
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(VCardWrite, SampleCardGivesTheExpectedProperties) {
    const std::vector<std::string> lines = Unfold(vcard::EncodeVCard(SampleCard(), {vcard::Version::V4_0, false}));
    const std::vector<std::string> expected = {
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Ren\u00E9e A. Okafor",
        "N:Okafor;Ren\u00E9e;A.;;",
        "ORG:Harbour Light Instruments;Marine Sensors",
        "TITLE:Lead Engineer",
        "ADR;TYPE=work:;;Unit 4\\, Quayside Works\\n12 Ropewalk Lane;Portsmouth;Hampshire;PO1 3AX;United Kingdom",
        "TEL;TYPE=work;LABEL=\"Office\":+44 23 9200 0100",
        "TEL;TYPE=cell:+44 7700 900123",
        "TEL;TYPE=fax:+44 23 9200 0199",
        "EMAIL:renee.okafor@harbourlight.example",
        "URL:https://harbourlight.example",
        std::string("NOTE:We design and build depth sounders\\, tide gauges and water-quality probes for harbours.") +
            "\\nAsk about our calibration service \xE2\x80\x93 same-week turnaround.",
        "UID:urn:uuid:58083874-8b08-504e-86ef-a174c178a75c",
        "END:VCARD",
    };
    EXPECT_EQ(lines, expected);
}

TEST(VCardWrite, EachVersionEscapesByItsOwnGrammar) {
    constexpr auto v3 = vcard::Version::V3_0;
    constexpr auto v4 = vcard::Version::V4_0;
    struct Case {
        const char* name;
        vcard::Version version;
        std::string card::CardRecord::*member;
        std::string value;
        std::string line;
    };
    const Case cases[] = {
        {"4.0 text keeps a raw semicolon", v4, &card::CardRecord::JobTitle, "a\\b,c;d", "TITLE:a\\\\b\\,c;d"},
        {"3.0 text escapes it", v3, &card::CardRecord::JobTitle, "a\\b,c;d", "TITLE:a\\\\b\\,c\\;d"},
        {"4.0 formatted name", v4, &card::CardRecord::Company, "Acme; Widgets, Inc.", "FN:Acme; Widgets\\, Inc."},
        {"4.0 compound values escape it", v4, &card::CardRecord::Company, "Acme; Widgets, Inc.",
         "ORG:Acme\\; Widgets\\, Inc."},
        {"4.0 name components", v4, &card::CardRecord::LastName, "x;y,z", "N:x\\;y\\,z;;;;"},
        {"4.0 note", v4, &card::CardRecord::GeneralInformation, "a;b\r\nc", "NOTE:a;b\\nc"},
        {"CR LF in a note", v3, &card::CardRecord::GeneralInformation, "one\r\ntwo", "NOTE:one\\ntwo"},
        {"lone LF and CR", v4, &card::CardRecord::GeneralInformation, "a\nb\rc", "NOTE:a\\nb\\nc"},
        {"Windows-1252 to UTF-8", v4, &card::CardRecord::EMail, "\x80@\xE9.example",
         "EMAIL:\xE2\x82\xAC@\xC3\xA9.example"},
        {"URL: comma and semicolon percent-encoded", v4, &card::CardRecord::WebSite, "http://x/a,b;c",
         "URL:http://x/a%2Cb%3Bc"},
        {"URL: the same in 3.0", v3, &card::CardRecord::WebSite, "http://x/a,b;c", "URL:http://x/a%2Cb%3Bc"},
        {"URL: a backslash percent-encoded", v4, &card::CardRecord::WebSite, "x\\y", "URL:x%5Cy"},
        {"label with quote and caret", v4, &card::CardRecord::Phone1Description, "Desk \"A\" ^1",
         "TEL;LABEL=\"Desk ^'A^' ^^1\":5"},
        {"3.0 has no caret escapes: the quote is dropped, the caret stays", v3, &card::CardRecord::Phone1Description,
         "Desk \"A\" ^1^^n", "TEL;LABEL=\"Desk A ^1^^n\":5"},
        {"3.0 label with a line break", v3, &card::CardRecord::Phone1Description, "Desk\r\nTwo",
         "TEL;LABEL=\"Desk Two\":5"},
        {"4.0 label with a line break", v4, &card::CardRecord::Phone1Description, "Desk\r\nTwo",
         "TEL;LABEL=\"Desk^nTwo\":5"},
        {"4.0 control characters become U+FFFD, a tab stays", v4, &card::CardRecord::JobTitle,
         std::string("a\x1B[1mb\x07", 7) + '\0' + "c\x7F\td",
         "TITLE:a\xEF\xBF\xBD[1mb\xEF\xBF\xBD\xEF\xBF\xBD"
         "c\xEF\xBF\xBD\td"},
        {"3.0 control characters", v3, &card::CardRecord::GeneralInformation, "\x1B\x1Fx\r\ny",
         "NOTE:\xEF\xBF\xBD\xEF\xBF\xBDx\\ny"},
        {"a control character in a name component", v3, &card::CardRecord::LastName, "Lee\x08",
         "N:Lee\xEF\xBF\xBD;;;;"},
        {"a control character in a label", v4, &card::CardRecord::Phone1Description, "A\x1B",
         "TEL;LABEL=\"A\xEF\xBF\xBD\":5"},
        {"a control character in a 3.0 label", v3, &card::CardRecord::Phone1Description, "A\x1B",
         "TEL;LABEL=\"A\xEF\xBF\xBD\":5"},
        {"a control character in a web address", v4, &card::CardRecord::WebSite, "http://x/\x1B",
         "URL:http://x/\xEF\xBF\xBD"},
        {"a control character in a number", v4, &card::CardRecord::Phone1Number, "555\x1B", "TEL:555\xEF\xBF\xBD"},
        {"a control character in a tel: address", v3, &card::CardRecord::Phone1Number, "tel:555%1B",
         "TEL:555\xEF\xBF\xBD"},
        {"fax-described phone keeps its label", v4, &card::CardRecord::Phone1Description, "Fax",
         "TEL;TYPE=fax;LABEL=\"Fax\":5"},
        {"two words give two types", v4, &card::CardRecord::Phone1Description, "Work Mobile", "TEL;TYPE=work,cell:5"},
        {"a number typed as a tel: address", v4, &card::CardRecord::Phone1Number, "tel:+1-555-0100", "TEL:+1-555-0100"},
        {"the same in 3.0", v3, &card::CardRecord::Phone1Number, "TEL:+1-555-0100", "TEL:+1-555-0100"},
        {"German B\xFCro", v4, &card::CardRecord::Phone1Description, "B\xFCro",
         "TEL;TYPE=work;LABEL=\"B\xC3\xBCro\":5"},
        {"German Handy", v4, &card::CardRecord::Phone1Description, "Handy", "TEL;TYPE=cell;LABEL=\"Handy\":5"},
        {"German Mobil privat", v3, &card::CardRecord::Phone1Description, "Mobil privat",
         "TEL;TYPE=HOME,CELL;LABEL=\"Mobil privat\":5"},
        {"German Telefax", v4, &card::CardRecord::Phone1Description, "Telefax", "TEL;TYPE=fax;LABEL=\"Telefax\":5"},
        {"French Bureau", v4, &card::CardRecord::Phone1Description, "Bureau", "TEL;TYPE=work;LABEL=\"Bureau\":5"},
        {"French Portable", v4, &card::CardRecord::Phone1Description, "Portable", "TEL;TYPE=cell;LABEL=\"Portable\":5"},
        {"French Domicile", v4, &card::CardRecord::Phone1Description, "DOMICILE", "TEL;TYPE=home;LABEL=\"DOMICILE\":5"},
        {"French T\xE9l\xE9"
         "copie",
         v4, &card::CardRecord::Phone1Description,
         "T\xE9l\xE9"
         "copie",
         "TEL;TYPE=fax;LABEL=\"T\xC3\xA9l\xC3\xA9"
         "copie\":5"},
        {"Spanish M\xF3vil", v4, &card::CardRecord::Phone1Description, "M\xF3vil",
         "TEL;TYPE=cell;LABEL=\"M\xC3\xB3vil\":5"},
        {"Spanish Oficina", v4, &card::CardRecord::Phone1Description, "Oficina", "TEL;TYPE=work;LABEL=\"Oficina\":5"},
        {"Spanish Casa", v4, &card::CardRecord::Phone1Description, "casa", "TEL;TYPE=home;LABEL=\"casa\":5"},
        {"no kind in a word that only contains one", v4, &card::CardRecord::Phone1Description, "Homepage",
         "TEL;LABEL=\"Homepage\":5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        card::CardRecord r;
        if (c.member != &card::CardRecord::Phone1Number) r.Phone1Number = "5";
        if (c.member != &card::CardRecord::Phone1Description && c.member != &card::CardRecord::Phone1Number)
            r.Phone1Number.clear();
        r.*c.member = c.value;
        vcard::WriteOptions options;
        options.version = c.version;
        const auto lines = Unfold(vcard::EncodeVCard(r, options));
        EXPECT_TRUE(HasLine(lines, c.line)) << ::testing::PrintToString(lines);
    }
}

TEST(VCardWrite, TheUidFollowsNameCompanyAndEMailOnly) {
    const auto uid = [](const card::CardRecord& r) {
        for (const std::string& line : Unfold(vcard::EncodeVCard(r))) {
            if (line.rfind("UID:", 0) == 0) return line.substr(4);
        }
        return std::string();
    };
    card::CardRecord a = SampleCard();
    const std::string first = uid(a);
    EXPECT_EQ(first, vcard::CardUid(a));
    EXPECT_EQ(first.rfind("urn:uuid:", 0), 0u);
    a.GeneralInformation = "changed";
    a.Phone1Number = "changed";
    a.EMail = "RENEE.OKAFOR@harbourlight.example";
    EXPECT_EQ(uid(a), first) << "the same person exported again updates one contact";
    for (std::string card::CardRecord::*member : {&card::CardRecord::FirstName, &card::CardRecord::LastName,
                                                  &card::CardRecord::Company, &card::CardRecord::EMail}) {
        card::CardRecord b = SampleCard();
        b.*member += "x";
        EXPECT_NE(uid(b), first);
    }
    vcard::WriteOptions noUid;
    noUid.uid = false;
    EXPECT_EQ(vcard::EncodeVCard(SampleCard(), noUid).find("UID:"), std::string::npos);
}

TEST(VCardWrite, FoldsAt75OctetsWithoutSplittingCharacters) {
    struct Case {
        const char* name;
        std::string note;
    };
    const Case cases[] = {
        {"ASCII", std::string(300, 'x')},
        {"two-byte letters", std::string(200, '\xE9')},
        {"three-byte euro signs", std::string(150, '\x80')},
        {"exactly 75 octets", std::string(75 - 5, 'y')},
        {"76 octets", std::string(76 - 5, 'y')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        card::CardRecord r;
        r.GeneralInformation = c.note;
        const std::string text = vcard::EncodeVCard(r);
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find("\r\n", pos);
            ASSERT_NE(end, std::string::npos);
            EXPECT_LE(end - pos, 75u);
            if (end + 2 < text.size() && text[end + 2] == ' ') {
                // The next line continues this one: it must not start inside a character.
                EXPECT_NE(static_cast<unsigned char>(text[end + 3]) & 0xC0, 0x80u);
            }
            pos = end + 2;
        }
        EXPECT_TRUE(HasLine(Unfold(text), "NOTE:" + card::Utf8FromAnsi(c.note)));
    }
}

TEST(VCardWrite, Version3PhotoAndTypes) {
    card::CardRecord r = SampleCard();
    const auto lines = Unfold(vcard::EncodeVCard(r, {vcard::Version::V3_0}));
    EXPECT_TRUE(HasLine(lines, "VERSION:3.0"));
    EXPECT_TRUE(HasLine(lines, "TEL;TYPE=CELL:+44 7700 900123"));
    EXPECT_TRUE(HasLine(lines, "TEL;TYPE=FAX:+44 23 9200 0199"));
    const auto photo =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("PHOTO", 0) == 0; });
    ASSERT_NE(photo, lines.end());
    EXPECT_EQ(photo->rfind("PHOTO;ENCODING=b;TYPE=JPEG:/9j/", 0), 0u);
    const auto v4 = Unfold(vcard::EncodeVCard(r));
    EXPECT_TRUE(std::any_of(v4.begin(), v4.end(),
                            [](const std::string& l) { return l.rfind("PHOTO:data:image/jpeg;base64,/9j/", 0) == 0; }));
}

// The photo line of a vCard, unfolded, or "".
std::string PhotoLine(const std::string& vcf) {
    for (const std::string& line : Unfold(vcf)) {
        if (line.rfind("PHOTO", 0) == 0) return line;
    }
    return "";
}

TEST(VCardWrite, PicturesLeaveAsJpegOrPngOfTheSamePixels) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    struct Case {
        const char* name;
        test_support::Bytes picture;
        const char* type;  // the media type the photo leaves as
        bool unchanged;    // the card's own bytes
    };
    const Case cases[] = {
        {"JPEG as it is", SamplePicture(), "image/jpeg", true},
        {"PNG as it is", CorpusPicture("png/basn2c08.png"), "image/png", true},
        {"8-bit BMP of an odd width", CorpusPicture("bmp/g/pal8nonsquare.bmp"), "image/png", false},
        {"32-bit BMP with bit fields", CorpusPicture("bmp/g/rgb32bf.bmp"), "image/png", false},
        {"Targa with alpha, run-length", CorpusPicture("tga/generated/im_rgba32_rle_tl.tga"), "image/png", false},
        {"Targa, 16-bit grey and alpha", CorpusPicture("tga/pillow/la.tga"), "image/png", false},
        {"PICT, 32-bit", CorpusPicture("pict/twelvemonkeys/mire32.pict"), "image/png", false},
        {"PICT, 1-bit", CorpusPicture("pict/generated/v2_packbitsrect_70x20.pct"), "image/png", false},
    };
    test_support::TempFolder dir;
    for (const auto& c : cases) {
        for (const auto version : {vcard::Version::V4_0, vcard::Version::V3_0}) {
            SCOPED_TRACE(std::string(c.name) + (version == vcard::Version::V4_0 ? " 4.0" : " 3.0"));
            card::CardRecord card;
            card.FirstName = "Ann";
            card.SetPicture(c.picture);
            std::string warning = "not set";
            const std::string vcf = vcard::EncodeVCard(card, {version}, &warning);
            EXPECT_EQ(warning, "");
            const std::string line = PhotoLine(vcf);
            const std::string subtype = std::string(c.type).substr(6);
            const std::string head = version == vcard::Version::V4_0
                                         ? "PHOTO:data:" + std::string(c.type) + ";base64,"
                                         : "PHOTO;ENCODING=b;TYPE=" + vcard::Upper(subtype) + ":";
            ASSERT_EQ(line.rfind(head, 0), 0u) << line.substr(0, 60);
            const auto bytes = vcard::Base64Decode(std::string_view(line).substr(head.size()));
            ASSERT_TRUE(bytes) << bytes.Error().Describe();
            if (c.unchanged) {
                EXPECT_EQ(bytes.Value(), c.picture);
            } else {
                // A PNG of the same pixels, as another program reads it.
                test_support::WriteFileBytes(dir / "photo.png", bytes.Value());
                EXPECT_EQ(MagickPixels(dir / "photo.png"), LibraryPixels(c.picture));
            }
            // Our own import takes our own export, whatever the card had.
            const vcard::ImportedCard back = ReadOne(vcf);
            EXPECT_TRUE(back.warnings.empty()) << back.warnings.front().text;
            EXPECT_EQ(back.record.PictureBytes, bytes.Value());
            // The card keeps its own bytes.
            EXPECT_EQ(card.PictureBytes, c.picture);
        }
    }
}

TEST(VCardWrite, APictureThatDoesNotDecodeIsLeftOutWithAWarning) {
    card::CardRecord card;
    card.FirstName = "Ann";
    test_support::Bytes bmp = CorpusPicture("bmp/g/pal8nonsquare.bmp");
    bmp.resize(200);
    card.SetPicture(bmp);
    for (const auto version : {vcard::Version::V4_0, vcard::Version::V3_0}) {
        std::string warning;
        const std::string vcf = vcard::EncodeVCard(card, {version}, &warning);
        EXPECT_EQ(PhotoLine(vcf), "");
        EXPECT_EQ(warning.rfind("the picture does not decode (", 0), 0u) << warning;
        EXPECT_EQ(warning.find('\n'), std::string::npos) << warning;
    }
}

TEST(VCardRoundTrip, CardToVCardToCardKeepsEveryField) {
    card::CardRecord withoutNames;
    withoutNames.Company = "Only a company";
    withoutNames.Phone2Description = "Reception";
    withoutNames.Phone1Description = "Home";
    withoutNames.Phone1Number = "1";
    card::CardRecord describedOnly;
    describedOnly.Phone1Description = "Desk";
    describedOnly.Fax = "+1 (555) 0100 %20";
    card::CardRecord typedOnly;  // a description the type alone gives back, and no number
    typedOnly.Phone1Description = "Mobile";
    card::CardRecord faxPhone;  // a phone described "Fax" must not become the card's fax number
    faxPhone.Phone1Description = "Fax";
    faxPhone.Phone1Number = "9";
    faxPhone.Fax = "8";
    card::CardRecord controls;
    controls.City = "\x81\x8D\x8F\x90\x9D";
    controls.GeneralInformation = "\r\n\r\nstarts and ends with breaks\r\n";
    controls.WebSite = "a\\,b\\;c";
    const std::pair<const char*, card::CardRecord> cards[] = {
        {"sample", SampleCard()},
        {"every field at its limit", AtLimitCard()},
        {"empty", card::CardRecord{}},
        {"company only", withoutNames},
        {"description without number", describedOnly},
        {"phone described as fax", faxPhone},
        {"typed description without number", typedOnly},
        {"control bytes and breaks", controls},
    };
    for (const auto& [name, card] : cards) {
        for (const auto version : {vcard::Version::V4_0, vcard::Version::V3_0}) {
            SCOPED_TRACE(std::string(name) + (version == vcard::Version::V4_0 ? " 4.0" : " 3.0"));
            const vcard::ImportedCard back = ReadOne(vcard::EncodeVCard(card, {version}));
            ExpectSameFields(card, back.record);
            EXPECT_TRUE(back.ok());
            EXPECT_TRUE(back.unmapped.empty()) << back.unmapped.front().property;
        }
    }
}

TEST(VCardRoundTrip, ForeignVCardToCardToVCardKeepsMappedProperties) {
    const std::string foreign =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;Jane;Q.;;\r\nFN:Jane Q. Doe\r\nORG:Example Ltd;Research\r\n"
        "TITLE:Chemist\r\nADR;TYPE=WORK,PREF:;;1 Lab Road\\nBuilding 2;Leeds;West Yorkshire;LS1 1AA;UK\r\n"
        "TEL;TYPE=WORK,VOICE:+44 113 000\r\nTEL;TYPE=HOME:+44 113 111\r\nTEL;TYPE=WORK,FAX:+44 113 222\r\n"
        "EMAIL;TYPE=INTERNET:jane@example.org\r\nURL:https://example.org/jane\r\nNOTE:Ask for Jane\\, please.\r\n"
        "PHOTO;ENCODING=b;TYPE=PNG:" +
        std::string(kPngBase64) + "\r\nEND:VCARD\r\n";
    const vcard::ImportedCard first = ReadOne(foreign);
    ASSERT_TRUE(first.ok());
    EXPECT_TRUE(first.unmapped.empty());
    const std::string exported = vcard::EncodeVCard(first.record);
    const auto lines = Unfold(exported);
    for (const char* line :
         {"N:Doe;Jane;Q.;;", "FN:Jane Q. Doe", "ORG:Example Ltd;Research", "TITLE:Chemist",
          "ADR;TYPE=work:;;1 Lab Road\\nBuilding 2;Leeds;West Yorkshire;LS1 1AA;UK", "TEL;TYPE=work:+44 113 000",
          "TEL;TYPE=home:+44 113 111", "TEL;TYPE=fax:+44 113 222", "EMAIL:jane@example.org",
          "URL:https://example.org/jane", "NOTE:Ask for Jane\\, please."}) {
        EXPECT_TRUE(HasLine(lines, line)) << line;
    }
    EXPECT_TRUE(HasLine(lines, std::string("PHOTO:data:image/png;base64,") + kPngBase64));
    ExpectSameFields(first.record, ReadOne(exported).record);
}

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<std::pair<const char*, std::string>> fields;  // field name, Windows-1252 value
    std::vector<const char*> unmapped;                        // properties reported without a field
    std::vector<const char*> warnings;                        // texts expected among the warnings
    std::vector<const char*> errors;                          // texts expected among the card's errors
    int pictureLength = -1;                                   // -1: not checked
};

std::string Card(const std::string& version, const std::string& body) {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

const std::vector<ReadCase> kReadCases = {
    {"v21 quoted-printable with soft breaks and charset",
     Card("2.1",
          "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen\r\n"
          "NOTE;ENCODING=QUOTED-PRINTABLE:line one=0D=0Aline =\r\ntwo\r\n"
          "ADR;WORK;QUOTED-PRINTABLE:;;Stra=DFe 1;Berlin;;10115;\r\n"
          "ADR;CHARSET=ISO-8859-1;WORK:;;ignored;;;;\r\n"),
     {{"LastName", "M\xFCller"},
      {"FirstName", "J\xFCrgen"},
      {"GeneralInformation", "line one\r\nline two"},
      {"StreetAddress",
       "Stra\xDF"
       "e 1"},
      {"City", "Berlin"}},
     {"ADR"},
     {"not UTF-8"},
     {}},
    {"v21 types without names and base64 photo ending in a blank line",
     Card("2.1",
          "TEL;WORK;VOICE:1\r\nTEL;CELL:2\r\nTEL;FAX:3\r\nTEL;HOME:4\r\n"
          "PHOTO;TYPE=PNG;ENCODING=BASE64:\r\n" +
              std::string(kPngBase64).substr(0, 30) + "\r\n" + std::string(kPngBase64).substr(30) + "\r\n\r\n"),
     {{"Phone1Number", "1"},
      {"Phone1Description", "Work"},
      {"Phone2Number", "2"},
      {"Phone2Description", "Mobile"},
      {"Fax", "3"}},
     {"TEL"},
     {},
     {},
     70},
    {"v21 keeps the space of a folded line",
     Card("2.1", "NOTE:one\r\n two\r\n"),
     {{"GeneralInformation", "one two"}},
     {},
     {},
     {}},
    {"v3 folded with a tab, LF line ends, escapes",
     "BEGIN:VCARD\nVERSION:3.0\nNOTE:a\\,b\\;c\\\\d\\ne\n\tf\nTITLE:x\\Ny\nEND:VCARD\n",
     {{"GeneralInformation", "a,b;c\\d\r\nef"}, {"JobTitle", "x y"}},
     {},
     {"one line only"},
     {}},
    {"v4 data URI photo and tel URI",
     Card("4.0", "TEL;VALUE=uri;TYPE=\"voice,cell\":tel:+1-555-0100\r\nPHOTO:data:image/png;base64," +
                     std::string(kPngBase64) + "\r\n"),
     {{"Phone1Number", "+1-555-0100"}, {"Phone1Description", "Mobile"}},
     {},
     {},
     {},
     70},
    {"grouped address-book labels",
     Card("3.0",
          "item1.TEL:555\r\nitem1.X-ABLabel:_$!<Assistant>!$_\r\nitem2.TEL;TYPE=FAX:556\r\n"
          "item2.X-ABLabel:Lab fax\r\n"),
     {{"Phone1Description", "Assistant"}, {"Phone2Description", "Lab fax"}, {"Phone2Number", "556"}, {"Fax", ""}},
     {},
     {},
     {}},
    {"formatted name alone is split",
     Card("4.0", "FN:Mary Ann van Dyke\r\n"),
     {{"FirstName", "Mary"}, {"MiddleName", "Ann van"}, {"LastName", "Dyke"}},
     {},
     {},
     {}},
    {"organisation's own card sets no person",
     Card("4.0", "FN:Acme\r\nORG:Acme;Sales;North\r\n"),
     {{"FirstName", ""}, {"Company", "Acme"}, {"Department", "Sales"}},
     {"ORG"},
     {},
     {}},
    {"properties without a field are reported",
     Card("4.0",
          "N:Doe;John;;Dr.;Jr.\r\nBDAY:2000-01-01\r\nNICKNAME:JD\r\nEMAIL:a@x\r\nEMAIL;PREF=1:b@x\r\n"
          "TEL:1\r\nTEL:2\r\nTEL:3\r\nX-CUSTOM:y\r\nUID:urn:uuid:1\r\nPRODID:-//x//y\r\n"),
     {{"EMail", "b@x"}, {"Phone2Number", "2"}},
     {"N", "N", "BDAY", "NICKNAME", "EMAIL", "TEL", "X-CUSTOM"},
     {},
     {}},
    {"text Windows-1252 cannot hold becomes ? and is reported",
     Card("4.0",
          "N:\xC5\x81\xC3\xB3"
          "d\xC5\xBA;\xE6\x9D\x8E;;;\r\n"),
     {{"LastName",
       "?\xF3"
       "d?"},
      {"FirstName", "?"}},
     {},
     {"U+0141", "U+017A", "U+674E"},
     {}},
    {"values over the typing limit are kept",
     Card("4.0", "ADR:;;;" + std::string(30, 'c') + ";;;\r\n"),
     {{"City", std::string(30, 'c')}},
     {},
     {"City is 30 characters long, over the 25"},
     {}},
    {"a picture neither JPEG nor PNG is left out",
     Card("3.0", "PHOTO;ENCODING=b;TYPE=GIF:" + std::string(kGifBase64) + "\r\n"),
     {},
     {},
     {"image/gif"},
     {},
     0},
    {"a linked picture is left out", Card("4.0", "PHOTO:https://example.com/me.jpg\r\n"), {}, {}, {"is a link"}, {}, 0},
    {"bad base64 in a photo", Card("3.0", "PHOTO;ENCODING=b:iVBO*w0K\r\n"), {}, {}, {"'*' at offset 4"}, {}, 0},
    {"base64 ending mid-group",
     Card("4.0", "PHOTO:data:image/png;base64,iVBOR\r\n"),
     {},
     {},
     {"middle of a base64 group"},
     {},
     0},
    {"a damaged photo leaves the contact whole",
     Card("3.0", "FN:Ann Lee\r\nTEL:5\r\nPHOTO;ENCODING=b;TYPE=PNG:" + std::string(kPngBase64).substr(0, 41) +
                     "\r\nTITLE:Chief\r\n"),
     {{"FirstName", "Ann"}, {"LastName", "Lee"}, {"Phone1Number", "5"}, {"JobTitle", "Chief"}},
     {},
     {"damaged"},
     {},
     0},
    {"a photo that does not decode is left out",
     Card("3.0", "FN:Ann\r\nPHOTO;ENCODING=b;TYPE=PNG:" + std::string(kPngBase64).substr(0, 48) + "\r\n"),
     {{"FirstName", "Ann"}},
     {},
     {"does not decode"},
     {},
     0},
    {"CR CR LF ends a line once, so a 2.1 photo runs on to its blank line",
     "BEGIN:VCARD\r\r\nVERSION:2.1\r\r\nFN:Ann\r\r\nPHOTO;ENCODING=BASE64;TYPE=PNG:\r\r\n" +
         std::string(kPngBase64).substr(0, 40) + "\r\r\n" + std::string(kPngBase64).substr(40) +
         "\r\r\n\r\r\nTITLE:T\r\r\nEND:VCARD\r\r\n",
     {{"FirstName", "Ann"}, {"JobTitle", "T"}},
     {},
     {},
     {},
     70},
    {"4.0 photo whose data: address escapes its comma, as ical.js writes it",
     Card("4.0", "PHOTO:data:image/png;base64\\," + std::string(kPngBase64) + "\r\n"),
     {},
     {},
     {},
     {},
     70},
    {"3.0 photo whose data: address escapes its comma",
     Card("3.0", "PHOTO;VALUE=uri:data:image/png;base64\\," + std::string(kPngBase64) + "\r\n"),
     {},
     {},
     {},
     {},
     70},
    {"a data: address whose bytes are no picture says what the vCard called it",
     Card("4.0", "PHOTO:data:image/jpeg;base64,AAAA\r\n"),
     {},
     {},
     {"the picture's bytes are no picture this reader knows (the vCard calls it image/jpeg); left out"},
     {},
     0},
    {"2.1 quoted-printable soft breaks before folded lines, one inside a character",
     Card("2.1", "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:caf=C3=\r\n =A9 au =\r\n\tlait=\r\n  chaud\r\n"),
     {{"GeneralInformation", "caf\xE9 au lait chaud"}},
     {},
     {},
     {}},
    {"3.0 quoted-printable soft break before a folded line",
     Card("3.0", "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:Stra=C3=\r\n =9Fe=\r\n 1\r\n"),
     {{"GeneralInformation",
       "Stra\xDF"
       "e1"}},
     {},
     {},
     {}},
    {"3.0 parameters read by RFC 2426: a caret is text",
     Card("3.0", "TEL;LABEL=\"a^'b^^c^n\":5\r\n"),
     {{"Phone1Description", "a^'b^^c^n"}},
     {},
     {},
     {}},
    {"4.0 parameters undo RFC 6868 caret escapes",
     Card("4.0", "TEL;LABEL=\"a^'b^^c\":5\r\n"),
     {{"Phone1Description", "a\"b^c"}},
     {},
     {},
     {}},
    {"2.1 bare type and encoding of a photo",
     Card("2.1", "PHOTO;PNG;B:" + std::string(kPngBase64) + "\r\n"),
     {},
     {},
     {},
     {},
     70},
    {"needless backslashes in 3.0 are dropped",
     Card("3.0", "item1.URL;type=pref:http\\://x.example/a\\,b\r\nTITLE:a\\:b\\\\c\r\n"),
     {{"WebSite", "http://x.example/a,b"}, {"JobTitle", "a:b\\c"}},
     {},
     {},
     {}},
    {"2.1 reads \\\\ and \\; as escapes and keeps other backslashes",
     Card("2.1", "NOTE:C:\\temp\\,x \\\\srv\\n \\\\\\\\\\\\\r\nTITLE:a\\;b\r\n"),
     {{"GeneralInformation", "C:\\temp\\,x \\srv\\n \\\\\\"}, {"JobTitle", "a;b"}},
     {},
     {},
     {}},
    {"percent-encoded marks of our own URLs come back",
     Card("4.0", "URL:http://x/a%2Cb%3bc%5C%20d\r\n"),
     {{"WebSite", "http://x/a,b;c\\%20d"}},
     {},
     {},
     {}},
    {"declared character sets go through iconv",
     Card("2.1", "N;CHARSET=ISO-8859-2:\xA9\xE1rka;\xC1\xE8\xDE;;;\r\nTITLE;CHARSET=ISO-8859-7:\xC1\xE8\xDE\r\n"),
     {{"LastName", "\x8A\xE1rka"}, {"FirstName", "\xC1??"}, {"JobTitle", "???"}},
     {},
     {"U+0391"},
     {}},
    {"an unknown character set is read as UTF-8",
     Card("2.1", "TITLE;CHARSET=X-NOSUCH:caf\xC3\xA9\r\nNOTE;CHARSET=A//B:x\r\n"),
     {{"JobTitle", "caf\xE9"}},
     {},
     {"X-NOSUCH is not known", "A//B is not known"},
     {}},
    {"bytes a character set does not define",
     Card("2.1", "TITLE;CHARSET=SHIFT_JIS:a\x81\r\n"),
     {{"JobTitle", "a?"}},
     {},
     {"1 byte is not SHIFT_JIS text", "U+FFFD"},
     {}},
    {"data after padding in a text value",
     Card("3.0", "NOTE;ENCODING=b:YQ==YQ==\r\n"),
     {},
     {},
     {},
     {"after the '=' padding"}},
    {"unterminated card",
     "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:A B\r\n",
     {{"FirstName", "A"}},
     {},
     {},
     {"without END:VCARD"}},
    {"embedded agent card is skipped",
     Card("2.1", "FN:Boss\r\nAGENT:\r\nBEGIN:VCARD\r\nFN:Helper\r\nEND:VCARD\r\nTITLE:Chief\r\n"),
     {{"FirstName", "Boss"}, {"JobTitle", "Chief"}},
     {"AGENT"},
     {},
     {}},
    {"a line that is no property",
     Card("4.0", "just words\r\nTITLE:T\r\n"),
     {{"JobTitle", "T"}},
     {},
     {"not a property"},
     {}},
    {"NUL in a value", Card("4.0", std::string("TITLE:a\0b\r\n", 11)), {{"JobTitle", "ab"}}, {}, {"NUL"}, {}},
    {"a phone of NUL characters only leaves its slot to the next",
     Card("4.0", std::string("TEL:\0\0\r\nTEL;TYPE=home:5\r\n", 25)),
     {{"Phone1Number", "5"}, {"Phone1Description", "Home"}, {"Phone2Number", ""}},
     {},
     {"NUL"},
     {}},
};

class VCardRead : public ::testing::TestWithParam<ReadCase> {};

bool AnyContains(const std::vector<vcard::Issue>& issues, const char* text) {
    return std::any_of(issues.begin(), issues.end(),
                       [&](const vcard::Issue& i) { return i.text.find(text) != std::string::npos; });
}

TEST_P(VCardRead, MapsAndReports) {
    const ReadCase& c = GetParam();
    const vcard::ImportedCard card = ReadOne(c.text);
    for (const auto& [name, value] : c.fields) {
        SCOPED_TRACE(name);
        EXPECT_EQ(card.record.*card::FindCardField(name)->member, value);
    }
    std::vector<std::string> unmapped;
    for (const auto& issue : card.unmapped) unmapped.push_back(issue.property);
    EXPECT_EQ(unmapped, std::vector<std::string>(c.unmapped.begin(), c.unmapped.end()));
    for (const char* w : c.warnings) EXPECT_TRUE(AnyContains(card.warnings, w)) << w;
    if (c.warnings.empty()) {
        EXPECT_TRUE(card.warnings.empty()) << card.warnings.front().text;
    }
    for (const char* e : c.errors) EXPECT_TRUE(AnyContains(card.errors, e)) << e;
    EXPECT_EQ(card.ok(), c.errors.empty());
    if (c.pictureLength >= 0) {
        EXPECT_EQ(card.record.PictureLength, c.pictureLength);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VCardRead, ::testing::ValuesIn(kReadCases), test_support::CaseName());

// A text as UTF-16 with its byte-order mark (the text is ASCII).
std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

TEST(VCardReadFile, FileLevelFaultsAndLimits) {
    struct Case {
        const char* name;
        std::string text;
        vcard::ReadLimits limits;
        std::size_t cards;
        const char* fileError;  // expected among the file's errors, or null
        const char* cardError;  // expected among the first card's errors, or null
    };
    vcard::ReadLimits small;
    small.maxLineBytes = 100;
    small.maxCards = 2;
    small.maxPropertiesPerCard = 3;
    const std::string three = Card("4.0", "") + Card("4.0", "") + Card("4.0", "");
    const Case cases[] = {
        {"empty file", "", {}, 0, "no vCard", nullptr},
        {"no card", "hello\r\nworld\r\n", {}, 0, "no vCard", nullptr},
        {"UTF-16 little-endian", Utf16(Card("4.0", "FN:x\r\n"), false), {}, 1, nullptr, nullptr},
        {"UTF-16 big-endian", Utf16(Card("4.0", "FN:x\r\n"), true), {}, 1, nullptr, nullptr},
        {"UTF-16 with an odd last byte",
         Utf16(Card("4.0", "FN:x\r\n"), false) + "x",
         {},
         1,
         "UTF-16 text is damaged",
         nullptr},
        {"UTF-16 with a lone surrogate",
         Utf16(Card("4.0", "FN:x\r\n"), false) + std::string("\x00\xD8", 2),
         {},
         1,
         "UTF-16 text is damaged",
         nullptr},
        {"UTF-8 mark is skipped", "\xEF\xBB\xBF" + Card("4.0", "FN:x\r\n"), {}, 1, nullptr, nullptr},
        {"huge line", Card("4.0", "NOTE:" + std::string(200, 'x') + "\r\n"), small, 1, nullptr, "longer than 100"},
        {"huge folded line", Card("4.0", "NOTE:" + std::string(60, 'x') + "\r\n " + std::string(60, 'y') + "\r\n"),
         small, 1, nullptr, "longer than 100"},
        {"cards at the limit", Card("4.0", "") + Card("4.0", ""), small, 2, nullptr, nullptr},
        {"too many cards", three, small, 2, "more than 2 cards", nullptr},
        {"too many cards, the second cut by the third", Card("4.0", "") + "BEGIN:VCARD\r\nFN:a\r\n" + Card("4.0", ""),
         small, 2, "more than 2 cards", nullptr},
        {"properties at the limit", Card("4.0", "TITLE:a\r\nNOTE:n\r\n"), small, 1, nullptr, nullptr},
        {"too many properties", Card("4.0", "TITLE:a\r\nTITLE:b\r\nTITLE:c\r\nTITLE:d\r\n"), small, 1, nullptr,
         "more than 3 properties"},
        {"card cut by the next card", "BEGIN:VCARD\r\nFN:a\r\n" + Card("4.0", ""), {}, 2, nullptr, "new card begins"},
        {"three cards", three, {}, 3, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const vcard::ReadResult result = vcard::DecodeVCards(c.text, c.limits);
        EXPECT_EQ(result.cards.size(), c.cards);
        if (c.fileError) {
            EXPECT_TRUE(AnyContains(result.errors, c.fileError));
        } else {
            EXPECT_TRUE(result.errors.empty());
        }
        if (c.cardError && !result.cards.empty()) {
            EXPECT_TRUE(AnyContains(result.cards.front().errors, c.cardError));
        }
        if (!c.cardError && !result.cards.empty()) {
            EXPECT_TRUE(result.cards.front().ok());
        }
    }
}

TEST(VCardReadFile, TheLastPropertyWithinTheLimitIsKept) {
    // The default limit, exactly: VERSION, 4998 unknown lines and the note
    // make 5000 properties, all read; one more line and the card says so.
    std::string body;
    for (int i = 0; i < 4998; ++i) body += "X-A:1\r\n";
    const vcard::ImportedCard atLimit = ReadOne(Card("4.0", body + "NOTE:last\r\n"));
    EXPECT_TRUE(atLimit.ok());
    EXPECT_EQ(atLimit.record.GeneralInformation, "last");
    const vcard::ImportedCard over = ReadOne(Card("4.0", body + "X-A:1\r\nNOTE:last\r\n"));
    EXPECT_FALSE(over.ok());
    EXPECT_TRUE(AnyContains(over.errors, "more than 5000 properties"));
    // Reports past the first hundred of a kind are counted, not kept.
    EXPECT_EQ(atLimit.unmapped.size(), 100u);
    EXPECT_EQ(atLimit.issuesNotKept, 4898u);
}

TEST(VCardReadFile, CardsAreHandedOnOneAtATime) {
    std::string text;
    for (int i = 0; i < 5; ++i) text += Card("4.0", "FN:Card " + std::to_string(i) + "\r\n");
    std::vector<std::string> seen;
    const vcard::ReadSummary all = vcard::ReadVCards(text, [&](vcard::ImportedCard&& card) {
        seen.push_back(card.displayName);
        return true;
    });
    EXPECT_EQ(all.cards, 5u);
    EXPECT_EQ(seen, (std::vector<std::string>{"Card 0", "Card 1", "Card 2", "Card 3", "Card 4"}));
    EXPECT_TRUE(all.errors.empty());
    // The sink can stop the reading; nothing is reported for what was not read.
    std::size_t taken = 0;
    const vcard::ReadSummary two = vcard::ReadVCards(text, [&](vcard::ImportedCard&&) { return ++taken < 2; });
    EXPECT_EQ(two.cards, 2u);
    EXPECT_TRUE(two.errors.empty());
    // More cards than the collecting reader keeps are no limit here.
    vcard::ReadLimits small;
    small.maxCards = 2;
    EXPECT_EQ(vcard::ReadVCards(
                  text, [](vcard::ImportedCard&&) { return true; }, small)
                  .cards,
              5u);
}

TEST(VCardReadFile, HostileShapesStayLinear) {
    // A 2.1 photo whose parameters run to 300 KB and whose data follows on
    // 100000 short lines: each line must not make the reader look at the
    // parameters again.
    std::string text = "BEGIN:VCARD\r\nVERSION:2.1\r\nPHOTO;X-P=" + std::string(300000, 'p') + ";ENCODING=BASE64:\r\n";
    for (int i = 0; i < 100000; ++i) text += "AAAA\r\n";
    text += "\r\nEND:VCARD\r\n";
    const vcard::ImportedCard photo = ReadOne(text);
    EXPECT_TRUE(photo.ok());
    EXPECT_TRUE(AnyContains(photo.warnings, "no picture this reader knows"));

    // A name of 200000 different characters that Windows-1252 cannot hold:
    // all become '?', and the report names a few of them.
    std::string name;
    for (char32_t c = 0x4E00; c < 0x4E00 + 200000; ++c) {
        const char32_t cp = 0x4E00 + (c - 0x4E00) % 0x5000;
        name += static_cast<char>(0xE0 | (cp >> 12));
        name += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        name += static_cast<char>(0x80 | (cp & 0x3F));
    }
    const vcard::ImportedCard wide = ReadOne(Card("4.0", "TITLE:" + name + "\r\n"));
    EXPECT_EQ(wide.record.JobTitle, std::string(200000, '?'));
    EXPECT_TRUE(
        AnyContains(wide.warnings, "U+4E07) and others cannot be stored in a card (Windows-1252); 200000 characters"));
}

// The bytes the line reader looks at for a whole text, read as the file
// reader reads it (logical lines, in 2.1 or later).
std::size_t LineWork(const std::string& text, bool v21) {
    vcard::LineCursor cursor(text);
    vcard::LogicalLine line;
    while (vcard::NextLogical(cursor, line, v21, 1u << 20)) {
    }
    return cursor.examined();
}

TEST(VCardReadFile, LineWorkGrowsLinearlyWithTheText) {
    // Each shape at n and at 4n units: the work must grow four times, not
    // sixteen. Bare CRs once took a rescan of the whole run for every CR.
    struct Shape {
        const char* name;
        std::string (*make)(std::size_t n);
    };
    const Shape shapes[] = {
        {"bare CRs", [](std::size_t n) { return "FN:a\r" + std::string(n, '\r') + "END:VCARD\r\n"; }},
        {"runs of CRs before an LF",
         [](std::size_t n) {
             std::string t;
             for (std::size_t i = 0; i < n; ++i) t += "\r\r\r\r\n";
             return t;
         }},
        {"a CR after each character",
         [](std::size_t n) {
             std::string t;
             for (std::size_t i = 0; i < n; ++i) t += "x\r";
             return t;
         }},
        {"one long line", [](std::size_t n) { return "NOTE:" + std::string(8 * n, 'x') + "\r\n"; }},
        {"folded lines",
         [](std::size_t n) {
             std::string t = "NOTE:a";
             for (std::size_t i = 0; i < n; ++i) t += "\r\n bc";
             return t;
         }},
        {"quoted-printable soft breaks",
         [](std::size_t n) {
             std::string t = "NOTE;ENCODING=QUOTED-PRINTABLE:a";
             for (std::size_t i = 0; i < n; ++i) t += "=\r\n=41";
             return t;
         }},
    };
    constexpr std::size_t kUnits = 25000;
    for (const auto& shape : shapes) {
        for (const bool v21 : {true, false}) {
            SCOPED_TRACE(std::string(shape.name) + (v21 ? " (2.1)" : ""));
            const std::string small = shape.make(kUnits);
            const std::string large = shape.make(4 * kUnits);
            const std::size_t smallWork = LineWork(small, v21);
            const std::size_t largeWork = LineWork(large, v21);
            EXPECT_LE(largeWork, 3 * large.size());
            EXPECT_LE(largeWork, 5 * smallWork);
        }
    }
    // Bare CRs still end one line each.
    vcard::LineCursor cursor("a\r\r\rb\r\r\nc");
    std::vector<std::string> lines;
    for (std::string_view line; cursor.Next(line);) lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "", "b", "c"}));
}

TEST(VCardReadFile, EveryPrefixOfAVCardEndsCleanly) {
    const std::string text = vcard::EncodeVCard(AtLimitCard(), {vcard::Version::V3_0});
    for (std::size_t n = 0; n <= text.size(); n += (n < 600 ? 1 : 97)) {
        const vcard::ReadResult result = vcard::DecodeVCards(std::string_view(text).substr(0, n));
        ASSERT_LE(result.cards.size(), 1u);
        if (n < text.size() - 2 && !result.cards.empty()) {
            EXPECT_FALSE(result.cards.front().ok()) << n;
        }
    }
}

}  // namespace
}  // namespace ovlet::exchange
