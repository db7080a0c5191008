// The exchange commands as a script sees them: public and hand-made vCard
// files imported (one table: file -> exit, cards, fields, reports), the
// exit codes of html, print and thumbnail, and the thumbnailer entry run as
// a file manager runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "card/card_file.h"
#include "card_test_support.h"
#include "tests/support/ovlet_tool.h"

namespace ovlet::exchange {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(OVLET_TESTS_DIR) + "/data/vcard/";

card::CardRecord ReadCard(const fs::path& path) {
    card::CardRecord record;
    card::RecordOnlySide side(record);
    EXPECT_TRUE(card::ReadCardFile(path.string(), record, side)) << path;
    return record;
}

struct FileCase {
    const char* file;
    int exit;
    std::size_t cards;                                        // cards written
    const char* card;                                         // the written card whose fields are checked
    std::vector<std::pair<const char*, std::string>> fields;  // Windows-1252 values
    std::vector<const char*> reports;                         // texts expected on stderr
    int pictureLength = -1;                                   // -1: not checked
};

const FileCase kFiles[] = {
    // Public fixtures (see tests/data/vcard/README.md).
    {"ezvcard-evolution.vcf",
     0,
     1,
     "John_Richter_James_Doe.ovt",
     {{"FirstName", "John"},
      {"MiddleName", "Richter, James"},
      {"LastName", "Doe"},
      {"Company", "IBM"},
      {"Department", "Accounting"},
      {"JobTitle", "Money Counter"},
      {"EMail", "john.doe@ibm.com"},
      {"WebSite", "http://www.ibm.com"},
      {"Phone1Number", "905-666-1234"},
      {"Phone1Description", "Mobile"},
      {"Phone2Number", "905-555-1234"},
      {"StreetAddress", "ASB-123\r\n15 Crescent moon drive"},
      {"City", "Albaney"},
      {"Country", "United States of America"}},
     {"the unit 'Dungeon' has no field", "X-EVOLUTION-SPOUSE", "Country is 24 characters long"}},
    {"ezvcard-mac-address-book.vcf",
     0,
     1,
     "John_Richter_James_Doe.ovt",
     {{"WebSite", "http://www.ibm.com"},
      {"Phone1Number", "905-777-1234"},
      {"Phone1Description", "Work"},
      {"Phone2Number", "905-666-1234"},
      {"Fax", "905-888-1234"},
      {"StreetAddress", "Street4\r\nBuilding 6\r\nFloor 8"},
      {"City", "New York"}},
     {"a further phone number (905-111-1234)", "X-PHONETIC-FIRST-NAME"}},
    {"rfc6350-example.vcf",
     0,
     1,
     "Simon_Perreault.ovt",
     {{"Company", "Viagenie"},
      {"StreetAddress", "Suite D2-630\r\n2875 Laurier"},
      {"City", "Quebec"},
      {"PostalCode", "G1V 2M2"},
      {"Phone1Number", "+1-418-656-9254;ext=102"},
      {"Phone2Description", "Work Mobile"},
      {"WebSite", "http://nomis80.org"}},
     {"GEO", "the honorific suffix 'ing. jr,M.Sc.'"}},
    {"rfc2426-examples.vcf",
     0,
     2,
     "Tim_Howes.ovt",
     {{"Company", "Netscape Communications Corp."},
      {"City", "Mountain View"},
      {"StateProvince", "CA"},
      {"PostalCode", " 94043"},
      {"Fax", "+1-415-528-4164"},
      {"Phone1Number", "+1-415-937-3419"}},
     {"a further value (fdawson@earthlink.net)"}},
    // Hand-made, one for each fault address books met (tests/data/vcard/make_cases.py).
    {"phone-cr-cr-lf.vcf",
     0,
     1,
     "Maja_Lindqvist.ovt",
     {{"WebSite", "https://fjordkayaks.example/maja"}, {"Company", "Fjord Kayaks AB"}, {"Phone1Description", "Mobile"}},
     {},
     310},
    {"android-2.1.vcf",
     0,
     2,
     "Ole_Brandt.ovt",
     {{"FirstName", "Ole"}, {"Phone1Number", "+45 33 00 00 00"}},
     {"the picture's base64 data is damaged", "'\xC5\x9F' (U+015F) cannot be stored"},
     0},
    {"android-2.1.vcf",
     0,
     2,
     "Ay_e_\xC3\x96zt\xC3\xBCrk.ovt",
     {{"LastName", "\xD6zt\xFCrk"}, {"FirstName", "Ay?e"}},
     {},
     310},
    {"desktop-2.1-windows-1252.vcf",
     0,
     1,
     "J\xC3\xBCrgen_M\xC3\xBCller.ovt",
     {{"GeneralInformation", "Angebote unter \\server\\share\\Angebote\\, Stand 2024"},
      {"Company", "M\xFCller & S\xF6hne GmbH"}},
     {},
     310},
    {"utf-16le-bom.vcf",
     0,
     1,
     "Ren\xC3\xA9"
     "e_Fran\xC3\xA7ois.ovt",
     {{"FirstName",
       "Ren\xE9"
       "e"},
      {"LastName", "Fran\xE7ois"},
      {"JobTitle", "Directrice g\xE9n\xE9rale"}},
     {"JobTitle is 19 characters long"}},
    {"charsets.vcf",
     0,
     3,
     "\xC5\xA0\xC3\xA1rka_Wei\xC3\x9F.ovt",
     {{"FirstName", "\x8A\xE1rka"}, {"LastName", "Wei\xDF"}, {"GeneralInformation", "Preis 5 \x80"}},
     {"(U+03A0)", "(U+0418)", "(U+6771)"}},
};

// A file name in UTF-8 as a path (from narrow text it would go through a
// code page on Windows).
fs::path Utf8Name(const std::string& name) {
    return fs::path(std::u8string(name.begin(), name.end()));
}

TEST(VCardFiles, ImportEveryFixture) {
    for (const FileCase& c : kFiles) {
        SCOPED_TRACE(std::string(c.file) + " -> " + c.card);
        test_support::TempFolder dir;
        const test_support::ToolResult run =
            test_support::Ovlet("import '" + kFixtures + c.file + "' --all -o " + (dir / "out").string());
        EXPECT_EQ(run.code, c.exit) << run.err;
        std::size_t written = 0;
        for (const auto& entry : fs::directory_iterator(dir / "out")) written += entry.path().extension() == ".ovt";
        EXPECT_EQ(written, c.cards);
        for (const char* text : c.reports) EXPECT_NE(run.err.find(text), std::string::npos) << text << "\n" << run.err;
        ASSERT_TRUE(fs::exists(dir / "out" / Utf8Name(c.card))) << run.out;
        const card::CardRecord card = ReadCard(dir / "out" / Utf8Name(c.card));
        for (const auto& [name, value] : c.fields) EXPECT_EQ(card.*card::FindCardField(name)->member, value) << name;
        if (c.pictureLength >= 0) {
            EXPECT_EQ(card.PictureLength, c.pictureLength);
        }
    }
}

// The lines a command wrote to standard error, each whole.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    const auto lines = Lines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(VCardFiles, ALibraryMessageInAReportIsOneTrimmedLine) {
    OVLET_SKIP_WITHOUT_LINUX_PEERS();
    // A PNG photo cut short: the picture library's own message ends in a
    // line break, which must neither end the report line early nor show as
    // a literal "\n".
    test_support::TempFolder dir;
    const std::string png = std::string(OVLET_TESTS_DIR) + "/data/corpus/png/basn2c08.png";
    const std::string base64 = test_support::RunShell("head -c 60 '" + png + "' | base64 -w0").out;
    ASSERT_EQ(base64.size(), 80u);
    {
        std::ofstream out(dir / "cut.vcf", std::ios::binary);
        out << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nPHOTO;ENCODING=b;TYPE=PNG:" << base64
            << "\r\nEND:VCARD\r\n";
    }
    const test_support::ToolResult run =
        test_support::Ovlet("import " + (dir / "cut.vcf").string() + " -o " + (dir / "ann.ovt").string());
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(
        HasLine(run.err, "  line 4 PHOTO: the picture does not decode (End of file reached while decoding.); left out"))
        << run.err;
}

// A card with this picture, written by the card library.
std::string CardWithPicture(const test_support::TempFolder& dir, const test_support::Bytes& picture) {
    card::CardRecord record;
    record.FirstName = "Pia";
    record.LastName = "Moss";
    const std::string path = (dir / "pia.ovt").string();
    EXPECT_TRUE(card::WriteCardWithPicture(path, record, picture.data(), picture.size()));
    return path;
}

TEST(VCardFiles, ExportAndWebCardTellWhenAPictureIsLeftOut) {
    test_support::TempFolder dir;
    const test_support::Bytes bmp =
        test_support::ReadFileBytes(std::string(OVLET_TESTS_DIR) + "/data/corpus/bmp/g/pal8nonsquare.bmp");
    const std::string whole = CardWithPicture(dir, bmp);
    const test_support::Bytes before = test_support::ReadFileBytes(whole);
    const test_support::ToolResult exported = test_support::Ovlet("export --vcard3 " + whole);
    EXPECT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(exported.err, "");
    EXPECT_NE(exported.out.find("PHOTO;ENCODING=b;TYPE=PNG:iVBORw0KGgo"), std::string::npos);
    EXPECT_EQ(test_support::ReadFileBytes(whole), before) << "the card keeps its own bytes";
    EXPECT_EQ(ReadCard(whole).PictureBytes, bmp);

    const std::string damaged = CardWithPicture(dir, test_support::Bytes(bmp.begin(), bmp.begin() + 100));
    for (const std::string command : {"export --vcard", "html"}) {
        SCOPED_TRACE(command);
        const test_support::ToolResult run =
            test_support::Ovlet(command + " " + damaged + " -o " + (dir / "out").string());
        EXPECT_EQ(run.code, 0) << run.err;
        const std::string name = command == "html" ? "html" : "export";
        const auto lines = Lines(run.err);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_EQ(lines[0].rfind("ovlet " + name + ": the picture does not decode (", 0), 0u) << lines[0];
        EXPECT_EQ(lines[0].substr(lines[0].size() - 11), "); left out");
    }
}

TEST(VCardFiles, TheManPageNamesEveryJsonKey) {
    // Every key `show --json` prints is named in the man page's JSON OUTPUT
    // section (or, for the fields, in FIELDS), and the page promises the count.
    const test_support::ToolResult run = test_support::Ovlet("show --json " + test_support::kSample);
    ASSERT_EQ(run.code, 0);
    std::vector<std::string> keys;
    for (const std::string& line : Lines(run.out)) {
        if (line.rfind("  \"", 0) == 0) keys.push_back(line.substr(3, line.find('"', 3) - 3));
    }
    const test_support::Bytes bytes = test_support::ReadFileBytes(std::string(OVLET_SOURCE_DIR) + "/docs/man/ovlet.1");
    const std::string page(bytes.begin(), bytes.end());
    const std::size_t fields = page.find("\n.SH FIELDS\n");
    const std::size_t json = page.find("\n.SH JSON OUTPUT\n");
    const std::size_t after = page.find("\n.SH ", json + 1);
    ASSERT_NE(fields, std::string::npos);
    ASSERT_NE(json, std::string::npos);
    const std::string fieldList = page.substr(fields, json - fields);
    const std::string jsonPart = page.substr(json, after - json);
    EXPECT_NE(jsonPart.find("with these " + std::to_string(keys.size()) + " keys"), std::string::npos) << jsonPart;
    std::size_t named = 0;
    for (const std::string& key : keys) {
        const bool field = card::FindCardField(key) != nullptr;
        const std::string& where = field ? fieldList : jsonPart;
        const bool found = where.find(key + ",") != std::string::npos || where.find(key + ".") != std::string::npos ||
                           where.find(key + "\n") != std::string::npos || where.find(key + " ") != std::string::npos ||
                           where.find(key + "\"") != std::string::npos;
        EXPECT_TRUE(found) << key;
        named += found;
    }
    EXPECT_EQ(named, 29u);
}

TEST(VCardFiles, PagesAndSheetsGoToStandardOutputToo) {
    test_support::TempFolder dir;
    const std::string d = dir.Path().string();
    ASSERT_EQ(test_support::Ovlet("html " + test_support::kSample + " -o " + d + "/c.html").code, 0);
    EXPECT_EQ(test_support::Ovlet("html " + test_support::kSample + " -o -").out, [&] {
        const test_support::Bytes page = test_support::ReadFileBytes(dir / "c.html");
        return std::string(page.begin(), page.end());
    }());
#ifdef OVLET_HAVE_PRINT
    EXPECT_EQ(test_support::Ovlet("print " + test_support::kSample + " -o - --sheet single").out.rfind("%PDF-", 0), 0u);
#endif
}

TEST(VCardFiles, ManyCardsOfOneNameImportWithTheirReportsCounted) {
    test_support::TempFolder dir;
    {
        std::ofstream out(dir / "same.vcf", std::ios::binary);
        for (int i = 0; i < 150; ++i) out << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Lee\r\nX-A:1\r\nEND:VCARD\r\n";
    }
    const test_support::ToolResult run =
        test_support::Ovlet("import " + (dir / "same.vcf").string() + " --all -o " + (dir / "out").string());
    EXPECT_EQ(run.code, 0) << run.err.substr(0, 500);
    EXPECT_TRUE(fs::exists(dir / "out" / "Ann_Lee-150.ovt"));
    EXPECT_FALSE(fs::exists(dir / "out" / "Ann_Lee-151.ovt"));
    // One report a card, the first hundred shown and the rest counted. (That
    // the reader has no limit on cards is tested on the reader.)
    EXPECT_NE(run.err.find("ovlet import: 50 more reports not shown"), std::string::npos)
        << run.err.substr(run.err.size() - 300);
}

#ifdef OVLET_HAVE_DRAW
TEST(VCardFiles, TheThumbnailerEntryRunsAsAFileManagerRunsIt) {
    std::ifstream in(std::string(OVLET_SOURCE_DIR) + "/desktop/ovlet.thumbnailer");
    std::string line, exec, mime;
    while (std::getline(in, line)) {
        if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
        if (line.rfind("MimeType=", 0) == 0) mime = line.substr(9);
    }
    EXPECT_EQ(mime, "application/x-ovlet-card;");
    ASSERT_EQ(exec.rfind("ovlet ", 0), 0u) << exec;
    test_support::TempFolder dir;
    for (const int size : {128, 256}) {
        SCOPED_TRACE(size);
        std::string command = std::string(OVLET_BIN) + exec.substr(5);
        for (const auto& [code, value] : {std::pair<std::string, std::string>{"%i", "'" + test_support::kSample + "'"},
                                          {"%o", "'" + (dir / "thumb.png").string() + "'"},
                                          {"%s", std::to_string(size)}}) {
            command.replace(command.find(code), 2, value);
        }
        const test_support::ToolResult run = test_support::RunShell(command);
        ASSERT_EQ(run.code, 0) << command << "\n" << run.err;
        const test_support::Bytes png = test_support::ReadFileBytes(dir / "thumb.png");
        ASSERT_GE(png.size(), 24u);
        const auto be32 = [&](std::size_t at) {
            return (std::uint32_t{png[at]} << 24) | (std::uint32_t{png[at + 1]} << 16) |
                   (std::uint32_t{png[at + 2]} << 8) | png[at + 3];
        };
        EXPECT_EQ(be32(16), static_cast<std::uint32_t>(size)) << "fitted into SIZE x SIZE: the card is wider than tall";
        EXPECT_LE(be32(20), static_cast<std::uint32_t>(size));
    }
}

#endif

}  // namespace
}  // namespace ovlet::exchange
