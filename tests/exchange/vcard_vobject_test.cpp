// Every export read back by an independent parser, python3-vobject
// (tests/exchange/vobject_read.py): what an address book gets from our vCards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card/codepage.h"
#include "exchange/vcard.h"
#include "exchange/vcard_text.h"
#include "vcard_test_support.h"
#include "tests/support/run_tool.h"

namespace ovlet::exchange {
namespace {

// The keys and UTF-8 values python3-vobject reads from a vCard file.
Values ReadWithVobject(const std::filesystem::path& file) {
    return RunChecker("vobject_read.py", file);
}

// The card's text as an address book should show it: UTF-8, line breaks as LF.
std::string Shown(const std::string& ansi) {
    std::string utf8 = card::Utf8FromAnsi(ansi);
    for (std::size_t pos; (pos = utf8.find("\r\n")) != std::string::npos;) utf8.replace(pos, 2, "\n");
    return utf8;
}

Values Expected(const card::CardRecord& r) {
    Values v;
    std::string fn;
    for (const std::string* part : {&r.FirstName, &r.MiddleName, &r.LastName}) {
        if (!part->empty()) fn += (fn.empty() ? "" : " ") + *part;
    }
    v.emplace_back("FN", Shown(fn.empty() ? r.Company : fn));
    v.emplace_back("N.family", Shown(r.LastName));
    v.emplace_back("N.given", Shown(r.FirstName));
    v.emplace_back("N.additional", Shown(r.MiddleName));
    if (!r.Company.empty() || !r.Department.empty()) {
        v.emplace_back("ORG.0", Shown(r.Company));
        if (!r.Department.empty()) v.emplace_back("ORG.1", Shown(r.Department));
    }
    if (!r.JobTitle.empty()) v.emplace_back("TITLE", Shown(r.JobTitle));
    if (!(r.StreetAddress + r.City + r.StateProvince + r.PostalCode + r.Country).empty()) {
        v.emplace_back("ADR.street", Shown(r.StreetAddress));
        v.emplace_back("ADR.city", Shown(r.City));
        v.emplace_back("ADR.region", Shown(r.StateProvince));
        v.emplace_back("ADR.code", Shown(r.PostalCode));
        v.emplace_back("ADR.country", Shown(r.Country));
    }
    return v;
}

// A value of the listed key, or "(none)".
std::string Find(const Values& values, const std::string& key) {
    for (const auto& [k, value] : values) {
        if (k == key) return value;
    }
    return "(none)";
}

TEST(VCardReadByVobject, EveryExportReadsBackWhole) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    card::CardRecord hostile;
    hostile.FirstName = "Ann";
    hostile.LastName = "O'Neil; Jr.";
    hostile.Company = "Acme; Widgets, Inc.";
    hostile.Department = "R&D \\ Labs";
    hostile.JobTitle = "Chief; Tinkerer, \\o/";
    hostile.GeneralInformation = "Line one; with, marks \\ here\r\nLine \x80 two";
    hostile.WebSite = "https://example.com/a,b;c?x=1,2";
    hostile.Phone1Description = "Handy";
    hostile.Phone1Number = "tel:+1-555-0100";
    hostile.Phone2Description = "B\xFCro";
    hostile.Phone2Number = "+49 30 123";
    hostile.EMail = "ann@example.com";
    const std::pair<const char*, card::CardRecord> cards[] = {
        {"sample", SampleCard()},
        {"every field at its limit", AtLimitCard()},
        {"marks every parser trips on", hostile},
    };
    test_support::TempFolder dir;
    for (const auto& [name, card] : cards) {
        for (const auto version : {vcard::Version::V3_0, vcard::Version::V4_0}) {
            SCOPED_TRACE(std::string(name) + (version == vcard::Version::V3_0 ? " 3.0" : " 4.0"));
            vcard::WriteOptions options;
            options.version = version;
            const std::string text = vcard::EncodeVCard(card, options);
            test_support::WriteFileBytes(dir / "card.vcf", test_support::Bytes(text.begin(), text.end()));
            const Values got = ReadWithVobject(dir / "card.vcf");
            for (const auto& [key, value] : Expected(card)) {
                EXPECT_EQ(Find(got, key), value) << key;
            }
            // URLs come whole: percent-encoding marks the same address.
            if (!card.WebSite.empty()) {
                EXPECT_EQ(Find(got, "URL"), vcard::EscapeUri(card::Utf8FromAnsi(card.WebSite)));
            }
            if (!card.GeneralInformation.empty()) {
                EXPECT_EQ(Find(got, "NOTE"), Shown(card.GeneralInformation));
            }
            if (!card.EMail.empty()) {
                EXPECT_EQ(Find(got, "EMAIL"), Shown(card.EMail));
            }
            EXPECT_EQ(Find(got, "UID"), vcard::CardUid(card));
            if (card.HasPicture() && version == vcard::Version::V3_0) {
                EXPECT_EQ(Find(got, "PHOTO"), std::string(card.PictureBytes.begin(), card.PictureBytes.end()));
            }
            // Phones, in order, with their numbers whole.
            std::vector<std::string> numbers;
            for (const auto& [key, value] : got) {
                if (key.rfind("TEL.", 0) == 0) numbers.push_back(value);
            }
            std::vector<std::string> expected;
            for (const std::string* number : {&card.Phone1Number, &card.Phone2Number, &card.Fax}) {
                std::string shown = Shown(*number);
                if (shown.rfind("tel:", 0) == 0) shown = shown.substr(4);
                if (!shown.empty()) expected.push_back(shown);
            }
            EXPECT_EQ(numbers, expected);
        }
    }
}

TEST(VCardReadByVobject, PhoneWordsBecomeTypes) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    const std::pair<const char*, const char*> cases[] = {
        {"Handy", "TEL.cell"},  {"B\xFCro", "TEL.work"}, {"Privat", "TEL.home"},   {"Portable", "TEL.cell"},
        {"Bureau", "TEL.work"}, {"Fax", "TEL.fax"},      {"M\xF3vil", "TEL.cell"}, {"Trabajo", "TEL.work"},
    };
    test_support::TempFolder dir;
    for (const auto& [word, key] : cases) {
        SCOPED_TRACE(word);
        card::CardRecord r;
        r.Phone1Description = word;
        r.Phone1Number = "1";
        const std::string text = vcard::EncodeVCard(r, {vcard::Version::V3_0});
        test_support::WriteFileBytes(dir / "card.vcf", test_support::Bytes(text.begin(), text.end()));
        EXPECT_EQ(Find(ReadWithVobject(dir / "card.vcf"), key), "1");
    }
}

}  // namespace
}  // namespace ovlet::exchange
