// The face a program runs on, as the system it is built for has it: Qt on
// Linux, the Win32 dialogs on Windows (the build picks the file).
#pragma once

#include "window/card_app.h"

namespace ovlet::programs {

std::unique_ptr<window::ProgramFace> StartProgramFace(const std::string& program, std::vector<std::string>& arguments);

}  // namespace ovlet::programs
