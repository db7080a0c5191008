#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "picture/text_exception.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::cli {

void AddCardArgument(CLI::App& command, std::string& card) {
    command.add_option("CARD", card, "The card file (.ovt)")->required();
}

void AddOutputOption(CLI::App& command, std::string& output, const std::string& description,
                     const std::string& typeName) {
    command.add_option("-o,--output", output, description)->type_name(typeName)->required();
}

CommandLine::CommandLine(const std::string& program, const std::string& description)
    : programName(program), app(std::make_unique<CLI::App>(description, program)) {
    app->set_version_flag("--version", program + " " + OVLET_VERSION, "Print the version and exit");
    app->require_subcommand(1);
    // The same words mean the same on every system: "/path" is a file, never
    // a Windows-style option (CLI11's default on Windows).
    app->allow_windows_style_options(false);
    app->add_flag("--verbose", verboseFlag,
                  catalogue::TranslateLater(
                      "ovlet", "Show the picture decoders' progress on standard error (as OVLET_TRACE=1 does)"));
}

CommandLine::~CommandLine() = default;

CLI::App& CommandLine::Tool() {
    return *app;
}

bool CommandLine::Verbose() const {
    const char* trace = std::getenv("OVLET_TRACE");
    return verboseFlag || (trace && *trace && std::string_view(trace) != "0");
}

void CommandLine::AddEntry(CLI::App* command, std::function<int()> run) {
    entries.push_back({command, std::move(run)});
}

void CommandLine::AddHandedOver(const std::string& name, const std::string& description,
                                std::function<int(const std::vector<std::string>& args)> run) {
    CLI::App* command = app->add_subcommand(name, description);
    // No parsing here: the other program reads the words, --help included.
    command->prefix_command();
    command->set_help_flag();
    AddEntry(command, [command, run] { return run(command->remaining()); });
}

void CommandLine::SetFooter(const std::string& footer) {
    app->footer(footer);
}

namespace {

// CLI11's headings of the option and command groups.
std::string GroupHeading(const std::string& group) {
    if (group == "Options") return catalogue::Translate("ovlet", "Options");
    if (group == "Subcommands") return catalogue::Translate("ovlet", "Subcommands");
    return group;
}

}  // namespace

// The help in the language set: CLI11's own words, the tool's description
// and footer, each command's one-line description, the group headings.
// Options of the commands keep their English descriptions.
void CommandLine::TranslateHelp() {
    if (catalogue::Language().empty()) return;
    const auto tr = [](const std::string& text) { return catalogue::Translate("ovlet", text); };
    const std::shared_ptr<CLI::Formatter> formatter = std::make_shared<CLI::Formatter>();
    for (const char* label :
         {catalogue::TranslateLater("ovlet", "Usage"), catalogue::TranslateLater("ovlet", "OPTIONS"),
          catalogue::TranslateLater("ovlet", "SUBCOMMAND"), catalogue::TranslateLater("ovlet", "Positionals"),
          catalogue::TranslateLater("ovlet", "REQUIRED")}) {
        formatter->label(label, tr(label));
    }
    app->description(tr(app->get_description()));
    app->footer(tr(app->get_footer()));
    app->set_help_flag("-h,--help", catalogue::Translate("ovlet", "Print this help message and exit"));
    app->set_version_flag("--version", programName + " " + OVLET_VERSION,
                          catalogue::Translate("ovlet", "Print the version and exit"));
    // Made again after the help and version flags, so the options stay in
    // the English order.
    CLI::Option* verbose = app->get_option("--verbose");
    const std::string verboseText = tr(verbose->get_description());
    app->remove_option(verbose);
    app->add_flag("--verbose", verboseFlag, verboseText);
    std::vector<CLI::App*> apps{app.get()};
    for (CLI::App* command : app->get_subcommands({})) {
        apps.push_back(command);
        command->description(tr(command->get_description()));
        command->group(GroupHeading(command->get_group()));
        if (CLI::Option* help = command->get_help_ptr()) help->description(tr(help->get_description()));
    }
    for (CLI::App* each : apps) {
        each->formatter(formatter);
        for (CLI::Option* option : each->get_options({})) option->group(GroupHeading(option->get_group()));
    }
}

int CommandLine::Run(int argc, char** argv) {
    TranslateHelp();
    try {
        return FinishStandardOutput(Dispatch(argc, argv));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: not enough memory\n", programName.c_str());
        return kExitFile;
    } catch (const std::filesystem::filesystem_error& e) {
        std::fprintf(stderr, "%s: %s\n", programName.c_str(), e.what());
        return kExitFile;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", programName.c_str(), e.what());
        return kExitUsage;
    }
}

// What a command printed is only written once standard output is flushed and
// closed: a listing lost on a full disk or a closed pipe is a failure, said
// on standard error, not a success.
int CommandLine::FinishStandardOutput(int code) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    int error = errno;
    const bool closed = flushed && std::fclose(stdout) == 0;
    if (flushed && !closed) error = errno;
    if (flushed && closed) return code;
    if (error != 0) {
        std::fprintf(stderr, "%s: cannot write standard output: %s\n", programName.c_str(), std::strerror(error));
    } else {
        std::fprintf(stderr, "%s: cannot write standard output\n", programName.c_str());
    }
    return code == kExitOk ? kExitFile : code;
}

int CommandLine::Dispatch(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(app->help().c_str(), stderr);
        return kExitUsage;
    }
    std::vector<std::string> words(argv, argv + argc);
    // "help" and "help COMMAND" are the same as --help.
    if (words[1] == "help") {
        words.erase(words.begin() + 1);
        if (words.size() > 2) words.resize(2);
        words.push_back("--help");
    }
    const std::string& first = words[1];
    if (!first.empty() && first[0] != '-') {
        bool known = false;
        for (const auto& entry : entries) known = known || entry.command->get_name() == first;
        if (!known) {
            std::fprintf(stderr, "%s: unknown command '%s' (try '%s --help')\n", programName.c_str(), first.c_str(),
                         programName.c_str());
            return kExitUsage;
        }
    }
    // CLI11 takes the words after the program name, last first.
    std::vector<std::string> reversed(words.rbegin(), words.rend() - 1);
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        return app->exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app->exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app->exit(e);
    } catch (const CLI::ParseError& e) {
        std::string who = programName;
        std::string help = programName + " --help";
        const CLI::App* failed = app.get();
        for (const CLI::App* command : app->get_subcommands()) {
            who += " " + command->get_name();
            help = programName + " " + command->get_name() + " --help";
            failed = command;
        }
        // A word that is not an option of the command is named first, before
        // a value the command misses (which it may have meant to give).
        std::string message = e.what();
        const std::vector<std::string> extras = failed->remaining();
        if (!extras.empty()) message = "The following argument was not expected: " + extras.front();
        std::fprintf(stderr, "%s: %s\nRun '%s' for its usage.\n", who.c_str(), message.c_str(), help.c_str());
        return kExitUsage;
    }
    if (Verbose()) {
        picture::SetTraceSink(PrintTraceLine);
        picture::SetTraceLevel(picture::kTraceAll);
    }
    for (const auto& entry : entries) {
        if (entry.command->parsed()) return entry.run();
    }
    return kExitUsage;
}

}  // namespace ovlet::cli
