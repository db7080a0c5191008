// The reader, the writer and the console on Windows (run under Wine in CI).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "files/console.h"
#include "files/input_file.h"
#include "files/output_file.h"
#include "files/utf16.h"
#include "tests/support/run_tool.h"
#include "tests/support/test_files.h"

namespace ovlet::files {
namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf16FromUtf8(utf8);
    return std::wstring(text.begin(), text.end());
}

// A folder's path as UTF-8 (std::filesystem's string() would go through the
// code page).
std::string Utf8Path(const std::filesystem::path& path) {
    const std::wstring wide = path.wstring();
    return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

std::string Slurp(const std::string& path) {
    Result<std::string> bytes = ReadWholeText(path, {});
    return bytes ? std::move(bytes).Value() : std::string();
}

bool Put(const std::string& path, const std::string& bytes) {
    return static_cast<bool>(WriteWholeFile(path, bytes.data(), bytes.size()));
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(Utf8FromUtf16(std::u16string(name.begin(), name.end())));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

TEST(WindowsOutputFile, ReplacesOrRefusesAsTheTargetAllowsAndLeavesNoNewFile) {
    struct Case {
        const char* name;
        DWORD attributes;     // of the target before the write
        DWORD share;          // another opener's sharing; ~0: nobody holds it open
        bool written;
        const char* reason;   // in the error, when refused
        DWORD keptAttribute;  // still set afterwards
    };
    const Case cases[] = {
        {"plain", FILE_ATTRIBUTE_NORMAL, ~0u, true, "", 0},
        {"hidden", FILE_ATTRIBUTE_HIDDEN, ~0u, true, "", FILE_ATTRIBUTE_HIDDEN},
        {"read-only", FILE_ATTRIBUTE_READONLY, ~0u, false, "read-only", FILE_ATTRIBUTE_READONLY},
        {"open without sharing", FILE_ATTRIBUTE_NORMAL, 0, false, "open in another program", 0},
        {"open for reading only", FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ, false, "open in another program", 0},
        {"open sharing deletion", FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true,
         "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        const std::string target = Utf8Path(folder.Path()) + "\\card.ovt";
        ASSERT_TRUE(Put(target, "old"));
        ::SetFileAttributesW(Wide(target).c_str(), c.attributes);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.share != ~0u) {
            holder = ::CreateFileW(Wide(target).c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        }
        const Result<void> written = WriteWholeFile(target, "new", 3);
        const bool ok = static_cast<bool>(written);
        const std::string error = ok ? std::string() : written.Error().Describe();
        if (holder != INVALID_HANDLE_VALUE) ::CloseHandle(holder);
        EXPECT_EQ(ok, c.written) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(Slurp(target), c.written ? "new" : "old");
        const DWORD after = ::GetFileAttributesW(Wide(target).c_str());
        if (c.keptAttribute) {
            EXPECT_TRUE(after & c.keptAttribute) << after;
        }
        EXPECT_EQ(NamesIn(Utf8Path(folder.Path())), std::vector<std::string>{"card.ovt"});
        ::SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(WindowsOutputFile, NonAsciiAndLongPathsAndNoCarriageReturnsAdded) {
    test_support::TempFolder folder;
    std::string deep = Utf8Path(folder.Path());
    // Past the old 260-character limit, in folders of 50 characters.
    for (int i = 0; i < 6; ++i) {
        deep += "\\" + std::string(49, static_cast<char>('a' + i));
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + Wide(deep)).c_str(), nullptr));
    }
    const std::string bytes = "line\nother\r\nend\n";
    for (const std::string& path : {Utf8Path(folder.Path()) + "\\M\xC3\xBCller_\xE5\x90\x8D\xE5\x88\xBA.ovt",
                                    deep + "\\M\xC3\xBCller_\xE5\x90\x8D\xE5\x88\xBA.ovt"}) {
        SCOPED_TRACE(path.size());
        ASSERT_TRUE(Put(path, bytes));
        EXPECT_EQ(Slurp(path), bytes);
        ASSERT_TRUE(Put(path, bytes + "more"));
        EXPECT_EQ(Slurp(path), bytes + "more");
    }
    EXPECT_GT(deep.size(), 300u);
}

// A name relative to the current folder, as typed on a command line, is
// replaced like a full one.
TEST(WindowsOutputFile, ARelativeNameIsReplacedInTheCurrentFolder) {
    test_support::TempFolder folder;
    wchar_t before[MAX_PATH];
    ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, before), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path().wstring().c_str()));
    for (const std::string name : {"card.ovt", ".\\card.ovt", "sub\\..\\card.ovt"}) {
        SCOPED_TRACE(name);
        const Result<void> written = WriteWholeFile(name, name.data(), name.size());
        EXPECT_TRUE(static_cast<bool>(written)) << (written ? "" : written.Error().Describe());
        EXPECT_EQ(Slurp(Utf8Path(folder.Path()) + "\\card.ovt"), name);
    }
    ::SetCurrentDirectoryW(before);
    EXPECT_EQ(NamesIn(Utf8Path(folder.Path())), std::vector<std::string>{"card.ovt"});
}

TEST(WindowsInputFile, RefusesDevicesFoldersAndFilesOverTheLimit) {
    test_support::TempFolder folder;
    const std::string dir = Utf8Path(folder.Path());
    // A file of 3 GB that takes no room: refused by its size, not wrapped
    // round to a small one.
    const std::string big = dir + "\\big.jpg";
    {
        const HANDLE file = ::CreateFileW(Wide(big).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD ignored = 0;
        ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
        LARGE_INTEGER size{};
        size.QuadPart = 3'000'000'000LL;
        ASSERT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file));
        ::CloseHandle(file);
    }
    struct Case {
        std::string path;
        std::uint64_t limit;
        const char* reason;
    };
    const Case cases[] = {
        {"CON", kNoLimit, "is a device"},
        {"NUL", kNoLimit, "is a device"},
        {"nul.txt", kNoLimit, "is a device"},
        {dir + "\\COM1", kNoLimit, "is a device"},
        {dir + "\\LPT\xC2\xB9.ovt", kNoLimit, "is a device"},
        {"\\\\.\\PhysicalDrive0", kNoLimit, "is a device"},
        {"\\\\.\\pipe\\ovlet-test", kNoLimit, "is a device"},
        {dir, kNoLimit, "is a folder"},
        {dir + "\\missing.ovt", kNoLimit, "no such file"},
        {big, kMaxPictureBytes, "larger than 2 GiB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        InputFile file;
        EXPECT_FALSE(file.Open(c.path, {c.limit, false}));
        EXPECT_NE(file.Error().Describe().find(c.reason), std::string::npos) << file.Error().Describe();
    }
    InputFile file;
    ASSERT_TRUE(file.Open(big, {kNoLimit, false}));
    EXPECT_EQ(file.Size(), 3'000'000'000ull);
}

// Standard output carries bytes exactly: a vCard's CR LF stays CR LF and a
// lone LF gains no CR; piped text is UTF-8, not the console's code page.
TEST(WindowsConsole, StandardOutputIsBinaryAndUtf8WhenRedirected) {
    test_support::TempFolder folder;
    const std::string file = Utf8Path(folder.Path()) + "\\M\xC3\xBCller.vcf";
    const auto toFile = test_support::RunTool(OVLET_BIN, {"export", "--vcard", OVLET_SAMPLES_DIR "/sample.ovt", "-o", file});
    ASSERT_EQ(toFile.code, 0) << toFile.err;
    const auto toPipe = test_support::RunTool(OVLET_BIN, {"export", "--vcard", OVLET_SAMPLES_DIR "/sample.ovt", "-o", "-"});
    ASSERT_EQ(toPipe.code, 0) << toPipe.err;
    EXPECT_EQ(toPipe.out, Slurp(file));
    EXPECT_EQ(toPipe.out.find("\r\r\n"), std::string::npos);
    // A missing card named in Unicode is named back in UTF-8.
    const auto missing = test_support::RunTool(OVLET_BIN, {"show", "M\xC3\xBCller_\xE5\x90\x8D\xE5\x88\xBA.ovt"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("M\xC3\xBCller_\xE5\x90\x8D\xE5\x88\xBA.ovt"), std::string::npos) << missing.err;
    EXPECT_FALSE(IsTerminal(StandardStream::Output));
}

// On a console the characters arrive as characters, whatever its code page.
TEST(WindowsConsole, ConsoleShowsNonAsciiText) {
    if (!::AllocConsole()) GTEST_SKIP() << "no console can be made here";
    const HANDLE screen = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    const HANDLE before = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::SetStdHandle(STD_OUTPUT_HANDLE, screen);
    ::SetConsoleOutputCP(437);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    ::GetConsoleScreenBufferInfo(screen, &info);
    EXPECT_TRUE(IsTerminal(StandardStream::Output));
    EXPECT_TRUE(WriteText(StandardStream::Output, "M\xC3\xBCller_\xE5\x90\x8D\xE5\x88\xBA"));
    wchar_t shown[16] = {};
    DWORD read = 0;
    ::ReadConsoleOutputCharacterW(screen, shown, 9, info.dwCursorPosition, &read);
    ::SetStdHandle(STD_OUTPUT_HANDLE, before);
    ::CloseHandle(screen);
    ::FreeConsole();
    EXPECT_EQ(std::wstring(shown, read), L"M\u00FCller_\u540D\u523A");
}

}  // namespace
}  // namespace ovlet::files
