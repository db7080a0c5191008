// The files the programs read from their data folder: the splash picture and
// the manual.
#pragma once

#include <QString>

// The installed data folder (share/ovlet beside the program's bin folder), or
// the sources when the program runs from its build folder.
QString ProgramDataFile(const QString& name);
