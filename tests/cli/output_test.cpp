// Where a command's output goes: a file, standard output ("-" or a name of
// it), or nowhere at all (a full disk behind standard output); and the names
// batches give their cards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../card/card_test_support.h"
#include "tests/support/ovlet_tool.h"

namespace ovlet::cli {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& path) {
    const test_support::Bytes bytes = test_support::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void PutText(const fs::path& path, const std::string& text) {
    test_support::WriteFileBytes(path, test_support::Bytes(text.begin(), text.end()));
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Every command that writes a file, with OUT where the output goes.
struct Writer {
    const char* name;
    std::string words;  // with "OUT" for the output
    bool drawing;       // needs the drawing program
};

std::vector<Writer> Writers(const fs::path& d) {
    const std::string vcf = (d / "one.vcf").string();
    return {
        {"make", "make OUT City=Oslo --picture " + test_support::kPicture, false},
        {"picture", "picture " + test_support::kSample + " OUT", false},
        {"export", "export --vcard " + test_support::kSample + " -o OUT", false},
        {"export --vcard3", "export --vcard3 " + test_support::kSample + " -o OUT", false},
        {"import", "import " + vcf + " -o OUT", false},
        {"qr", "qr " + test_support::kSample + " -o OUT", false},
        {"html", "html " + test_support::kSample + " -o OUT", false},
        {"decode", "decode " + test_support::kPicture + " OUT", false},
        {"render", "render " + test_support::kSample + " -o OUT --width 300", true},
        {"print", "print " + test_support::kSample + " -o OUT --sheet single", true},
        {"thumbnail", "thumbnail " + test_support::kSample + " OUT 128", true},
    };
}

// A PDF tells when it was made, to the second: that part is left out of a
// comparison of two runs.
std::string Comparable(std::string bytes) {
    const std::string date = "/CreationDate (D:";
    if (const std::size_t at = bytes.find(date); at != std::string::npos) bytes.replace(at + date.size(), 14, 14, '0');
    return bytes;
}

// Runs the tool through the shell with Qt's hash order fixed: the PDF writer
// lists its fonts in that order, which otherwise changes from run to run.
test_support::ToolResult Same(const std::string& command) {
    test_support::ToolSetup setup;
    setup.variables = {{"QT_HASH_SEED", "0"}};
    return test_support::RunShell(command, setup);
}

std::string With(std::string words, const std::string& out) {
    return words.replace(words.find("OUT"), 3, out);
}

// What goes to standard output for "-" (or /dev/stdout) is the file the same
// command writes, byte for byte; what the command tells goes to standard
// error then.
TEST(OvletOutput, StandardOutputGetsExactlyTheFile) {
    test_support::TempFolder dir;
    PutText(dir / "one.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
    for (const Writer& w : Writers(dir.Path())) {
#ifndef OVLET_HAVE_DRAW
        if (w.drawing) continue;
#endif
        SCOPED_TRACE(w.name);
        const fs::path file = dir / "file.out";
        fs::remove(file);
        const std::string tool = std::string(OVLET_BIN) + " ";
        const test_support::ToolResult toFile = Same(tool + With(w.words, file.string()));
        ASSERT_EQ(toFile.code, 0) << toFile.err;
        const std::string written = Comparable(Text(file));
        ASSERT_GT(written.size(), 20u);
        for (const std::string out : {"-", "/dev/stdout"}) {
            SCOPED_TRACE(out);
            const test_support::ToolResult toStdout = Same(tool + With(w.words, out) + " 2>" + (dir / "err").string());
            EXPECT_EQ(toStdout.code, 0) << Text(dir / "err");
            EXPECT_TRUE(Comparable(toStdout.out) == written)
                << "standard output differs from the file: " << toStdout.out.size() << " bytes, the file "
                << written.size();
            // What the file run printed on standard output is told on standard error.
            if (!toFile.out.empty()) {
                const std::size_t colon = toFile.out.find(": ");
                const std::string told = colon == std::string::npos ? toFile.out : toFile.out.substr(colon);
                EXPECT_NE(Text(dir / "err").find(told), std::string::npos) << Text(dir / "err");
            }
        }
        // A redirection to a file keeps what the shell wrote before it.
        Same("(echo before; " + tool + With(w.words, "/dev/stdout") + " 2>/dev/null; echo after) > " +
             (dir / "both").string());
        EXPECT_TRUE(Comparable(Text(dir / "both")) == "before\n" + written + "after\n")
            << "the output does not follow what the shell wrote before it";
    }
}

// A listing or a shown card lost on a full disk is a failure, with a message.
TEST(OvletOutput, AFullDiskBehindStandardOutputIsAFailure) {
    test_support::TempFolder dir;
    const std::string d = dir.Path().string();
    PutText(dir / "one.vcf", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
    PutText(dir / "people.csv", "FirstName,LastName\nAnn,Lee\nBo,Ray\n");
    const std::string commands[] = {
        "info " + test_support::kPicture,
        "show " + test_support::kSample,
        "show --json " + test_support::kSample,
        "make --csv " + d + "/people.csv -o " + d + "/batch",
        "import " + d + "/one.vcf -o " + d + "/one.ovt",
        "import " + d + "/one.vcf --all -o " + d + "/all",
        "qr " + test_support::kSample + " -o " + d + "/q.png",
        "decode " + test_support::kPicture + " " + d + "/p.pam",
        "export --vcard " + test_support::kSample,
        "export --vcard " + test_support::kSample + " -o -",
        "picture " + test_support::kSample + " -",
    };
    for (const std::string& words : commands) {
        SCOPED_TRACE(words);
        const test_support::ToolResult run = test_support::Ovlet(words + " > /dev/full");
        EXPECT_EQ(run.code, 2) << run.err;
        EXPECT_NE(run.err.find("cannot write standard output"), std::string::npos) << run.err;
    }
}

#ifdef OVLET_HAVE_DRAW
// The drawing commands print only their own messages, whatever Qt notes
// (XDG_RUNTIME_DIR unset, as under cron or in CI).
TEST(OvletOutput, DrawingCommandsPrintOnlyTheirOwnMessages) {
    test_support::TempFolder dir;
    const std::string d = dir.Path().string();
    const std::vector<std::string> commands[] = {
        {"render", test_support::kSample, "-o", d + "/r.png", "--width", "300"},
        {"print", test_support::kSample, "-o", d + "/p.pdf"},
        {"thumbnail", test_support::kSample, d + "/t.png"},
    };
    for (const auto& words : commands) {
        SCOPED_TRACE(words.front());
        test_support::ToolSetup setup;
        setup.unset = {"XDG_RUNTIME_DIR"};
        const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, words, setup);
        EXPECT_EQ(run.code, 0);
        EXPECT_EQ(run.err, "");
    }
}
#endif

// Batch names: whatever a card's name holds, its file name is plain, safe on
// Windows too, and never replaces another card.
TEST(OvletOutput, BatchNamesAreSafeEverywhere) {
    struct Case {
        const char* name;
        std::string first, last;  // UTF-8, as a spreadsheet holds them
        std::string file;
    };
    const Case cases[] = {
        {"C1 controls", "A\xC2\x81", "B\xC2\x90\xC2\x9D", "A_B.ovt"},
        {"no-break space and soft hyphen", "Ann\xC2\xA0Marie", "Lee\xC2\xADSmith", "Ann_Marie_Lee_Smith.ovt"},
        {"a device name with an extension", "", "con.txt", "con_.txt.ovt"},
        {"another device name", "", "nul.tar", "nul_.tar.ovt"},
        {"a device name in capitals", "", "AUX", "AUX_.ovt"},
        {"a serial port", "", "COM7", "COM7_.ovt"},
        {"a superscript serial port", "", "COM\xC2\xB9", "COM.ovt"},
        {"a superscript printer port", "", "LPT\xC2\xB2.x", "LPT_.x.ovt"},
        {"not a device name", "", "COM10", "COM10.ovt"},
        {"trailing dots and spaces", "", "Lee. . ", "Lee.ovt"},
        {"marks Windows refuses", "a<b>c:d\"\"e", "f/g\\h|i?j*k", "a_b_c_d_e_f_g_h_i_j_k.ovt"},
        {"letters of other scripts", "Zo\xC3\xAB", "\xC5\xA0\xC3\xA1ra", "Zo\xC3\xAB_\xC5\xA0\xC3\xA1ra.ovt"},
        {"symbols of Windows-1252", "\xE2\x82\xAC", "\xE2\x80\x94Lee\xE2\x84\xA2", "Lee.ovt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder dir;
        PutText(dir / "people.csv", "FirstName;LastName\n\"" + c.first + "\";\"" + c.last + "\"\n");
        const test_support::ToolResult run =
            test_support::Ovlet("make --csv " + (dir / "people.csv").string() + " -o " + (dir / "out").string());
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Names(dir / "out"), std::vector<std::string>{c.file});
    }
    // Names that differ only in case are two cards, as on a disk that ignores case.
    test_support::TempFolder dir;
    PutText(dir / "people.csv", "LastName\n\xC3\x84rger\n\xC3\xA4rger\nLee\nLEE\n");
    ASSERT_EQ(test_support::Ovlet("make --csv " + (dir / "people.csv").string() + " -o " + (dir / "out").string()).code,
              0);
    EXPECT_EQ(Names(dir / "out"),
              (std::vector<std::string>{"LEE-2.ovt", "Lee.ovt", "\xC3\x84rger.ovt", "\xC3\xA4rger-2.ovt"}));
    // The listing is safe on a terminal, whatever the folder is called.
    const fs::path odd = dir / "odd\x1b[2Jfolder";
    const test_support::ToolResult run =
        test_support::Ovlet("make --csv " + (dir / "people.csv").string() + " -o '" + odd.string() + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("odd\\x1b[2Jfolder/Lee.ovt"), std::string::npos) << run.out;
}

// A value longer than a card may hold is the row's error, found before any
// card is written; one of exactly that length is a card.
TEST(OvletOutput, ABatchValueOverTheFieldLimitIsAnError) {
    test_support::TempFolder dir;
    const std::string fits(1 << 20, 'g');
    PutText(dir / "people.csv", "LastName,GeneralInformation\nLee," + fits + "\nRay," + fits + "g\n");
    const test_support::ToolResult run =
        test_support::Ovlet("make --csv " + (dir / "people.csv").string() + " -o " + (dir / "out").string());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("row 3 (line 3), column 2: field GeneralInformation is longer than a card may hold (1 MiB)"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(dir / "out"));
    PutText(dir / "people.csv", "LastName,GeneralInformation\nLee," + fits + "\n");
    EXPECT_EQ(test_support::Ovlet("make --csv " + (dir / "people.csv").string() + " -o " + (dir / "out").string()).code,
              0);
    EXPECT_EQ(Names(dir / "out"), std::vector<std::string>{"Lee.ovt"});
}

// Two batches writing into one folder at once never replace each other's
// cards: every card either reports is on the disk.
TEST(OvletOutput, TwoBatchesIntoOneFolderKeepEveryCard) {
    test_support::TempFolder dir;
    std::string csv = "FirstName,LastName\n";
    constexpr int kRows = 400;
    for (int i = 0; i < kRows; ++i) csv += "Ann,Lee\n";
    PutText(dir / "people.csv", csv);
    const std::string make =
        std::string(OVLET_BIN) + " make --csv " + (dir / "people.csv").string() + " -o " + (dir / "out").string();
    const test_support::ToolResult run =
        test_support::RunShell("mkdir " + (dir / "out").string() + " && (" + make + " > " + (dir / "a.txt").string() +
                               " & " + make + " > " + (dir / "b.txt").string() + "; wait)");
    ASSERT_EQ(run.code, 0) << run.err;
    std::set<std::string> reported;
    for (const char* list : {"a.txt", "b.txt"}) {
        for (const std::string& line : Lines(Text(dir / list))) reported.insert(fs::path(line).filename().string());
    }
    EXPECT_EQ(reported.size(), 2u * kRows);
    const std::vector<std::string> onDisk = Names(dir / "out");
    EXPECT_EQ(onDisk.size(), 2u * kRows);
    EXPECT_EQ(std::set<std::string>(onDisk.begin(), onDisk.end()), reported);
}

}  // namespace
}  // namespace ovlet::cli
