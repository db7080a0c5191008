// The program's built-in pictures: bitmap resources by id, the program icon.
#pragma once

#include <QIcon>

namespace platform {

// Makes the built-in bitmaps available to CWinBmp::LoadFromResource.
void InstallBitmapResources();

// Icon 128 of the maker or of the viewer, in all its sizes.
QIcon ProgramIcon(bool viewer);

}  // namespace platform
