// Start-up of both programs: the command line, the splash (maker only), the
// card window until it ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ovlet::window {

// The card file named on the command line: the arguments after the program
// name joined with single spaces; a name that starts with a double quote loses
// its first and its last character.
std::string CardFileFromCommandLine(const std::vector<std::string>& arguments);

class CCardDialog;

// A system's face while a program runs: installed as it is made, removed as
// it goes.
class ProgramFace {
public:
    virtual ~ProgramFace() = default;
};

// Starts the face for `program` ("ovmake" or "ovview"). `arguments` (the
// program's name first) are those the program left: the face takes its own
// options out of them. Null when there is no desktop to show windows on.
using FaceStart = std::unique_ptr<ProgramFace> (*)(const std::string& program, std::vector<std::string>& arguments);

struct CardAppForm {
    bool viewer = false;
    // Makes the card window of this program (the viewer's form or the maker's).
    CCardDialog* (*makeWindow)() = nullptr;
    // Runs before the card window (the maker's splash); may be null.
    void (*beforeWindow)() = nullptr;
    FaceStart startFace = nullptr;
};

// Runs the program; returns its exit code.
int RunCardApp(int argc, char** argv, const CardAppForm& form);

}  // namespace ovlet::window
