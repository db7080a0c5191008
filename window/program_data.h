// The files the programs read from their data folder: the splash picture, the
// manual and the translations.
#pragma once

#include <QString>

// The installed data folder (share/ovlet beside the program's bin folder), or
// the build's own places when the program runs from its build folder. `name`
// may name a file in a sub-folder ("translations/ovlet_de.qm").
QString ProgramDataFile(const QString& name);
