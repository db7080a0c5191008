// The one reader: what it refuses at once, the limits before and while
// reading, and files that change under it.
#include "files/input_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "files_test_support.h"

namespace ovlet::files {
namespace {

TEST(InputFile, RefusesWhatIsNotARegularFileAtOnceAndFilesOverTheLimit) {
    test_support::TempFolder folder;
    Put(folder / "small.txt", "hello");
    Put(folder / "empty.txt", "");
    ::mkfifo((folder / "fifo").c_str(), 0644);
    // A file of 64 MiB and one byte that takes no room on the disk.
    Put(folder / "big.csv", "");
    ASSERT_EQ(::truncate((folder / "big.csv").c_str(), (64 << 20) + 1), 0);
    Put(folder / "limit.csv", "");
    ASSERT_EQ(::truncate((folder / "limit.csv").c_str(), 64 << 20), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder / "socket";
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    struct Case {
        std::string path;
        std::uint64_t limit;
        bool opens;
        std::string reason;  // what the message says after "cannot read PATH: "
    };
    const Case cases[] = {
        {folder / "small.txt", kNoLimit, true, ""},
        {folder / "empty.txt", 0, true, ""},
        {folder / "small.txt", 5, true, ""},
        {folder / "small.txt", 4, false, "larger than 4 bytes"},
        {folder / "missing.txt", kNoLimit, false, "no such file"},
        {folder.Path().string(), kNoLimit, false, "is a folder"},
        {folder / "fifo", kNoLimit, false, "is a FIFO, not a regular file"},
        {socketPath, kNoLimit, false, "is a socket, not a regular file"},
        {"/dev/zero", kNoLimit, false, "is a device, not a regular file"},
        {"/dev/null", kNoLimit, false, "is a device, not a regular file"},
        {folder / "big.csv", kMaxTextFileBytes, false, "larger than 64 MiB"},
        {folder / "limit.csv", kMaxTextFileBytes, true, ""},
        {folder / "big.csv", kMaxPictureBytes, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " limit " + std::to_string(c.limit));
        InputFile file;
        EXPECT_EQ(file.Open(c.path, {c.limit, false}), c.opens);
        EXPECT_EQ(file.Error().Describe(), c.opens ? "" : "cannot read " + c.path + ": " + c.reason);
    }
    ::close(sock);
}

TEST(InputFile, ReadsWholeFilesAndTheKernelsOwnFilesThatReportNoSize) {
    test_support::TempFolder folder;
    std::string text(200000, 'x');
    text[123] = '\0';
    Put(folder / "a.bin", text);
    std::string bytes, error;
    ASSERT_TRUE(ReadInto(ReadWholeText(folder / "a.bin", {}), bytes, error)) << error;
    EXPECT_EQ(bytes, text);
    std::vector<std::uint8_t> vector;
    ASSERT_TRUE(ReadInto(ReadWholeFile(folder / "a.bin", {}), vector, error)) << error;
    EXPECT_EQ(std::string(vector.begin(), vector.end()), text);

    // /proc files say they are empty; the limit is then kept while reading.
    ASSERT_TRUE(ReadInto(ReadWholeText("/proc/self/status", {}), bytes, error)) << error;
    EXPECT_NE(bytes.find("Name:"), std::string::npos);
    EXPECT_FALSE(ReadInto(ReadWholeText("/proc/self/status", {16, false}), bytes, error));
    EXPECT_EQ(error, "cannot read /proc/self/status: larger than 16 bytes");
    EXPECT_TRUE(bytes.empty());
    // A file that fails to read says why instead of giving what it has.
    EXPECT_FALSE(ReadInto(ReadWholeText("/proc/self/mem", {}), bytes, error));
    EXPECT_EQ(error.rfind("cannot read /proc/self/mem: ", 0), 0u) << error;
}

TEST(InputFile, StandardInputOnlyWhenAskedFor) {
    test_support::TempFolder folder;
    Put(folder / "-", "a file named dash");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path().string());
    std::string bytes, error;
    const bool read = ReadInto(ReadWholeText("-", {}), bytes, error);
    std::filesystem::current_path(before);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(bytes, "a file named dash");
}

TEST(InputFile, AFileCutShortWhileItIsReadEndsEarly) {
    test_support::TempFolder folder;
    Put(folder / "cut.bin", std::string(100000, 'y'));
    InputFile file;
    ASSERT_TRUE(file.Open(folder / "cut.bin"));
    EXPECT_EQ(file.Size(), 100000u);
    ASSERT_EQ(::truncate((folder / "cut.bin").c_str(), 1000), 0);
    std::vector<char> buffer(100000);
    std::size_t got = 0;
    EXPECT_TRUE(file.Read(buffer.data(), buffer.size(), got));
    EXPECT_EQ(got, 1000u);
    EXPECT_FALSE(file.ReadExactly(buffer.data(), 1));
    EXPECT_EQ(file.Error().Describe(), "cannot read " + (folder / "cut.bin").string() + ": the file ends early");
}

TEST(InputFile, SkipsWithoutReadingAndStopsAtTheLimitWhileReading) {
    test_support::TempFolder folder;
    Put(folder / "a.bin", "0123456789");
    InputFile file;
    ASSERT_TRUE(file.Open(folder / "a.bin"));
    ASSERT_TRUE(file.Skip(7));
    char tail[3];
    ASSERT_TRUE(file.ReadExactly(tail, 3));
    EXPECT_EQ(std::string(tail, 3), "789");

    // The file grows past the limit after it was opened.
    InputFile growing;
    ASSERT_TRUE(growing.Open(folder / "a.bin", {12, false}));
    Put(folder / "a.bin", "0123456789abcdef");
    char all[16];
    std::size_t got = 0;
    EXPECT_FALSE(growing.Read(all, sizeof all, got));
    EXPECT_EQ(growing.Error().Describe(), "cannot read " + (folder / "a.bin").string() + ": larger than 12 bytes");
}

TEST(InputFile, AFileTheUserMayNotReadIsRefused) {
    test_support::TempFolder folder;
    GiveToNobody(folder);
    const std::string path = folder / "secret.ovt";
    Put(path, "x", 0);
    const int result = RunAsNobody([&] {
        InputFile file;
        if (file.Open(path)) return 1;
        return file.Error().Describe() == "cannot read " + path + ": Permission denied" ? 0 : 2;
    });
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace ovlet::files
