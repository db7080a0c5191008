// The options of ovmake and ovview, read before any window or display exists,
// so that --help and --version work on a machine without a desktop.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ovlet::window {

struct ProgramArguments {
    enum class Outcome {
        Run,      // open the card window
        Help,     // print text to standard output, exit 0
        Version,  // print text to standard output, exit 0
        Usage,    // print text to standard error, exit 1
    };
    Outcome outcome = Outcome::Run;
    std::string text;
    // The program name and the arguments before "--": Qt takes its own
    // one-dash options from these; what it leaves starts the card name.
    std::vector<std::string> forQt;
    // The arguments after "--": the end of the card name, whatever they look like.
    std::vector<std::string> afterEnd;
};

// Looks at every argument before the first "--": "--help" and "--version" are
// answered, any other argument starting with "--" is a usage error; the first
// of these decides. Everything else is left for the card name, which is the
// rest of the command line joined into one (see CardFileFromCommandLine).
// `program` is "ovmake" or "ovview"; `version` the release number.
ProgramArguments ReadProgramArguments(std::string_view program, std::string_view version,
                                      const std::vector<std::string>& argv);

}  // namespace ovlet::window
