// What the tests of the ovlet tool share (programs made with ovlet_tool_test,
// which defines OVLET_BIN and OVLET_SAMPLES_DIR): the tool run as a script
// runs it, the sample card and its picture, scratch folders.
#pragma once

#include <string>

#include "tests/support/run_tool.h"
#include "tests/support/test_files.h"

namespace ovlet::test_support {

inline const std::string kSample = std::string(OVLET_SAMPLES_DIR) + "/sample.ovt";
inline const std::string kPicture = std::string(OVLET_SAMPLES_DIR) + "/sample.jpg";

// Runs ovlet with words a shell splits: quotes, redirections and pipes work.
inline ToolResult Ovlet(const std::string& args) {
    return RunShell(std::string(OVLET_BIN) + " " + args);
}

}  // namespace ovlet::test_support
