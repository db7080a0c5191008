// The web card read by independent parsers (html5lib and mf2py, through
// tests/exchange/web_card_check.py): valid HTML, an h-card with the card's
// values, nothing loaded from elsewhere, hostile values escaped.
#include "exchange/web_card.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <map>

#include "card/card_summary.h"
#include "card/codepage.h"
#include "exchange/vcard.h"
#include "exchange/vcard_text.h"
#include "peer_readers.h"
#include "vcard_test_support.h"
#include "tests/support/run_tool.h"

namespace ovlet::exchange {
namespace {

Values Check(const std::string& html) {
    test_support::TempFolder dir;
    test_support::WriteFileBytes(dir / "card.html", test_support::Bytes(html.begin(), html.end()));
    return RunChecker("web_card_check.py", dir / "card.html");
}

// What every web card must be, whatever the card holds.
void ExpectSafePage(const Values& got) {
    EXPECT_EQ(peers::All(got, "error"), std::vector<std::string>{}) << "valid HTML5";
    EXPECT_EQ(peers::One(got, "mf.cards"), "1");
    for (const std::string& element : peers::All(got, "element")) {
        for (const char* banned : {"script", "iframe", "object", "embed", "link", "base", "form"}) {
            EXPECT_NE(element, banned);
        }
    }
    for (const std::string& load : peers::All(got, "load")) EXPECT_EQ(load.rfind("data:image/", 0), 0u) << load;
    for (const std::string& link : peers::All(got, "link")) {
        const bool allowed = link.rfind("data:text/vcard;", 0) == 0 || link.rfind("mailto:", 0) == 0 ||
                             link.rfind("tel:", 0) == 0 || link.rfind("https://", 0) == 0 ||
                             link.rfind("http://", 0) == 0;
        EXPECT_TRUE(allowed) << link;
    }
    const std::string csp = peers::One(got, "csp");
    EXPECT_EQ(csp.rfind("default-src 'none';", 0), 0u) << csp;
    // The style sheet is allowed by its hash, and the hash is of this style sheet.
    EXPECT_NE(csp.find("style-src '" + peers::One(got, "style") + "'"), std::string::npos) << csp;
    EXPECT_EQ(csp.find("unsafe"), std::string::npos);
}

TEST(WebCard, SampleCardAsHCard) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    const card::CardRecord card = SampleCard();
    const Values got = Check(EncodeWebCard(card));
    ExpectSafePage(got);
    const std::pair<const char*, const char*> expected[] = {
        {"mf.name",
         "Ren\xC3\xA9"
         "e A. Okafor"},
        {"mf.given-name",
         "Ren\xC3\xA9"
         "e"},
        {"mf.family-name", "Okafor"},
        {"mf.org", "Harbour Light Instruments"},
        {"mf.job-title", "Lead Engineer"},
        {"mf.adr.locality", "Portsmouth"},
        {"mf.adr.postal-code", "PO1 3AX"},
        {"mf.email", "mailto:renee.okafor@harbourlight.example"},
        {"mf.url", "https://harbourlight.example"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(peers::One(got, key), value) << key;
    EXPECT_EQ(peers::All(got, "mf.tel"),
              (std::vector<std::string>{"+44 23 9200 0100", "+44 7700 900123", "+44 23 9200 0199"}));
    EXPECT_EQ(peers::One(got, "mf.photo").rfind("data:image/jpeg;base64,/9j/", 0), 0u);
    // "Add to contacts" carries exactly the vCard of an export.
    const std::string vcf = vcard::EncodeVCard(card);
    const std::string expectedLink = "data:text/vcard;charset=utf-8;base64," +
                                     vcard::Base64Encode(reinterpret_cast<const std::uint8_t*>(vcf.data()), vcf.size());
    const auto links = peers::All(got, "link");
    EXPECT_NE(std::find(links.begin(), links.end(), expectedLink), links.end());
    EXPECT_NE(std::find(links.begin(), links.end(), "tel:+442392000100"), links.end());
}

TEST(WebCard, HostileValuesAreTextNotMarkup) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    struct Case {
        const char* name;
        std::string card::CardRecord::*member;
        std::string value;
        const char* property;  // the h-card property that shows it, as typed
    };
    const Case cases[] = {
        {"script in a name", &card::CardRecord::FirstName, "<script>alert(1)</script>", "mf.given-name"},
        {"markup in the company", &card::CardRecord::Company, "A & B <b>\"Co\"</b> 'x'", "mf.org"},
        {"attribute break in a title", &card::CardRecord::JobTitle, "\"><img src=x onerror=alert(1)>", "mf.job-title"},
        {"comment and CDATA in a note", &card::CardRecord::GeneralInformation, "<!-- x --><![CDATA[y]]>&amp;",
         "mf.note"},
        {"a script address is no link", &card::CardRecord::WebSite, "javascript:alert(1)", nullptr},
        {"a data address is no link", &card::CardRecord::WebSite, "data:text/html,<b>x</b>", nullptr},
        {"two recipients are no mail link", &card::CardRecord::EMail, "a@b.example,evil@x.example", nullptr},
        {"a header in an address is no mail link", &card::CardRecord::EMail, "a@b.example?bcc=evil@x.example", nullptr},
        {"a number without digits", &card::CardRecord::Phone1Number, "call me", "mf.tel"},
        {"control characters", &card::CardRecord::City, std::string("a\x01\x1B[31mb\x7F\x81", 10), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        card::CardRecord card;
        card.LastName = "Lee";
        card.*c.member = c.value;
        const Values got = Check(EncodeWebCard(card));
        ExpectSafePage(got);
        if (c.property) {
            EXPECT_EQ(peers::One(got, c.property), c.value);
        }
        for (const char* key : {"mf.url", "mf.email"}) EXPECT_EQ(peers::All(got, key).size(), 0u) << key;
    }
}

// How many times each attribute of each element occurs on a page.
std::map<std::string, int> AttributeCounts(const Values& got) {
    std::map<std::string, int> counts;
    for (const auto& [key, value] : got) {
        if (key.rfind("attr.", 0) == 0) ++counts[key];
    }
    return counts;
}

TEST(WebCard, HostileValuesAddNoAttributeAndKeepTheirTextInEveryAttribute) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    // The same card twice: plain values, and values that try to leave the
    // attribute they are put in. The second page must have exactly the
    // attributes of the first, each holding the card's text unchanged.
    card::CardRecord plain = SampleCard();
    card::CardRecord hostile = plain;
    hostile.FirstName = "A\"><i onclick=\"x\">";
    hostile.MiddleName = "'&amp;";
    hostile.LastName = "O'Neil <b title=x>";
    hostile.WebSite = "https://x.example/?a=\"b\"&c=<d>'e'";
    hostile.EMail = "o'neil@x.example";
    hostile.Phone1Number = "+1 \"555\" <0100>";
    const Values plainPage = Check(EncodeWebCard(plain));
    const Values got = Check(EncodeWebCard(hostile));
    ExpectSafePage(got);
    EXPECT_EQ(AttributeCounts(got), AttributeCounts(plainPage));
    const std::string name = card::Utf8FromAnsi(card::CardName(hostile));
    EXPECT_EQ(peers::One(got, "attr.img.alt"), "Picture of " + name);
    EXPECT_EQ(peers::One(got, "svg-title"), "QR code with the contact " + name);
    const auto links = peers::All(got, "link");
    for (const std::string& wanted : {card::WebSiteHandOver(hostile.WebSite).address,
                                      card::EMailHandOver(hostile.EMail).address, std::string("tel:+15550100")}) {
        EXPECT_NE(std::find(links.begin(), links.end(), wanted), links.end()) << wanted;
    }
    const std::string download = peers::One(got, "attr.a.download");
    EXPECT_EQ(download.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-."),
              std::string::npos)
        << download;
    EXPECT_EQ(download.substr(download.size() - 4), ".vcf");
}

TEST(WebCard, AddressLinesStayApartForMicroformatsParsers) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    // Parsers that take an element's plain text (microformats-parser, mf2py)
    // see a line break where the page shows one, not "Works12".
    card::CardRecord threeLines = SampleCard();
    threeLines.StreetAddress = "Floor 2\r\nUnit 4, Quayside Works\r\n12 Ropewalk Lane";
    const std::pair<const char*, card::CardRecord> cards[] = {{"sample", SampleCard()}, {"three lines", threeLines}};
    test_support::TempFolder dir;
    std::vector<std::filesystem::path> files;
    for (const auto& [name, card] : cards) {
        files.push_back(dir / (std::string(name) + ".html"));
        const std::string page = EncodeWebCard(card);
        test_support::WriteFileBytes(files.back(), test_support::Bytes(page.begin(), page.end()));
    }
    const auto parsed = peers::MicroformatsRead(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const card::CardRecord& card = cards[i].second;
        SCOPED_TRACE(cards[i].first);
        std::string street = card.StreetAddress;
        for (std::size_t pos; (pos = street.find("\r\n")) != std::string::npos;) street.replace(pos, 2, "\n");
        EXPECT_EQ(peers::One(parsed[i], "mf.adr.street-address"), street);
        EXPECT_EQ(peers::One(parsed[i], "mf.adr.value"), street + "\nPortsmouth, Hampshire United Kingdom PO1 3AX");
        EXPECT_EQ(peers::One(RunChecker("web_card_check.py", files[i]), "mf.adr.street-address"), street);
    }
}

TEST(WebCard, APictureInAnyFormatShowsAsJpegOrPng) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    const std::pair<const char*, const char*> cases[] = {
        {"bmp/g/pal8nonsquare.bmp", "image/png"},
        {"tga/generated/im_rgba32_rle_tl.tga", "image/png"},
        {"pict/twelvemonkeys/mire32.pict", "image/png"},
        {"png/basn2c08.png", "image/png"},
    };
    test_support::TempFolder dir;
    std::vector<std::filesystem::path> files;
    std::vector<card::CardRecord> cards;
    for (const auto& [file, type] : cases) {
        card::CardRecord card;
        card.Company = "Acme";
        card.SetPicture(CorpusPicture(file));
        std::string warning = "not set";
        const std::string page = EncodeWebCard(card, &warning);
        EXPECT_EQ(warning, "") << file;
        files.push_back(dir / (std::to_string(files.size()) + ".html"));
        test_support::WriteFileBytes(files.back(), test_support::Bytes(page.begin(), page.end()));
        cards.push_back(card);
    }
    const auto parsed = peers::MicroformatsRead(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(cases[i].first);
        const std::string photo = peers::One(parsed[i], "mf.photo");
        const std::string head = "data:" + std::string(cases[i].second) + ";base64,";
        ASSERT_EQ(photo.rfind(head, 0), 0u) << photo.substr(0, 40);
        // The same picture as the vCard's photo, whose pixels the vCard tests check.
        std::string vcf = vcard::EncodeVCard(cards[i]);
        for (std::size_t pos; (pos = vcf.find("\r\n ")) != std::string::npos;) vcf.erase(pos, 3);
        EXPECT_NE(vcf.find("\r\nPHOTO:" + photo + "\r\n"), std::string::npos);
    }
    // A picture that does not decode is left out, and the caller is told.
    card::CardRecord damaged;
    damaged.Company = "Acme";
    test_support::Bytes cut = CorpusPicture("bmp/g/pal8nonsquare.bmp");
    cut.resize(100);
    damaged.SetPicture(cut);
    std::string warning;
    const Values got = Check(EncodeWebCard(damaged, &warning));
    EXPECT_EQ(peers::All(got, "mf.photo").size(), 0u);
    EXPECT_EQ(warning.rfind("the picture does not decode (", 0), 0u) << warning;
}

}  // namespace
}  // namespace ovlet::exchange
