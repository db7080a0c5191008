// Text the tool prints: to a console as characters (a name like Müller_名刺
// shows as itself on Windows too), to a file or a pipe as UTF-8 bytes.
#pragma once

namespace ovlet::cli {

// printf to standard output, and to standard error.
[[gnu::format(gnu_printf, 1, 2)]] void Print(const char* format, ...);
[[gnu::format(gnu_printf, 1, 2)]] void PrintError(const char* format, ...);

// A trace line of the picture library on standard error, made safe for a
// terminal (a file name in it may hold anything).
void PrintTraceLine(const char* text);

}  // namespace ovlet::cli
