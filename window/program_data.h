// The files the programs read from their data folder: the splash picture and
// the manual.
#pragma once

#include <string>

namespace ovlet::window {

// The installed data folder (share/ovlet beside the program's bin folder, or
// the program's own folder on Windows), or the sources when the program runs
// from its build folder.
std::string ProgramDataFile(const std::string& name);

// A file of the data folder in the current language where one is written for
// it: "ovmake-help.html" becomes "ovmake-help_de.html" in German.
std::string LocalizedDataFile(const std::string& name);

}  // namespace ovlet::window
