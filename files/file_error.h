// How files/ reports a failure, alike on every system: one error type that
// carries the system's own number and the words a user can act on; the calls
// that give something back return it in a Result (files/result.h).
#pragma once

#include <string>

#include "files/result.h"

namespace ovlet::files {

struct FileError {
    // errno on POSIX, GetLastError() on Windows; 0 when the program refused
    // the file itself (a folder, over the limit, cut short).
    int systemCode = 0;
    // "cannot read PATH: REASON", "cannot write PATH: REASON".
    std::string text;

    const std::string& Describe() const { return text; }
};

// The system's own words for one of its error numbers (strerror on POSIX;
// on Windows the few reasons of its own, else the C library's words).
std::string SystemErrorText(int systemCode);

// A value, or the FileError that kept it from being made; Result<void> for
// a write or a sync.
template <class T>
using Result = ovlet::Result<T, FileError>;

}  // namespace ovlet::files
