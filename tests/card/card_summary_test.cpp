#include "card/card_summary.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "tests/support/run_tool.h"
#include "tests/support/test_files.h"

namespace ovlet::card {
namespace {

struct SummaryCase {
    const char* name;
    void (*fill)(CardRecord&);
    const char* displayString;
    std::string expected;
};

const SummaryCase kSummaryCases[] = {
    {"full address",
     [](CardRecord& r) {
         r.StreetAddress = "S";
         r.City = "C";
         r.StateProvince = "T";
         r.Country = "K";
         r.PostalCode = "P";
     },
     "AddressBlock", "S\nC, T K P"},
    {"address without city",
     [](CardRecord& r) {
         r.StreetAddress = "S";
         r.StateProvince = "T";
         r.Country = "K";
         r.PostalCode = "P";
     },
     "AddressBlock", "S\nT K P"},
    {"empty address", [](CardRecord&) {}, "AddressBlock", "\n  "},
    {"street keeps its CR LF",
     [](CardRecord& r) {
         r.StreetAddress = "a\r\nb";
         r.City = "C";
     },
     "AddressBlock", "a\r\nb\nC,   "},
    {"name without middle",
     [](CardRecord& r) {
         r.FirstName = "Ann";
         r.LastName = "Lee";
     },
     "NameLine", "Ann  Lee"},
    {"empty name", [](CardRecord&) {}, "NameLine", "  "},
    {"empty e-mail", [](CardRecord&) {}, "EMailLine", "E-Mail: "},
    {"e-mail", [](CardRecord& r) { r.EMail = "a@b.c"; }, "EMailLine", "E-Mail: a@b.c"},
    {"job and department",
     [](CardRecord& r) {
         r.JobTitle = "J";
         r.Department = "D";
     },
     "TitleLine", "J, D"},
    {"job alone", [](CardRecord& r) { r.JobTitle = "J"; }, "TitleLine", "J"},
    {"department alone", [](CardRecord& r) { r.Department = "D"; }, "TitleLine", "D"},
    {"phone without description", [](CardRecord& r) { r.Phone1Number = "123"; }, "Phone1Line", ": 123"},
    {"description without phone leaves the line",
     [](CardRecord& r) {
         r.Phone2Description = "Cell";
         r.Phone2Line = "old";
     },
     "Phone2Line", "old"},
    {"phone 2",
     [](CardRecord& r) {
         r.Phone2Description = "Cell";
         r.Phone2Number = "9";
     },
     "Phone2Line", "Cell: 9"},
    {"fax", [](CardRecord& r) { r.Fax = "55"; }, "FaxLine", "Fax: 55"},
    {"empty fax leaves the line", [](CardRecord& r) { r.FaxLine = "old"; }, "FaxLine", "old"},
    {"web site as typed", [](CardRecord& r) { r.WebSite = "www.example.com"; }, "WebSiteLine", "www.example.com"},
    {"company", [](CardRecord& r) { r.Company = "Acme"; }, "CompanyLine", "Acme"},
};

TEST(CardSummary, ComposesEachDisplayString) {
    for (const auto& c : kSummaryCases) {
        SCOPED_TRACE(c.name);
        CardRecord record;
        c.fill(record);
        ComposeSummary(record);
        EXPECT_EQ(record.*FindCardString(c.displayString)->member, c.expected);
    }
}

// Other programs get names and places without the empty fields' separators.
TEST(CardSummary, JoinsOnlyTheFieldsThatAreFilled) {
    const std::string a = "Ann", b = "Lee", none;
    EXPECT_EQ(JoinNonEmpty({&a, &none, &b}, " "), "Ann Lee");
    EXPECT_EQ(JoinNonEmpty({&a, &none, &b}, ", "), "Ann, Lee");
    EXPECT_EQ(JoinNonEmpty({&none, &a, &none}, " "), "Ann");
    EXPECT_EQ(JoinNonEmpty({&none, &none}, " "), "");
    EXPECT_EQ(JoinNonEmpty({&a, &b, &a}, "\n"), "Ann\nLee\nAnn");
}

bool IsWebSiteRefusal(CardNoteId id) {
    return id == CardNoteId::NoWebSite || id == CardNoteId::WebSiteHasSpaces || id == CardNoteId::WebSiteIsLocal ||
           id == CardNoteId::WebSiteScheme || id == CardNoteId::WebSiteNoHost;
}

struct LinkCase {
    const char* typed;
    bool allowed;
    const char* address;  // when allowed
};

TEST(CardLinks, WebSiteReachesTheBrowserOnlyAsAWebAddress) {
    const LinkCase cases[] = {
        {"www.example.com", true, "http://www.example.com"},
        {"  example.com/path?q=1  ", true, "http://example.com/path?q=1"},
        {"example.com:8080/x", true, "http://example.com:8080/x"},
        {"http://example.com", true, "http://example.com"},
        {"HTTPS://Example.com/", true, "HTTPS://Example.com/"},
        {"caf\xE9.example", true, "http://caf\xC3\xA9.example"},
        {"file:///etc/passwd", false, nullptr},
        {"FILE:/etc/passwd", false, nullptr},
        {"file://server/share/x", false, nullptr},
        {"example.com/a\x7F"
         "b",
         false, nullptr},
        {"/usr/bin/xterm", false, nullptr},
        {"~/secret", false, nullptr},
        {"..\\evil.exe", false, nullptr},
        {"javascript:alert(1)", false, nullptr},
        {"smb://host/share", false, nullptr},
        {"C:\\Windows\\notepad.exe", false, nullptr},
        {"http:///etc/passwd", false, nullptr},
        {"http://", false, nullptr},
        {"example.com --flag", false, nullptr},
        {"", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const LinkHandOver h = WebSiteHandOver(c.typed);
        EXPECT_EQ(h.allowed, c.allowed);
        if (c.allowed) {
            EXPECT_EQ(h.address, c.address);
        } else {
            // The reason is one of the web site's refusals, in words.
            EXPECT_TRUE(IsWebSiteRefusal(h.refusal.id)) << CardNoteText(h.refusal);
            EXPECT_EQ(CardNoteText(h.refusal).find("%1"), std::string::npos);
        }
    }
}

#ifndef _WIN32
// POSIX only: a locale made with localedef.
// The programs run in the user's locale. One whose character set is Latin-1
// takes the bytes of UTF-8 characters for letters; the e-mail address must
// still be encoded whole.
TEST(CardLinks, Posix_EMailAddressIsTheSameInALatin1Locale) {
    test_support::TempFolder locales;
    const std::string name = "de_DE.ISO-8859-1";
    const auto made = test_support::RunShell("localedef -i de_DE -f ISO-8859-1 '" + (locales / name).string() + "'");
    ASSERT_EQ(made.code, 0) << "localedef (Debian package locales) could not make " << name << ": " << made.err;
    ::setenv("LOCPATH", locales.Path().c_str(), 1);
    ASSERT_NE(std::setlocale(LC_CTYPE, name.c_str()), nullptr);
    const LinkHandOver mail = EMailHandOver("jos\xE9@caf\xE9.example");
    std::setlocale(LC_CTYPE, "C");
    ::unsetenv("LOCPATH");
    EXPECT_EQ(mail.address, "mailto:jos%C3%A9@caf%C3%A9.example");
}
#endif

TEST(CardLinks, EMailIsOneEncodedRecipient) {
    struct Case {
        const char* typed;
        const char* address;  // null: refused, nothing is handed over
    };
    const Case cases[] = {
        {"", "mailto:"},
        {"ann@example.com", "mailto:ann@example.com"},
        {"  ann@example.com\r\n", "mailto:ann@example.com"},
        {"ann+cards@example.com", "mailto:ann+cards@example.com"},
        {"%41@x.y", "mailto:%2541@x.y"},
        {"a@b.c?subject=hi", "mailto:a@b.c%3Fsubject%3Dhi"},
        {"j\xF6rg@x.y", "mailto:j%C3%B6rg@x.y"},
        {"a@b.c,evil@x.y", nullptr},
        {"a@b.c;evil@x.y", nullptr},
        {"a@b.c evil@x.y", nullptr},
        {"a b@c.d", nullptr},
        {"a@b.c\r\nBcc: evil@x.y", nullptr},
        {"a@b.c\nx", nullptr},
        {"a@b.c\tx", nullptr},
        {"a@b.c?cc=evil@x.y&body=hi", nullptr},
        {"a@b.c<evil@x.y>", nullptr},
        {"a,b@c.d", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const LinkHandOver h = EMailHandOver(c.typed);
        EXPECT_EQ(h.allowed, c.address != nullptr);
        if (c.address) {
            EXPECT_EQ(h.address, c.address);
        } else {
            EXPECT_EQ(h.refusal.id, CardNoteId::EMailNotSingle);
            EXPECT_EQ(CardNoteText(h.refusal),
                      "The e-mail address on this card is not a single address, so it is not opened.");
        }
    }
}

}  // namespace
}  // namespace ovlet::card
