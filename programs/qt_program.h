// The Qt face of the programs on Linux: the toolkit, its look, the programs'
// pictures and names on the desktop, and printing through Qt's painter.
#pragma once

#include "window/card_app.h"

namespace ovlet::programs {

std::unique_ptr<window::ProgramFace> StartQtFace(const std::string& program, std::vector<std::string>& arguments);

// The programs' toolbar bitmaps and icons, as the Qt face's bitmap resources
// and the icons its dialogs show by program name.
void InstallQtProgramPictures();

// Printed cards: ten to a sheet, drawn by Qt's painter on the printer's page.
void InstallQtCardSheetPainter();

}  // namespace ovlet::programs
