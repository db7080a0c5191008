// Programs run as a script runs them, on Windows: CreateProcessW with pipes
// for the three streams, each output read on its own thread. A shell command
// goes to cmd.exe. What only POSIX offers (another user, limits on file size
// and memory) is not set up: the tests that need it are POSIX tests.
#include <windows.h>

#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "files/utf16.h"
#include "tests/support/run_tool.h"

namespace ovlet::test_support {
namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = files::Utf16FromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

// One word as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) return word;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
        else out.append(backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    out += L'"';
    return out;
}

void Drain(HANDLE pipe, std::string& sink) {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) sink.append(buffer, got);
}

ToolResult Run(const std::wstring& application, std::wstring commandLine, const ToolSetup& setup) {
    ToolResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite, errRead, errWrite;
    if (!::CreatePipe(&inRead, &inWrite, &inherit, 0)) return result;
    ::CreatePipe(&outRead, &outWrite, &inherit, 0);
    ::CreatePipe(&errRead, &errWrite, &inherit, 0);
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    std::wstring environment;
    const bool ownEnvironment = !setup.unset.empty() || !setup.variables.empty();
    if (ownEnvironment) {
        wchar_t* block = ::GetEnvironmentStringsW();
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
            const std::wstring text = entry;
            bool drop = false;
            for (const std::string& name : setup.unset) drop = drop || _wcsnicmp(text.c_str(), (Wide(name) + L"=").c_str(), name.size() + 1) == 0;
            for (const auto& variable : setup.variables) {
                drop = drop || _wcsnicmp(text.c_str(), (Wide(variable.first) + L"=").c_str(), variable.first.size() + 1) == 0;
            }
            if (!drop) environment += text + L'\0';
        }
        ::FreeEnvironmentStringsW(block);
        for (const auto& [name, value] : setup.variables) environment += Wide(name) + L"=" + Wide(value) + L'\0';
        environment += L'\0';
    }

    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = inRead;
    start.hStdOutput = outWrite;
    start.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const std::wstring directory = Wide(setup.directory);
    const BOOL started = ::CreateProcessW(application.empty() ? nullptr : application.c_str(), commandLine.data(), nullptr,
                                          nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                          ownEnvironment ? environment.data() : nullptr,
                                          directory.empty() ? nullptr : directory.c_str(), &start, &process);
    ::CloseHandle(inRead);
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    if (!started) {
        ::CloseHandle(inWrite);
        ::CloseHandle(outRead);
        ::CloseHandle(errRead);
        result.code = 127;
        return result;
    }
    std::thread out(Drain, outRead, std::ref(result.out));
    std::thread err(Drain, errRead, std::ref(result.err));
    std::size_t done = 0;
    while (done < setup.input.size()) {
        DWORD wrote = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(setup.input.size() - done, 1 << 16));
        if (!::WriteFile(inWrite, setup.input.data() + done, want, &wrote, nullptr) || wrote == 0) break;
        done += wrote;
    }
    ::CloseHandle(inWrite);
    out.join();
    err.join();
    ::CloseHandle(outRead);
    ::CloseHandle(errRead);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    result.code = static_cast<int>(code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return result;
}

// The words of a command line that needs no shell: split at blanks, with
// 'single' or "double" quotes holding a word together. Nothing when the line
// redirects, pipes, chains or expands something: that is the shell's work.
std::optional<std::vector<std::string>> PlainWords(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : command) {
        if (quote != 0) {
            if (c == quote) quote = 0;
            else word += c;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (std::string_view("|&;<>()^%$`*?!").find(c) != std::string_view::npos) {
            return std::nullopt;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0 || (!inWord && words.empty())) return std::nullopt;
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace

bool LinuxPeersRun() {
    return false;
}

bool RunningAsRoot() {
    return false;
}

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args, const ToolSetup& setup) {
    std::wstring line = Quoted(Wide(program));
    for (const std::string& arg : args) line += L" " + Quoted(Wide(arg));
    return Run(Wide(program), line, setup);
}

ToolResult RunShell(const std::string& command, const ToolSetup& setup) {
    // A plain command naming a program file starts it directly: Wine's cmd.exe
    // now and then fails to find a program named by a full path, and a shell
    // with nothing to do adds nothing. Built-in commands still go to cmd.exe.
    const auto words = PlainWords(command);
    if (words && words->front().size() > 4 && _stricmp(words->front().c_str() + words->front().size() - 4, ".exe") == 0) {
        return RunTool(words->front(), {words->begin() + 1, words->end()}, setup);
    }
    std::string line;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command.compare(i, 9, "/dev/null") == 0) {
            line += "NUL";
            i += 8;
        } else {
            line += command[i] == '\'' ? '"' : command[i];
        }
    }
    // cmd /s /c "..." takes everything between the outer quotes as it is.
    return Run(L"", L"cmd.exe /s /c \"" + Wide(line) + L"\"", setup);
}

}  // namespace ovlet::test_support
