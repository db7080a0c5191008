// Files the maker reads from its data folder: the splash picture and the manual.
#pragma once

#include <QString>

// The installed data folder (share/ovlet beside the program's bin folder),
// or the source tree's when the program runs from its build folder.
QString MakerDataFile(const QString& name);
