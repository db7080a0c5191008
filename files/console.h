// The program's side of the console: its arguments and its standard streams.
//
// Arguments arrive as UTF-8 on every system (on Windows from the wide command
// line, so that any file name can be given). The standard streams carry bytes
// exactly (on Windows in binary mode: no CR is added before a line feed of a
// card, a picture or a vCard sent to "-"). Text written with WriteText shows
// as its characters on a console; to a file or a pipe it goes as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ovlet::files {

enum class StandardStream { Input, Output, Error };

// Sets the standard streams up for bytes; call once, first thing in main.
void SetUpStandardStreams();

// The program's arguments in UTF-8, the program's name first.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Whether the stream is a terminal (a console on Windows).
bool IsTerminal(StandardStream stream);

// Writes UTF-8 text to standard output or standard error (the C library's
// stream, flushed first, so that text keeps its order with printf's).
bool WriteText(StandardStream stream, std::string_view utf8);

}  // namespace ovlet::files
