#include "platform/qt/program_start.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "platform/qt/font_start.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/template_dialog.h"

namespace ovlet::platform {

// Members in the order they start: the fonts are read while the display is
// connected and the toolkit loads.
struct QtProgramStart::Running {
    explicit Running(std::vector<std::string>& arguments) : forQt(arguments) {
        for (std::string& argument : forQt) qtArgv.push_back(argument.data());
        qtArgv.push_back(nullptr);
        qtArgc = static_cast<int>(forQt.size());
        app = std::make_unique<QApplication>(qtArgc, qtArgv.data());
    }

    FontSetUp fonts;
    std::vector<std::string> forQt;
    std::vector<char*> qtArgv;
    int qtArgc = 0;
    std::unique_ptr<QApplication> app;
    QtFace face;
};

QtProgramStart::QtProgramStart(const ProgramLook& look, std::vector<std::string>& arguments)
    : running(std::make_unique<Running>(arguments)) {
    InstallFace(&running->face);
    if (!look.style.empty()) {
        if (QStyle* style = QStyleFactory::create(QString::fromStdString(look.style))) QApplication::setStyle(style);
    }
    QApplication::setApplicationName(QString::fromStdString(look.applicationName));
    InstallIcons(look.icons);
    QApplication::setWindowIcon(IconOf(look.windowIcon));
    QApplication::setDesktopFileName(QString::fromStdString(look.desktopFileName));
    InstallBitmapResources(look.bitmaps);
    // What the toolkit left of its options.
    arguments.assign(running->qtArgv.data(), running->qtArgv.data() + running->qtArgc);
    running->fonts.Wait();
}

QtProgramStart::~QtProgramStart() {
    InstallBitmapResources({});
    InstallIcons({});
    InstallFace(nullptr);
}

}  // namespace ovlet::platform
