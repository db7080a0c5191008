// The words of the ovlet command line: help, options in their three forms,
// "--", unknown options and commands, each as argv -> exit code and message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../card/card_test_support.h"
#include "tests/support/ovlet_tool.h"

namespace ovlet::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Commands() {
    std::vector<std::string> commands = {"show", "make", "picture", "export", "import", "qr", "decode", "info"};
#ifdef OVLET_HAVE_RENDER
    commands.push_back("render");
#endif
    return commands;
}

TEST(OvletCommandLine, EveryCommandAnswersHelpAndRefusesAnUnknownOption) {
    for (const std::string& command : Commands()) {
        SCOPED_TRACE(command);
        for (const std::vector<std::string>& words :
             {std::vector<std::string>{command, "--help"}, std::vector<std::string>{command, "-h"},
              std::vector<std::string>{"help", command}}) {
            const test_support::ToolResult help = test_support::RunTool(OVLET_BIN, words);
            EXPECT_EQ(help.code, 0) << help.err;
            EXPECT_NE(help.out.find("Usage: ovlet " + command), std::string::npos) << help.out;
            EXPECT_EQ(help.err, "");
        }
        const test_support::ToolResult bogus =
            test_support::RunTool(OVLET_BIN, {command, "--bogus-option", test_support::kSample});
        EXPECT_EQ(bogus.code, 1);
        EXPECT_NE(bogus.err.find("ovlet " + command + ": "), std::string::npos) << bogus.err;
        EXPECT_NE(bogus.err.find("--bogus-option"), std::string::npos) << bogus.err;
        EXPECT_EQ(bogus.out, "");
    }
}

TEST(OvletCommandLine, WordsToExitCodeAndMessage) {
    test_support::TempFolder dir;
    const std::string d = dir.Path().string();
    struct Case {
        std::vector<std::string> words;
        int code;
        std::string stream;  // "out" or "err"
        std::string message;
        std::string created;  // a file the command must make, relative to the folder
    };
    const Case cases[] = {
        {{}, 1, "err", "Usage: ovlet [OPTIONS] SUBCOMMAND", ""},
        {{"--help"}, 0, "out", "Exit codes: 0 success", ""},
        {{"help"}, 0, "out", "Subcommands:", ""},
        {{"--version"}, 0, "out", "ovlet 0.", ""},
        {{"frobnicate"}, 1, "err", "ovlet: unknown command 'frobnicate'", ""},
        {{"--frobnicate"}, 1, "err", "--frobnicate", ""},
        {{"show"}, 1, "err", "ovlet show: CARD is required", ""},
        {{"show", test_support::kSample, "extra"}, 1, "err", "extra", ""},
        {{"show", "--json", test_support::kSample}, 0, "out", "\"Company\": \"Harbour Light Instruments\"", ""},
        {{"show", test_support::kSample, "--json"}, 0, "out", "\"PictureLength\": 10773", ""},
        {{"show", "--json=1", test_support::kSample}, 0, "out", "\"PictureLength\"", ""},
        // The three forms of an option with a value.
        {{"export", "--vcard", test_support::kSample, "-o", d + "/a.vcf"}, 0, "out", "", "a.vcf"},
        {{"export", "--vcard", test_support::kSample, "-o" + d + "/b.vcf"}, 0, "out", "", "b.vcf"},
        {{"export", "--vcard", test_support::kSample, "--output=" + d + "/c.vcf"}, 0, "out", "", "c.vcf"},
        {{"export", "--vcard", test_support::kSample, "--output", d + "/d.vcf"}, 0, "out", "", "d.vcf"},
        {{"export", "--vcard", test_support::kSample, "-o"}, 1, "err", "--output", ""},
        {{"export", "--vcard", test_support::kSample}, 0, "out", "BEGIN:VCARD", ""},
        {{"export", "--vcard", test_support::kSample, "-o", "-"}, 0, "out", "BEGIN:VCARD", ""},
        {{"export", test_support::kSample}, 1, "err", "--vcard", ""},
        // "--" ends the options: what follows is a file name even with a dash.
        {{"make", "--", "-dash.ovt", "City=Oslo"}, 0, "out", "", "-dash.ovt"},
        {{"make", "-dash.ovt", "City=Oslo"}, 1, "err", "-dash.ovt", ""},
        {{"make", "--output=" + d + "/o.ovt", "City=Oslo"}, 0, "out", "", "o.ovt"},
        {{"make", "-o", d + "/p.ovt", d + "/q.ovt"}, 1, "err", "unexpected argument", ""},
        {{"make"}, 1, "err", "name the card to write", ""},
        {{"make", d + "/n.ovt", "Nickname=x"}, 1, "err", "unknown field 'Nickname'", ""},
        // A value the window could not have typed is kept, and said.
        {{"make", d + "/long.ovt", "City=" + std::string(26, 'c')},
         0,
         "err",
         "warning: City is 26 characters long, over the 25 that can be typed into it; kept in full",
         "long.ovt"},
        {{"make", d + "/limit.ovt", "City=" + std::string(25, 'c')}, 0, "err", "", "limit.ovt"},
        {{"make", "--csv", d + "/x.csv"}, 1, "err", "-o", ""},
        {{"make", "--picture"}, 1, "err", "--picture", ""},
        {{"picture", test_support::kSample}, 1, "err", "name the picture file", ""},
        {{"picture", test_support::kSample, "-o", d + "/p.jpg"}, 0, "out", "", "p.jpg"},
        {{"picture", test_support::kSample, d + "/p2.jpg"}, 0, "out", "", "p2.jpg"},
        {{"import", d + "/x.vcf"}, 1, "err", "--output is required", ""},
        {{"qr", test_support::kSample, "-o", d + "/q.png", "--size", "abc"}, 1, "err", "--size", ""},
        {{"qr", test_support::kSample, "-o", d + "/q.png", "--size=0"}, 1, "err", "--size", ""},
        {{"decode", "x.png", "y.pam", "--depth", "16"}, 1, "err", "--depth", ""},
        {{"decode", "x.png"}, 1, "err", "name the PAM file", ""},
        {{"info"}, 1, "err", "PICTURE is required", ""},
        {{"info", "a", "b"}, 1, "err", "b", ""},
#ifdef OVLET_HAVE_RENDER
        {{"render", test_support::kSample}, 1, "err", "--output is required", ""},
        {{"render", test_support::kSample, "-o", d + "/r.png", "--width=10"}, 1, "err", "--width", ""},
        {{"render", test_support::kSample, "--output=" + d + "/r.png", "--width=300"}, 0, "out", "", "r.png"},
#endif
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& w : c.words) line += w + " ";
        SCOPED_TRACE(line);
        test_support::ToolSetup inFolder;
        inFolder.directory = d;
        const test_support::ToolResult run = test_support::RunTool(OVLET_BIN, c.words, inFolder);
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_NE((c.stream == "out" ? run.out : run.err).find(c.message), std::string::npos)
            << "out: " << run.out << "\nerr: " << run.err;
        if (c.code != 0) {
            EXPECT_NE(run.err, "");
        }
        if (!c.created.empty()) {
            EXPECT_TRUE(fs::exists(dir / c.created)) << c.created;
        }
    }
}

}  // namespace
}  // namespace ovlet::cli
