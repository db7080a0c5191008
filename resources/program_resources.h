// The pictures built into the programs: toolbar bitmaps and program icons.
#pragma once

#include <QIcon>
#include <QString>

namespace ovlet::resources {

// Makes the toolbar bitmaps the program's bitmap resources, and the program
// icons the icons the Qt face's dialogs show by program name.
void InstallBitmaps();

// Icon 128 of a program ("ovmake" or "ovview"), in all its sizes.
QIcon ProgramIcon(const QString& program);

}  // namespace ovlet::resources
