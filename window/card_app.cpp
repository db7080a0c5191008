#include "window/card_app.h"

#include <cstdio>

#include "platform/face.h"
#include "window/card_dialog.h"
#include "window/program_arguments.h"
#include "window/translations.h"

namespace ovlet::window {

std::string CardFileFromCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (i > 1) line += ' ';
        line += arguments[i];
    }
    if (!line.empty() && line.front() == '"') {
        line = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
    }
    return line;
}

int RunCardApp(int argc, char** argv, const CardAppForm& form) {
    const std::string program = form.viewer ? "ovview" : "ovmake";
    // The options first: --help and --version need no display.
    const ProgramArguments options =
        ReadProgramArguments(program, OVLET_VERSION, std::vector<std::string>(argv, argv + argc));
    switch (options.outcome) {
        case ProgramArguments::Outcome::Help:
        case ProgramArguments::Outcome::Version:
            std::fputs(options.text.c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        case ProgramArguments::Outcome::Usage:
            std::fputs(options.text.c_str(), stderr);
            return 1;
        case ProgramArguments::Outcome::Run:
            break;
    }
    std::vector<std::string> arguments = options.forQt;
    std::unique_ptr<ProgramFace> face = form.startFace(program, arguments);
    if (!face) return 1;
    // The user's language, as the system names it; English without a catalogue.
    InstallTranslations(UserLanguage());
    // What the face left of its options, then everything after "--": the card name.
    arguments.insert(arguments.end(), options.afterEnd.begin(), options.afterEnd.end());
    std::unique_ptr<CCardDialog> window(form.makeWindow());
    window->Record().CurrentPath = CardFileFromCommandLine(arguments);
    if (form.beforeWindow) form.beforeWindow();
    window->DoModal();
    window.reset();
    face.reset();
    return 0;
}

}  // namespace ovlet::window
