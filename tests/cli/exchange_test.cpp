// ovlet export, import, qr and make --csv as a script sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../card/card_test_support.h"
#include "card/card_file.h"
#include "card/codepage.h"
#include "exchange/qr_code.h"
#include "tests/support/ovlet_tool.h"

namespace ovlet::cli {
namespace qr = exchange::qr;

namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(OVLET_TESTS_DIR) + "/data/vcard/";

std::string Slurp(const fs::path& path) {
    const test_support::Bytes bytes = test_support::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const fs::path& path, const std::string& text) {
    test_support::WriteFileBytes(path, test_support::Bytes(text.begin(), text.end()));
}

// A card with every single-line field at its typing limit.
std::string WriteAtLimitCard(const test_support::TempFolder& dir) {
    card::CardRecord r;
    for (const auto& f : card::kCardFields) {
        std::string v;
        while (f.limit && v.size() < static_cast<std::size_t>(f.limit)) v += "Zo\xEB;,\\\x80"[v.size() % 7];
        r.*f.member = f.limit ? v : "Line one, two;\r\nLine \xA3 three";
    }
    r.Phone1Description = "Office";
    r.SetPicture(test_support::ReadFileBytes(test_support::kPicture));
    card::RecordOnlySide side(r);
    const std::string path = (dir / "limit.ovt").string();
    EXPECT_TRUE(card::WriteCardFile(path, r, side));
    return path;
}

// A file name in UTF-8 as a path (from a std::string it would go through a
// code page on Windows).
fs::path Utf8Name(const std::string& name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(OvletExchange, ExitCodes) {
    test_support::TempFolder dir;
    const std::string d = dir.Path().string();
    test_support::WriteCutCopy(test_support::kSample, dir / "cut.ovt", 60);
    WriteText(dir / "none.vcf", "no card here\r\n");
    WriteText(dir / "bad.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:X\r\nTITLE:cut off\r\n");
    WriteText(dir / "good.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Lee\r\nEND:VCARD\r\n");
    // A UTF-16 file whose last character is cut: the card is read, the file is damaged.
    test_support::Bytes utf16 = test_support::ReadFileBytes(kFixtures + "utf-16le-bom.vcf");
    utf16.push_back('x');
    test_support::WriteFileBytes(dir / "odd.vcf", utf16);
    card::CardRecord huge;
    huge.Company = std::string(2000, 'x');
    card::RecordOnlySide side(huge);
    EXPECT_TRUE(card::WriteCardFile(d + "/huge.ovt", huge, side));
    const std::pair<std::string, int> cases[] = {
        {"export", 1},
        {"export " + test_support::kSample, 1},
        {"export --vcard " + d + "/missing.ovt", 2},
        {"export --vcard " + d + "/cut.ovt", 3},
        {"export --vcard " + test_support::kSample + " -o " + d + "/no/such/dir/x.vcf", 2},
        {"export --vcard " + test_support::kSample + " --bogus", 1},
        {"import " + d + "/good.vcf", 1},
        {"import " + d + "/missing.vcf -o " + d + "/x.ovt", 2},
        {"import " + d + "/none.vcf -o " + d + "/x.ovt", 3},
        {"import " + d + "/bad.vcf -o " + d + "/bad.ovt", 3},
        {"import " + d + "/good.vcf -o " + d + "/no/such/dir/x.ovt", 2},
        {"import " + d + "/good.vcf -o " + d + "/x.ovt --picture " + d + "/missing.jpg", 2},
        {"import " + d + "/good.vcf -o " + d + "/x.ovt --picture " + d + "/good.vcf", 4},
        {"make --csv " + d + "/none.vcf -o " + d + "/out --picture " + d + "/good.vcf", 4},
        {"import " + d + "/good.vcf -o " + d + "/good.ovt", 0},
        {"qr " + test_support::kSample, 1},
        {"qr " + test_support::kSample + " -o " + d + "/q.png --size abc", 1},
        {"qr " + test_support::kSample + " -o " + d + "/q.png --size 20", 1},
        {"qr " + d + "/missing.ovt -o " + d + "/q.png", 2},
        {"qr " + d + "/cut.ovt -o " + d + "/q.png", 3},
        {"qr " + d + "/huge.ovt -o " + d + "/q.png", 1},
        {"make --csv " + d + "/missing.csv -o " + d + "/out", 2},
        {"make --csv " + d + "/none.vcf", 1},
        {"import " + d + "/odd.vcf -o " + d + "/odd.ovt", 3},
        {"import " + kFixtures + "android-2.1.vcf -o " + d + "/one.ovt", 0},
        {"html " + test_support::kSample + " -o " + d + "/c.html", 0},
        {"html " + test_support::kSample, 1},
        {"html " + d + "/missing.ovt -o " + d + "/c.html", 2},
        {"html " + d + "/cut.ovt -o " + d + "/c.html", 3},
        {"html " + test_support::kSample + " -o " + d + "/no/dir/c.html", 2},
        {"print " + test_support::kSample + " -o " + d + "/c.pdf", 0},
        {"print " + test_support::kSample + " -o " + d + "/c.pdf --sheet letter --bleed 2", 0},
        {"print " + test_support::kSample + " -o " + d + "/c.pdf --sheet single --bleed 3 --crop-marks", 0},
        {"print " + test_support::kSample + " -o " + d + "/c.pdf --sheet a5", 1},
        {"print " + test_support::kSample + " -o " + d + "/c.pdf --bleed 3", 1},
        {"print " + test_support::kSample + " -o " + d + "/c.pdf --bleed 21", 1},
        {"print " + d + "/cut.ovt -o " + d + "/c.pdf", 3},
        {"print " + test_support::kSample + " -o " + d + "/no/dir/c.pdf", 2},
        {"thumbnail " + test_support::kSample + " " + d + "/t.png", 0},
        {"thumbnail " + test_support::kSample + " " + d + "/t.png 8", 1},
        {"thumbnail " + d + "/missing.ovt " + d + "/t.png", 2},
        {"thumbnail " + test_support::kSample, 1},
        {"render " + test_support::kSample + " -o " + d + "/r.png", 0},
        {"qr " + test_support::kSample + " -o " + d + "/q.png --size 177", 1},
        {"qr " + test_support::kSample + " -o " + d + "/fits.png --size 178", 0},
    };
    for (const auto& [args, code] : cases) {
        SCOPED_TRACE(args);
#ifndef OVLET_HAVE_PRINT
        // Only a build with a PDF writer prints.
        if (args.rfind("print", 0) == 0) continue;
#endif
#ifndef OVLET_HAVE_RENDER
        // A build without a canvas has no drawing commands.
        if (args.rfind("thumbnail", 0) == 0 || args.rfind("render", 0) == 0) continue;
#endif
        const test_support::ToolResult run = test_support::Ovlet(args);
        EXPECT_EQ(run.code, code) << run.err;
        if (code != 0) {
            EXPECT_FALSE(run.err.empty());
        }
    }
    EXPECT_NE(test_support::Ovlet("qr " + test_support::kSample + " -o " + d + "/q.png --size 177")
                  .err.find("2 pixels a module"),
              std::string::npos);
    // A refused import writes nothing.
    EXPECT_FALSE(fs::exists(dir / "bad.ovt"));
    EXPECT_FALSE(fs::exists(dir / "q.png"));
}

TEST(OvletExchange, ExportThenImportGivesTheSameCard) {
    test_support::TempFolder dir;
    for (const std::string& card : {test_support::kSample, WriteAtLimitCard(dir)}) {
        for (const char* flag : {"--vcard", "--vcard3"}) {
            SCOPED_TRACE(card + " " + flag);
            const test_support::ToolResult exported =
                test_support::Ovlet(std::string("export ") + flag + " " + card + " -o " + (dir / "c.vcf").string());
            ASSERT_EQ(exported.code, 0) << exported.err;
            EXPECT_EQ(test_support::Ovlet(std::string("export ") + flag + " " + card).out, Slurp(dir / "c.vcf"));
            const test_support::ToolResult imported =
                test_support::Ovlet("import " + (dir / "c.vcf").string() + " -o " + (dir / "back.ovt").string());
            ASSERT_EQ(imported.code, 0) << imported.err;
            EXPECT_EQ(test_support::Ovlet("show --json " + (dir / "back.ovt").string()).out,
                      test_support::Ovlet("show --json " + card).out);
            EXPECT_EQ(test_support::ReadFileBytes(dir / "back.ovt"), test_support::ReadFileBytes(card))
                << "the same card gives the same file";
            const test_support::ToolResult piped =
                test_support::Ovlet(std::string("export ") + flag + " " + card + " | " + OVLET_BIN + " import - -o " +
                                    (dir / "piped.ovt").string());
            EXPECT_EQ(piped.code, 0) << piped.err;
            EXPECT_EQ(test_support::ReadFileBytes(dir / "piped.ovt"), test_support::ReadFileBytes(card));
        }
    }
}

TEST(OvletExchange, ImportReportsWhatHasNoField) {
    test_support::TempFolder dir;
    WriteText(dir / "a.vcf",
              "BEGIN:VCARD\r\nVERSION:4.0\r\nN:\xC5\x81\xC3\xB3"
              "d\xC5\xBA;Ann;;;\r\nBDAY:2000-01-01\r\n"
              "ADR:;;;" +
                  std::string(30, 'c') +
                  ";;;\r\nPHOTO:data:image/gif;base64,R0lGODlhAQABAAAAACw=\r\n"
                  "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:4.0\r\nFN:Second\r\nEND:VCARD\r\n");
    const test_support::ToolResult run =
        test_support::Ovlet("import " + (dir / "a.vcf").string() + " -o " + (dir / "a.ovt").string());
    EXPECT_EQ(run.code, 0);
    for (const char* text : {"BDAY", "U+0141", "City is 30 characters long", "image/gif", "only the first"}) {
        EXPECT_NE(run.err.find(text), std::string::npos) << text << "\n" << run.err;
    }
    const std::string json = test_support::Ovlet("show --json " + (dir / "a.ovt").string()).out;
    EXPECT_NE(json.find("\"LastName\": \"?\xC3\xB3"
                        "d?\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"PictureLength\": 0"), std::string::npos);

    // --picture gives the card a picture of the caller's choosing.
    ASSERT_EQ(test_support::Ovlet("import " + (dir / "a.vcf").string() + " -o " + (dir / "p.ovt").string() +
                                  " --picture " + test_support::kPicture)
                  .code,
              0);
    ASSERT_EQ(test_support::Ovlet("picture " + (dir / "p.ovt").string() + " " + (dir / "p.jpg").string()).code, 0);
    EXPECT_EQ(test_support::ReadFileBytes(dir / "p.jpg"), test_support::ReadFileBytes(test_support::kPicture));
}

TEST(OvletExchange, ImportAllNamesFilesSafelyAndSkipsDamagedCards) {
    test_support::TempFolder dir;
    auto card = [](const std::string& n) { return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + n + "\r\nEND:VCARD\r\n"; };
    WriteText(dir / "all.vcf", card("Lee;Ann;;;") + card("LEE;ann;;;") + card("passwd;../../etc/;;;") + card(";;;;") +
                                   card("NUL;;;;") + "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Bad;;;;\r\n" +
                                   card(";Zo\xC3\xAB*?;;;"));
    fs::create_directories(dir / "out");
    WriteText(dir / "out" / "Ann_Lee.ovt", "someone else's file");
    const test_support::ToolResult run =
        test_support::Ovlet("import " + (dir / "all.vcf").string() + " --all -o " + (dir / "out").string());
    EXPECT_EQ(run.code, 3) << "one card is damaged";
    EXPECT_NE(run.err.find("card 6 is damaged"), std::string::npos) << run.err;
    const std::vector<std::string> expected = {"Ann_Lee-2.ovt", "Ann_Lee.ovt", "NUL_.ovt",      "Zo\xC3\xAB.ovt",
                                               "ann_LEE-3.ovt", "card.ovt",    "etc_passwd.ovt"};
    EXPECT_EQ(FilesIn(dir / "out"), expected);
    EXPECT_EQ(Slurp(dir / "out" / "Ann_Lee.ovt"), "someone else's file") << "an existing file is never replaced";
}

TEST(OvletExchange, ImportAllGivesEveryCardThePictureNamed) {
    test_support::TempFolder dir;
    WriteText(dir / "two.vcf",
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ray;Bo;;;\r\nEND:VCARD\r\n");
    const test_support::ToolResult run =
        test_support::Ovlet("import " + (dir / "two.vcf").string() + " --all -o " + (dir / "out").string() +
                            " --picture " + test_support::kPicture);
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* name : {"Ann_Lee.ovt", "Bo_Ray.ovt"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(test_support::Ovlet("picture " + (dir / "out" / name).string() + " " + (dir / "p.jpg").string()).code,
                  0);
        EXPECT_EQ(test_support::ReadFileBytes(dir / "p.jpg"), test_support::ReadFileBytes(test_support::kPicture));
    }
}

TEST(OvletExchange, QrCodeDecodesToTheCompactVCard) {
    if (std::system("command -v zbarimg >/dev/null 2>&1") != 0) GTEST_SKIP() << "zbarimg is not installed";
    test_support::TempFolder dir;
    for (const std::string& card : {test_support::kSample, WriteAtLimitCard(dir)}) {
        SCOPED_TRACE(card);
        const test_support::ToolResult run =
            test_support::Ovlet("qr " + card + " -o " + (dir / "q.png").string() + " --size 700");
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find("QR code version"), std::string::npos);
        if (card == test_support::kSample) {
            EXPECT_NE(run.out.find("QR code version 16, error correction M"), std::string::npos) << run.out;
        }
        const std::string decoded =
            test_support::RunShell("zbarimg --raw -q -Sbinary '" + (dir / "q.png").string() + "' 2>/dev/null").out;
        card::CardRecord record;
        card::RecordOnlySide side(record);
        EXPECT_TRUE(card::ReadCardFile(card, record, side));
        EXPECT_EQ(decoded, qr::CardCodeText(record));
    }
}

TEST(OvletExchange, MakeFromCsvWritesOneCardPerRow) {
    test_support::TempFolder dir;
    WriteText(dir / "people.csv",
              "\xEF\xBB\xBF"
              "FirstName,LastName,StreetAddress,City\r\n"
              "Ann,Lee,\"1 Main St\nSuite \"\"B\"\"\",Oslo\r\n"
              "\r\n"
              "Ann,Lee,,Bergen\r\n"
              "Zo\xC3\xAB,\"O'Neil, Jr.\",,\xE2\x82\xAC"
              "city\n");
    ASSERT_EQ(test_support::Ovlet("make " + (dir / "tpl.ovt").string() + " Company=Acme City=Nowhere").code, 0);
    const test_support::ToolResult run =
        test_support::Ovlet("make --csv " + (dir / "people.csv").string() + " -o " + (dir / "cards").string() +
                            " --from " + (dir / "tpl.ovt").string() + " --picture " + test_support::kPicture);
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<std::string> expected = {"Ann_Lee-2.ovt", "Ann_Lee.ovt", "Zo\xC3\xAB_O_Neil_Jr.ovt"};
    ASSERT_EQ(FilesIn(dir / "cards"), expected);
    const std::string first = test_support::Ovlet("show --json " + (dir / "cards" / "Ann_Lee.ovt").string()).out;
    for (const char* text : {"\"StreetAddress\": \"1 Main St\\r\\nSuite \\\"B\\\"\"", "\"City\": \"Oslo\"",
                             "\"Company\": \"Acme\"", "\"PictureLength\": 10773"}) {
        EXPECT_NE(first.find(text), std::string::npos) << text << "\n" << first;
    }
    const std::string third =
        test_support::RunTool(OVLET_BIN, {"show", "--json", (dir / "cards").string() + "/Zo\xC3\xAB_O_Neil_Jr.ovt"})
            .out;
    EXPECT_NE(third.find("\"City\": \"\xE2\x82\xAC"
                         "city\""),
              std::string::npos)
        << third;

    // Spreadsheets that save with semicolons are read too.
    WriteText(dir / "semi.csv", "Company;City\nA, B and C;Rome\n");
    ASSERT_EQ(test_support::Ovlet("make --csv " + (dir / "semi.csv").string() + " -o " + (dir / "semi").string()).code,
              0);
    EXPECT_NE(
        test_support::Ovlet("show --json " + (dir / "semi" / "A_B_and_C.ovt").string()).out.find("\"City\": \"Rome\""),
        std::string::npos);
}

TEST(OvletExchange, MakeFromCsvNamesTheRowAndColumnOfABadValue) {
    struct Case {
        const char* name;
        std::string csv;
        const char* message;
    };
    const Case cases[] = {
        {"field named twice", "City,City\nA,B\n", "column 2: the field City is named twice"},
        {"character outside Windows-1252",
         "FirstName,City\nA,B\nC,\xC5\x81"
         "odz\n",
         "row 3 (line 3), column 2: field City: character U+0141"},
        {"line break in a one-line field", "City,FirstName\n\"a\nb\",x\n",
         "row 2 (line 2), column 1: field City holds one line only"},
        {"too few values", "City,Country\nRome\n", "row 2 (line 2): 1 values, but the header names 2 columns"},
        {"too many values", "City\nRome,Italy\n", "row 2 (line 2): 2 values, but the header names 1 columns"},
        {"unclosed quote", "City\nRome\n\"Milan\n", "row 3 (line 3), column 1: a quoted value is not closed"},
        {"text after a closing quote", "City\n\"Rome\"x\n", "row 2 (line 2), column 1: text follows the closing quote"},
        {"no rows", "City\n", "no rows below the header"},
        {"no column names a field", "Nickname,Age\nA,3\n", "no column names a card field"},
        {"empty file", "", "the first row must name the fields"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder dir;
        WriteText(dir / "p.csv", c.csv);
        const test_support::ToolResult run =
            test_support::Ovlet("make --csv " + (dir / "p.csv").string() + " -o " + (dir / "out").string());
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / "out")) << "nothing is written when a row is bad";
    }
}

// What a spreadsheet gives that is not quite right is said, and the cards are made.
TEST(OvletExchange, MakeFromCsvWarnsAndGoesOn) {
    struct Case {
        const char* name;
        std::string csv;
        std::vector<const char*> messages;  // each said once
        const char* json;                   // in the card of the first row
    };
    const Case cases[] = {
        {"unknown column",
         "FirstName,Nickname,City\nAnn,Nan,Oslo\n",
         {"row 1 (line 1), column 2: 'Nickname' is not a card field; the column is left out", "1 card written to",
          "0 blank rows skipped, 1 warning"},
         "\"City\": \"Oslo\""},
        {"unnamed column",
         "City,\nRome,x\n",
         {"column 2: the column has no field name; the column is left out"},
         "\"City\": \"Rome\""},
        {"Windows-1252 file",
         "City,Company\nK\xF6ln,Caf\xE9 \x80\n\n\nBonn,B\n",
         {"is not UTF-8 text; it is read as Windows-1252", "2 cards written to", "2 blank rows skipped, 0 warnings"},
         "\"Company\": \"Caf\xC3\xA9 \xE2\x82\xAC\""},
        {"over the typing limit",
         "City\n" + std::string(26, 'c') + "\n",
         {"row 2 (line 2), column 1: City is 26 characters long, over the 25 that can be typed into it; kept in full",
          "1 warning"},
         "\"City\": \"cccccccccccccccccccccccccc\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder dir;
        WriteText(dir / "p.csv", c.csv);
        const test_support::ToolResult run =
            test_support::Ovlet("make --csv " + (dir / "p.csv").string() + " -o " + (dir / "out").string());
        EXPECT_EQ(run.code, 0) << run.err;
        for (const char* message : c.messages) {
            const std::size_t at = run.err.find(message);
            EXPECT_NE(at, std::string::npos) << message << "\n" << run.err;
            EXPECT_EQ(run.err.find(message, at + 1), std::string::npos) << "said twice: " << message;
        }
        const std::string first = run.out.substr(0, run.out.find('\n'));
        EXPECT_NE(test_support::Ovlet("show --json " + first).out.find(c.json), std::string::npos) << first;
    }
}

// Warnings are counted, not all kept; a repeated name costs the same each time.
TEST(OvletExchange, MakeFromCsvKeepsTheFirstHundredWarnings) {
    test_support::TempFolder dir;
    std::string csv = "FirstName,City\n";
    for (int i = 0; i < 250; ++i) csv += "Ann," + std::string(30, 'x') + "\n";
    WriteText(dir / "p.csv", csv);
    const test_support::ToolResult run =
        test_support::Ovlet("make --csv " + (dir / "p.csv").string() + " -o " + (dir / "out").string());
    ASSERT_EQ(run.code, 0) << run.err;
    std::size_t shown = 0;
    for (std::size_t at = run.err.find("characters long"); at != std::string::npos;
         at = run.err.find("characters long", at + 1)) {
        ++shown;
    }
    EXPECT_EQ(shown, 100u);
    EXPECT_NE(run.err.find("... and 150 more warnings"), std::string::npos);
    EXPECT_NE(run.err.find("250 cards written"), std::string::npos);
    EXPECT_NE(run.err.find("250 warnings"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "out" / "Ann-250.ovt"));
    EXPECT_FALSE(fs::exists(dir / "out" / "Ann-251.ovt"));
}

TEST(OvletExchange, CommandsWorkOnACardWithEveryFieldAtItsLimit) {
    test_support::TempFolder dir;
    const std::string card = WriteAtLimitCard(dir);
    // The card's own values as a CSV row make the same card again.
    std::string header, row;
    card::CardRecord r;
    card::RecordOnlySide side(r);
    EXPECT_TRUE(card::ReadCardFile(card, r, side));
    for (const auto& f : card::kCardFields) {
        std::string value = card::Utf8FromAnsi(r.*f.member);
        std::string quoted = "\"";
        for (char ch : value) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        header += std::string(header.empty() ? "" : ",") + f.name;
        row += (row.empty() ? "" : ",") + quoted + "\"";
    }
    WriteText(dir / "one.csv", header + "\n" + row + "\n");
    const test_support::ToolResult made =
        test_support::Ovlet("make --csv " + (dir / "one.csv").string() + " -o " + (dir / "made").string() +
                            " --picture " + test_support::kPicture);
    ASSERT_EQ(made.code, 0) << made.err;
    ASSERT_EQ(FilesIn(dir / "made").size(), 1u);
    EXPECT_EQ(test_support::ReadFileBytes(dir / "made" / Utf8Name(FilesIn(dir / "made").front())),
              test_support::ReadFileBytes(card));
    EXPECT_EQ(made.err.find("characters long"), std::string::npos) << "values at the limit are not over it";
    EXPECT_NE(made.err.find("1 card written to " + (dir / "made").string() + ", 0 blank rows skipped, 0 warnings"),
              std::string::npos)
        << made.err;
    EXPECT_EQ(test_support::Ovlet("qr " + card + " -o " + (dir / "q.png").string()).code, 0);
}

}  // namespace
}  // namespace ovlet::cli
