#include "programs/qt_program.h"

#include <algorithm>

#include "exchange/drawing/card_sheet.h"
#include "platform/qt/program_start.h"
#include "platform/qt/qt_face.h"
#include "programs/program_face.h"
#include "resources/program_pictures.h"
#include "window/card_dialog.h"

namespace ovlet::programs {

namespace drawing = exchange::drawing;

namespace {

std::vector<platform::BitmapFile> Bitmaps() {
    std::vector<platform::BitmapFile> bitmaps;
    for (const resources::BitmapFile& bitmap : resources::ProgramBitmaps())
        bitmaps.push_back({bitmap.id, bitmap.bytes});
    return bitmaps;
}

// Each program's icon, named by the program as the windows ask for it.
std::vector<platform::NamedIcon> Icons() {
    std::vector<platform::NamedIcon> icons;
    for (const resources::IconFile& file : resources::ProgramIcons()) {
        auto icon = std::find_if(icons.begin(), icons.end(),
                                 [&file](const platform::NamedIcon& named) { return named.name == file.program; });
        if (icon == icons.end()) icon = icons.insert(icons.end(), platform::NamedIcon{std::string(file.program), {}});
        icon->sizes.push_back({file.side, file.bytes});
    }
    return icons;
}

platform::ProgramLook LookOf(const std::string& program) {
    platform::ProgramLook look;
    look.applicationName = program;
    // The launcher of each program (desktop/), so that a desktop pairs the window with its icon.
    look.desktopFileName = program == "ovview" ? "app.ovlet.Card" : "app.ovlet.CardMaker";
    // The same look on every desktop, close to the card window's drawn layout.
    look.style = "Fusion";
    look.icons = Icons();
    look.windowIcon = program;
    look.bitmaps = Bitmaps();
    return look;
}

class QtProgram : public window::ProgramFace {
public:
    QtProgram(const std::string& program, std::vector<std::string>& arguments) : start(LookOf(program), arguments) {
        InstallQtCardSheetPainter();
    }

    ~QtProgram() override { window::SetCardSheetPainter(nullptr); }

private:
    platform::QtProgramStart start;
};

}  // namespace

void InstallQtProgramPictures() {
    platform::InstallBitmapResources(Bitmaps());
    platform::InstallIcons(Icons());
}

void InstallQtCardSheetPainter() {
    window::SetCardSheetPainter([](platform::PrintSurface& page, const card::CardRecord& card, platform::Paper paper) {
        drawing::DrawCardSheetOn(page.painter, card,
                                 paper == platform::Paper::Letter ? drawing::Sheet::Letter : drawing::Sheet::A4);
    });
}

std::unique_ptr<window::ProgramFace> StartQtFace(const std::string& program, std::vector<std::string>& arguments) {
    return std::make_unique<QtProgram>(program, arguments);
}

std::unique_ptr<window::ProgramFace> StartProgramFace(const std::string& program, std::vector<std::string>& arguments) {
    return StartQtFace(program, arguments);
}

}  // namespace ovlet::programs
