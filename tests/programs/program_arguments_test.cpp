#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "window/card_app.h"
#include "window/program_arguments.h"

extern char** environ;

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

struct Finished {
    int exitCode = -1;  // -1 when a signal ended the process
    int signal = 0;
    std::string out, err;
};

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program with no display at all: DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM removed, `platform` set as QT_QPA_PLATFORM when given.
Finished RunWithoutDisplay(const std::vector<std::string>& argv, const std::string& platform = "") {
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
            entry.starts_with("QT_QPA_PLATFORM="))
            continue;
        environment.push_back(entry);
    }
    if (!platform.empty()) environment.push_back("QT_QPA_PLATFORM=" + platform);

    const auto dir = std::filesystem::temp_directory_path() / ("ovlet-args-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto outPath = dir / "out", errPath = dir / "err";

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> args, env;
    std::vector<std::string> argvCopy = argv;
    for (auto& a : argvCopy) args.push_back(a.data());
    args.push_back(nullptr);
    for (auto& e : environment) env.push_back(e.data());
    env.push_back(nullptr);

    Finished done;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &files, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&files);
    EXPECT_EQ(spawned, 0) << argv[0];
    if (spawned != 0) return done;
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) done.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) done.signal = WTERMSIG(status);
    done.out = Slurp(outPath);
    done.err = Slurp(errPath);
    std::filesystem::remove_all(dir);
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
    const Finished done = RunWithoutDisplay(c.argv);
    EXPECT_EQ(done.signal, 0) << done.err;
    EXPECT_EQ(done.exitCode, c.exitCode) << done.err;
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
};

INSTANTIATE_TEST_SUITE_P(Flags, ProgramWithoutDisplay, testing::ValuesIn(kProcessCases));

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
        const Finished done = RunWithoutDisplay(argv, "no-such-platform");
        EXPECT_TRUE(done.signal == SIGABRT || done.exitCode > 1) << done.exitCode << " " << done.err;
        EXPECT_EQ(done.out, "");
        EXPECT_NE(done.err.find("no-such-platform"), std::string::npos) << done.err;
        EXPECT_EQ(done.err.find("unknown option"), std::string::npos) << done.err;
    }
}

}  // namespace
