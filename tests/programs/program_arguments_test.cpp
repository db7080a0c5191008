#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_tool.h"
#include "tests/support/test_names.h"
#include "window/card_app.h"
#include "window/program_arguments.h"

namespace ovlet::window {
namespace {

using Outcome = ProgramArguments::Outcome;

// The card name the window gets when Qt takes none of the arguments.
std::string CardName(const ProgramArguments& read) {
    std::vector<std::string> arguments = read.forQt;
    arguments.insert(arguments.end(), read.afterEnd.begin(), read.afterEnd.end());
    return CardFileFromCommandLine(arguments);
}

struct ReadCase {
    std::vector<std::string> argv;
    Outcome outcome;
    std::string card;  // for Run: the card name; otherwise a piece of the text
};

TEST(ProgramArguments, OptionsAndCardNames) {
    const ReadCase cases[] = {
        {{"ovview"}, Outcome::Run, ""},
        {{"ovview", "card.ovt"}, Outcome::Run, "card.ovt"},
        {{"ovview", "My", "Cards/a.ovt"}, Outcome::Run, "My Cards/a.ovt"},
        {{"ovview", "\"My Cards/a.ovt\""}, Outcome::Run, "My Cards/a.ovt"},
        {{"ovview", "-x.ovt"}, Outcome::Run, "-x.ovt"},
        {{"ovview", "-"}, Outcome::Run, "-"},
        {{"ovview", "./--x"}, Outcome::Run, "./--x"},
        {{"ovview", "--", "--x"}, Outcome::Run, "--x"},
        {{"ovview", "--", "--help"}, Outcome::Run, "--help"},
        {{"ovview", "--", "--"}, Outcome::Run, "--"},
        {{"ovview", "--"}, Outcome::Run, ""},
        {{"ovview", "My", "--", "Card.ovt"}, Outcome::Run, "My Card.ovt"},
        {{"ovview", "--", "\"--x y\""}, Outcome::Run, "--x y"},
        {{"ovview", "\"--x\""}, Outcome::Run, "--x"},
        {{"ovview", "--help"}, Outcome::Help, "Usage: ovview [--help | --version] [--] [CARD]"},
        {{"ovview", "--version"}, Outcome::Version, "ovview " OVLET_VERSION "\n"},
        {{"ovview", "card.ovt", "--help"}, Outcome::Help, "Usage: ovview"},
        {{"ovview", "--version", "--bogus"}, Outcome::Version, "ovview " OVLET_VERSION},
        {{"ovview", "--bogus", "--help"}, Outcome::Usage, "unknown option '--bogus'"},
        {{"ovview", "--x"}, Outcome::Usage, "opens as ./--x or after --"},
        {{"ovview", "--help=yes"}, Outcome::Usage, "unknown option '--help=yes'"},
        {{"ovview", "--HELP"}, Outcome::Usage, "unknown option '--HELP'"},
        {{"ovview", "a.ovt", "--x"}, Outcome::Usage, "unknown option '--x'"},
        {{"ovview", "--platform", "offscreen"}, Outcome::Usage, "unknown option '--platform'"},
        {{"ovview", "--\x1b]0;x\x07"}, Outcome::Usage, "'--\\x1b]0;x\\x07'"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.argv) shown += " [" + a + "]";
        SCOPED_TRACE(shown);
        const ProgramArguments read = ReadProgramArguments("ovview", OVLET_VERSION, c.argv);
        ASSERT_EQ(read.outcome, c.outcome) << read.text;
        if (c.outcome == Outcome::Run) {
            EXPECT_EQ(CardName(read), c.card);
        } else {
            EXPECT_NE(read.text.find(c.card), std::string::npos) << read.text;
            EXPECT_EQ(read.text.find('\x1b'), std::string::npos);
        }
    }
}

TEST(ProgramArguments, QtKeepsItsOneDashOptions) {
    const ProgramArguments read =
        ReadProgramArguments("ovmake", OVLET_VERSION, {"ovmake", "-platform", "offscreen", "--", "--a.ovt"});
    ASSERT_EQ(read.outcome, Outcome::Run);
    EXPECT_EQ(read.forQt, (std::vector<std::string>{"ovmake", "-platform", "offscreen"}));
    EXPECT_EQ(read.afterEnd, (std::vector<std::string>{"--a.ovt"}));
}

// Runs a program with no display at all: DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM removed, `platform` set as QT_QPA_PLATFORM when given.
test_support::ToolResult RunWithoutDisplay(const std::vector<std::string>& argv, const std::string& platform = "") {
    test_support::ToolSetup setup;
    setup.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    if (!platform.empty()) setup.variables = {{"QT_QPA_PLATFORM", platform}};
    const test_support::ToolResult done =
        test_support::RunTool(argv.front(), std::vector<std::string>(argv.begin() + 1, argv.end()), setup);
    EXPECT_NE(done.code, 127) << argv.front() << " did not start";
    return done;
}

struct ProcessCase {
    std::vector<std::string> argv;  // argv[0] is the program
    int exitCode;
    std::string out;  // a piece of standard output ("" = must be empty)
    std::string err;  // a piece of standard error ("" = must be empty)
};

class ProgramWithoutDisplay : public testing::TestWithParam<ProcessCase> {};

TEST_P(ProgramWithoutDisplay, AnswersBeforeAnyWindow) {
    const ProcessCase& c = GetParam();
    const test_support::ToolResult done = RunWithoutDisplay(c.argv);
    EXPECT_EQ(done.signal, 0) << done.err;
    EXPECT_EQ(done.code, c.exitCode) << done.err;
    if (c.out.empty()) {
        EXPECT_EQ(done.out, "");
    } else {
        EXPECT_NE(done.out.find(c.out), std::string::npos) << done.out;
    }
    if (c.err.empty()) {
        EXPECT_EQ(done.err, "");
    } else {
        EXPECT_NE(done.err.find(c.err), std::string::npos) << done.err;
    }
}

const ProcessCase kProcessCases[] = {
    {{OVMAKE_BIN, "--help"}, 0, "Usage: ovmake [--help | --version] [--] [CARD]\n", ""},
    {{OVVIEW_BIN, "--help"}, 0, "Usage: ovview [--help | --version] [--] [CARD]\n", ""},
    {{OVMAKE_BIN, "--version"}, 0, "ovmake " OVLET_VERSION "\n", ""},
    {{OVVIEW_BIN, "--version"}, 0, "ovview " OVLET_VERSION "\n", ""},
    {{OVVIEW_BIN, "card.ovt", "--help"}, 0, "Usage: ovview", ""},
    {{OVMAKE_BIN, "--x"}, 1, "", "ovmake: unknown option '--x'\n"},
    {{OVVIEW_BIN, "--x"}, 1, "", "ovview: unknown option '--x'\n"},
    {{OVVIEW_BIN, "My", "--card.ovt"}, 1, "", "opens as ./--card.ovt or after --"},
    {{OVMAKE_BIN, "--help=1"}, 1, "", "unknown option '--help=1'"},
    // What the terminal would act on is shown escaped.
    {{OVVIEW_BIN, "--x\x1b[2J\x7f\u202e"}, 1, "", "unknown option '--x\\x1b[2J\\x7f\\u202e'"},
};

INSTANTIATE_TEST_SUITE_P(Flags, ProgramWithoutDisplay, testing::ValuesIn(kProcessCases),
                         [](const testing::TestParamInfo<ProcessCase>& param) {
                             std::string words = std::filesystem::path(param.param.argv.front()).filename().string();
                             for (auto w = param.param.argv.begin() + 1; w != param.param.argv.end(); ++w)
                                 words += " " + *w;
                             return test_support::TestName(words);
                         });

// A card name that only looks like an option gets past the option reader to
// Qt's start; a platform that does not exist makes Qt stop the program there,
// so no window can wait for a click.
TEST(ProgramWithoutDisplay, CardNamesThatLookLikeOptionsReachTheWindow) {
    const std::vector<std::vector<std::string>> cases = {
        {OVVIEW_BIN, "--", "--help"},
        {OVVIEW_BIN, "./--x"},
        {OVMAKE_BIN, "--", "--version"},
    };
    for (const auto& argv : cases) {
        SCOPED_TRACE(argv[1] + " " + argv.back());
        const test_support::ToolResult done = RunWithoutDisplay(argv, "no-such-platform");
        EXPECT_TRUE(done.signal == SIGABRT || done.code > 1) << done.code << " " << done.err;
        EXPECT_EQ(done.out, "");
        EXPECT_NE(done.err.find("no-such-platform"), std::string::npos) << done.err;
        EXPECT_EQ(done.err.find("unknown option"), std::string::npos) << done.err;
    }
}

}  // namespace
}  // namespace ovlet::window
