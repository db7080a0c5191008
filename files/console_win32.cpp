#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "files/console.h"
#include "files/utf16.h"

namespace ovlet::files {
namespace {

HANDLE HandleOf(StandardStream stream) {
    switch (stream) {
        case StandardStream::Input: return ::GetStdHandle(STD_INPUT_HANDLE);
        case StandardStream::Output: return ::GetStdHandle(STD_OUTPUT_HANDLE);
        case StandardStream::Error: return ::GetStdHandle(STD_ERROR_HANDLE);
    }
    return INVALID_HANDLE_VALUE;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

void SetUpStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> words;
    words.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        words.push_back(Utf8FromUtf16(reinterpret_cast<const char16_t*>(wide[i])));
    }
    ::LocalFree(wide);
    return words;
}

bool IsTerminal(StandardStream stream) {
    return IsConsole(HandleOf(stream));
}

bool WriteText(StandardStream stream, std::string_view utf8) {
    std::FILE* file = stream == StandardStream::Error ? stderr : stdout;
    const HANDLE handle = HandleOf(stream);
    if (!IsConsole(handle)) return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size();
    // A console shows characters, whatever its code page: write them wide.
    std::fflush(file);
    const std::u16string wide = Utf16FromUtf8(utf8);
    std::size_t done = 0;
    while (done < wide.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192));
        DWORD wrote = 0;
        if (!::WriteConsoleW(handle, wide.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

}  // namespace ovlet::files
