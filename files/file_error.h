// How files/ reports a failure, alike on every system: one error type that
// carries the system's own number and the words a user can act on, and one
// result type (a value, or that error) for the calls that give something
// back.
#pragma once

#include <string>
#include <utility>
#include <variant>

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

// A value, or the error that kept it from being made.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state(std::in_place_index<0>, std::move(value)) {}
    Result(FileError error) : state(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return state.index() == 0; }
    T& Value() & { return std::get<0>(state); }
    const T& Value() const& { return std::get<0>(state); }
    T&& Value() && { return std::get<0>(std::move(state)); }
    const FileError& Error() const { return std::get<1>(state); }

private:
    std::variant<T, FileError> state;
};

// Success, or the error.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(FileError error) : failed(true), failure(std::move(error)) {}

    explicit operator bool() const { return !failed; }
    const FileError& Error() const { return failure; }

private:
    bool failed = false;
    FileError failure;
};

}  // namespace ovlet::files
