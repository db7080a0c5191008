#include "programs/qt_program.h"

#include "programs/program_face.h"

#include <QApplication>
#include <QStyleFactory>

#include "exchange/drawing/card_sheet.h"
#include "platform/qt/font_start.h"
#include "platform/qt/qt_face.h"
#include "resources/program_resources.h"
#include "window/card_dialog.h"

namespace drawing = ovlet::exchange::drawing;
namespace resources = ovlet::resources;
using ovlet::card::CardRecord;

namespace {

class QtProgram : public ProgramFace {
public:
    QtProgram(const std::string& program, std::vector<std::string>& arguments) : forQt(arguments) {
        for (std::string& argument : forQt) qtArgv.push_back(argument.data());
        qtArgv.push_back(nullptr);
        qtArgc = static_cast<int>(forQt.size());
        app = std::make_unique<QApplication>(qtArgc, qtArgv.data());
        platform::InstallFace(&face);
        // The same look on every desktop, close to the card window's drawn layout.
        if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
        const QString name = QString::fromStdString(program);
        QApplication::setApplicationName(name);
        QApplication::setWindowIcon(resources::ProgramIcon(name));
        // The launcher of each program (desktop/), so that a desktop pairs the window with its icon.
        QApplication::setDesktopFileName(program == "ovview" ? QStringLiteral("app.ovlet.Card")
                                                             : QStringLiteral("app.ovlet.CardMaker"));
        resources::InstallBitmaps();
        InstallQtCardSheetPainter();
        // What Qt left of its options.
        arguments.assign(qtArgv.data(), qtArgv.data() + qtArgc);
        fonts.Wait();
    }

    ~QtProgram() override {
        SetCardSheetPainter(nullptr);
        platform::InstallFace(nullptr);
    }

private:
    // The fonts are read while the display is connected and the toolkit loads.
    platform::FontSetUp fonts;
    std::vector<std::string> forQt;
    std::vector<char*> qtArgv;
    int qtArgc = 0;
    std::unique_ptr<QApplication> app;
    platform::QtFace face;
};

}  // namespace

void InstallQtCardSheetPainter() {
    SetCardSheetPainter([](platform::PrintSurface& page, const CardRecord& card, platform::Paper paper) {
        drawing::SheetLayout layout;
        layout.sheet = paper == platform::Paper::Letter ? drawing::Sheet::Letter : drawing::Sheet::A4;
        // A picture that cannot be decoded leaves its place on the card empty, as the preview shows.
        std::string warning;
        const QImage picture = drawing::PrintPicture(card, layout, warning);
        drawing::DrawCardSheet(page.painter, card, layout, picture);
    });
}

std::unique_ptr<ProgramFace> StartQtFace(const std::string& program, std::vector<std::string>& arguments) {
    return std::make_unique<QtProgram>(program, arguments);
}

std::unique_ptr<ProgramFace> StartProgramFace(const std::string& program, std::vector<std::string>& arguments) {
    return StartQtFace(program, arguments);
}
