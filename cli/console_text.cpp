#include "cli/console_text.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "files/console.h"
#include "files/terminal_text.h"

namespace ovlet::cli {
namespace {

void PrintTo(files::StandardStream stream, const char* format, std::va_list args) {
    std::va_list again;
    va_copy(again, args);
    char small[512];
    const int length = std::vsnprintf(small, sizeof small, format, args);
    if (length < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        files::WriteText(stream, std::string_view(small, static_cast<std::size_t>(length)));
    } else {
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(length));
        files::WriteText(stream, text);
    }
    va_end(again);
}

}  // namespace

void Print(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    PrintTo(files::StandardStream::Output, format, args);
    va_end(args);
}

void PrintError(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    PrintTo(files::StandardStream::Error, format, args);
    va_end(args);
}

void PrintTraceLine(const char* text) {
    files::WriteText(files::StandardStream::Error, files::TerminalSafe(text ? text : "", true));
}

}  // namespace ovlet::cli
