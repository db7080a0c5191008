#include "window/card_app.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/qt/font_start.h"
#include "platform/qt/qt_face.h"
#include "resources/program_resources.h"
#include "window/card_dialog.h"
#include "window/program_arguments.h"
#include "window/translations.h"

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
    // The options first: --help and --version need no display.
    const ProgramArguments options = ReadProgramArguments(form.viewer ? "ovview" : "ovmake", OVLET_VERSION,
                                                          std::vector<std::string>(argv, argv + argc));
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
    // The fonts are read while the display is connected and the toolkit loads.
    platform::FontSetUp fonts;
    std::vector<std::string> forQt = options.forQt;
    std::vector<char*> qtArgv;
    for (std::string& argument : forQt) qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(forQt.size());
    QApplication app(qtArgc, qtArgv.data());
    platform::QtFace face;
    platform::InstallFace(&face);
    // The same look on every desktop, close to the card window's drawn layout.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    QApplication::setApplicationName(form.viewer ? QStringLiteral("ovview") : QStringLiteral("ovmake"));
    QApplication::setWindowIcon(resources::ProgramIcon(QApplication::applicationName()));
    // The launcher of each program (desktop/), so that a desktop pairs the window with its icon.
    QApplication::setDesktopFileName(form.viewer ? QStringLiteral("app.ovlet.Card")
                                                 : QStringLiteral("app.ovlet.CardMaker"));
    resources::InstallBitmaps();
    // The user's language, as the environment names it; English without a catalogue.
    InstallTranslations(UserLanguage());

    // What Qt left of its options, then everything after "--": the card name.
    std::vector<std::string> arguments(qtArgv.data(), qtArgv.data() + qtArgc);
    arguments.insert(arguments.end(), options.afterEnd.begin(), options.afterEnd.end());
    fonts.Wait();
    std::unique_ptr<CCardDialog> window(form.makeWindow());
    window->Record().CurrentPath = CardFileFromCommandLine(arguments);
    if (form.beforeWindow) form.beforeWindow();
    window->DoModal();
    window.reset();
    platform::InstallFace(nullptr);
    return 0;
}
