#include <unistd.h>

#include <cstdio>

#include "files/console.h"

namespace ovlet::files {

void SetUpStandardStreams() {}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

bool IsTerminal(StandardStream stream) {
    return ::isatty(static_cast<int>(stream)) == 1;
}

bool WriteText(StandardStream stream, std::string_view utf8) {
    std::FILE* file = stream == StandardStream::Error ? stderr : stdout;
    return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size();
}

}  // namespace ovlet::files
