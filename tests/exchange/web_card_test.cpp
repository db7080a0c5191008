// The web card read by independent parsers (html5lib and mf2py, through
// tests/exchange/web_card_check.py): valid HTML, an h-card with the card's
// values, nothing loaded from elsewhere, hostile values escaped.
#include "exchange/web_card.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/vcard.h"
#include "exchange/vcard_text.h"
#include "vcard_test_support.h"

namespace {

Values Check(const std::string& html) {
    TempFolder dir;
    WriteBytes(dir / "card.html", Bytes(html.begin(), html.end()));
    return RunChecker("web_card_check.py", dir / "card.html");
}

std::vector<std::string> All(const Values& values, const std::string& key) {
    std::vector<std::string> out;
    for (const auto& [k, v] : values) {
        if (k == key) out.push_back(v);
    }
    return out;
}

std::string One(const Values& values, const std::string& key) {
    const auto all = All(values, key);
    return all.size() == 1 ? all.front() : "(" + std::to_string(all.size()) + " values)";
}

// What every web card must be, whatever the card holds.
void ExpectSafePage(const Values& got) {
    EXPECT_EQ(All(got, "error"), std::vector<std::string>{}) << "valid HTML5";
    EXPECT_EQ(One(got, "mf.cards"), "1");
    for (const std::string& element : All(got, "element")) {
        for (const char* banned : {"script", "iframe", "object", "embed", "link", "base", "form"}) {
            EXPECT_NE(element, banned);
        }
    }
    for (const std::string& load : All(got, "load")) EXPECT_EQ(load.rfind("data:image/", 0), 0u) << load;
    for (const std::string& link : All(got, "link")) {
        const bool allowed = link.rfind("data:text/vcard;", 0) == 0 || link.rfind("mailto:", 0) == 0 ||
                             link.rfind("tel:", 0) == 0 || link.rfind("https://", 0) == 0 ||
                             link.rfind("http://", 0) == 0;
        EXPECT_TRUE(allowed) << link;
    }
    const std::string csp = One(got, "csp");
    EXPECT_EQ(csp.rfind("default-src 'none';", 0), 0u) << csp;
    // The style sheet is allowed by its hash, and the hash is of this style sheet.
    EXPECT_NE(csp.find("style-src '" + One(got, "style") + "'"), std::string::npos) << csp;
    EXPECT_EQ(csp.find("unsafe"), std::string::npos);
}

TEST(WebCard, SampleCardAsHCard) {
    const CardRecord card = SampleCard();
    const Values got = Check(webcard::EncodeWebCard(card));
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
    for (const auto& [key, value] : expected) EXPECT_EQ(One(got, key), value) << key;
    EXPECT_EQ(All(got, "mf.tel"),
              (std::vector<std::string>{"+44 23 9200 0100", "+44 7700 900123", "+44 23 9200 0199"}));
    EXPECT_EQ(One(got, "mf.photo").rfind("data:image/jpeg;base64,/9j/", 0), 0u);
    // "Add to contacts" carries exactly the vCard of an export.
    const std::string vcf = vcard::EncodeVCard(card);
    const std::string expectedLink =
        "data:text/vcard;charset=utf-8;base64," +
        vcard::text::Base64Encode(reinterpret_cast<const std::uint8_t*>(vcf.data()), vcf.size());
    const auto links = All(got, "link");
    EXPECT_NE(std::find(links.begin(), links.end(), expectedLink), links.end());
    EXPECT_NE(std::find(links.begin(), links.end(), "tel:+442392000100"), links.end());
}

TEST(WebCard, HostileValuesAreTextNotMarkup) {
    struct Case {
        const char* name;
        std::string CardRecord::*member;
        std::string value;
        const char* property;  // the h-card property that shows it, as typed
    };
    const Case cases[] = {
        {"script in a name", &CardRecord::FirstName, "<script>alert(1)</script>", "mf.given-name"},
        {"markup in the company", &CardRecord::Company, "A & B <b>\"Co\"</b> 'x'", "mf.org"},
        {"attribute break in a title", &CardRecord::JobTitle, "\"><img src=x onerror=alert(1)>", "mf.job-title"},
        {"comment and CDATA in a note", &CardRecord::GeneralInformation, "<!-- x --><![CDATA[y]]>&amp;", "mf.note"},
        {"a script address is no link", &CardRecord::WebSite, "javascript:alert(1)", nullptr},
        {"a data address is no link", &CardRecord::WebSite, "data:text/html,<b>x</b>", nullptr},
        {"two recipients are no mail link", &CardRecord::EMail, "a@b.example,evil@x.example", nullptr},
        {"a header in an address is no mail link", &CardRecord::EMail, "a@b.example?bcc=evil@x.example", nullptr},
        {"a number without digits", &CardRecord::Phone1Number, "call me", "mf.tel"},
        {"control characters", &CardRecord::City, std::string("a\x01\x1B[31mb\x7F\x81", 10), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CardRecord card;
        card.LastName = "Lee";
        card.*c.member = c.value;
        const Values got = Check(webcard::EncodeWebCard(card));
        ExpectSafePage(got);
        if (c.property) {
            EXPECT_EQ(One(got, c.property), c.value);
        }
        for (const char* key : {"mf.url", "mf.email"}) EXPECT_EQ(All(got, key).size(), 0u) << key;
    }
}

}  // namespace
