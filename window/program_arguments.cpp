#include "window/program_arguments.h"

#include "files/terminal_text.h"

namespace ovlet::window {
namespace {

std::string HelpText(std::string_view program) {
    const bool viewer = program == "ovview";
    std::string text = "Usage: " + std::string(program) + " [--help | --version] [--] [CARD]\n";
    text += viewer ? "Shows an electronic business card (.ovt file): its picture, a summary of the\n"
                     "company and the contact with web-site and e-mail links, and its free text.\n"
                   : "Makes and edits an electronic business card (.ovt file): company and contact\n"
                     "details, a free text and one picture. A splash window shows first.\n";
    text +=
        "\n"
        "CARD is the rest of the command line taken as one file name: spaces stay part of\n"
        "it, and a name that starts with a double quote loses its first and last character.\n";
    text += viewer ? "Without CARD the viewer shows an empty card.\n" : "Without CARD the maker starts a new card.\n";
    text +=
        "\n"
        "  --help      show this help and exit\n"
        "  --version   show the version and exit\n"
        "  --          end of options: the card name follows, even if it starts with --\n"
        "\n"
        "Any other argument starting with -- is an error (exit code 1); a card named so\n"
        "opens as ./--NAME or after --. Qt's own options are taken in their one-dash\n"
        "form, for example -platform offscreen.\n";
    return text;
}

}  // namespace

ProgramArguments ReadProgramArguments(std::string_view program, std::string_view version,
                                      const std::vector<std::string>& argv) {
    ProgramArguments result;
    std::size_t i = 0;
    if (!argv.empty()) result.forQt.push_back(argv[i++]);
    for (; i < argv.size(); ++i) {
        const std::string& argument = argv[i];
        if (argument == "--") {
            result.afterEnd.assign(argv.begin() + static_cast<std::ptrdiff_t>(i) + 1, argv.end());
            break;
        }
        if (argument.starts_with("--")) {
            if (argument == "--help") {
                result.outcome = ProgramArguments::Outcome::Help;
                result.text = HelpText(program);
            } else if (argument == "--version") {
                result.outcome = ProgramArguments::Outcome::Version;
                result.text = std::string(program) + " " + std::string(version) + "\n";
            } else {
                // Control characters and text-reordering marks cannot drive the terminal.
                const std::string shown = files::TerminalSafe(argument);
                result.outcome = ProgramArguments::Outcome::Usage;
                result.text = std::string(program) + ": unknown option '" + shown + "'\n" +
                              "A card named so opens as ./" + shown + " or after --. Try '" + std::string(program) +
                              " --help'.\n";
            }
            return result;
        }
        result.forQt.push_back(argument);
    }
    return result;
}

}  // namespace ovlet::window
