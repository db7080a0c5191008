#include "window/card_app.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QStyleFactory>
#include <memory>

#include "resources/program_resources.h"
#include "window/card_dialog.h"

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
    QApplication app(argc, argv);
    // The same look on every desktop, close to the card window's drawn layout.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    QApplication::setApplicationName(form.viewer ? QStringLiteral("ovview") : QStringLiteral("ovmake"));
    QApplication::setWindowIcon(resources::ProgramIcon(QApplication::applicationName()));
    QApplication::setDesktopFileName(form.viewer ? QStringLiteral("ovview") : QStringLiteral("ovmake"));
    resources::InstallBitmaps();

    std::vector<std::string> arguments(argv, argv + argc);
    std::unique_ptr<CCardDialog> window(form.makeWindow());
    window->Record().CurrentPath = CardFileFromCommandLine(arguments);
    if (form.beforeWindow) form.beforeWindow();
    window->DoModal();
    return 0;
}
