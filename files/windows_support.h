// What the Windows implementations of files/ share (included only by the
// *_win32.cpp files): wide paths for the system's calls and its error numbers
// in the C library's terms, so that messages read as on Linux.
#pragma once

#include <windows.h>

#include <string>

namespace ovlet::files::windows {

// The UTF-8 path as Windows takes it: wide, and, when it is longer than the
// old 260-character limit, made absolute with the "\\?\" prefix (which also
// turns each '/' into '\').
std::wstring WidePath(const std::string& utf8);

// The C library's error number for a Windows error (ENOENT, EACCES, ENOSPC,
// ...), so that strerror gives the reason as the POSIX build words it.
int ErrnoFromWindows(DWORD error);

// A reason for the Windows errors that have no error number of their own
// ("the file is open in another program"), else strerror of the number.
std::string ReasonFromWindows(DWORD error);

// Whether the last part of a path is a device name that every folder holds on
// Windows (CON, NUL, COM1, LPT1, ... with any extension), or the path names
// the device namespace ("\\.\").
bool NamesDevice(const std::string& utf8);

}  // namespace ovlet::files::windows
