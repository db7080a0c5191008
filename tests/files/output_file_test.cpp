// The one writer: what a replaced target keeps, what a failure leaves, and
// what an ordinary user may not replace.
#include "files/output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "files/free_names.h"
#include "files_test_support.h"

namespace ovlet::files {
namespace {

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool IsLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

TEST(OutputFile, ReplacesTheTargetAndKeepsWhatItIs) {
    const mode_t oldMask = ::umask(022);
    test_support::TempFolder folder;
    Put(folder / "private.ovt", "old", 0600);
    Put(folder / "real.ovt", "old", 0640);
    ASSERT_EQ(::symlink("real.ovt", (folder / "link.ovt").c_str()), 0);
    ASSERT_EQ(::symlink((folder / "link.ovt").c_str(), (folder / "link2.ovt").c_str()), 0);
    ASSERT_EQ(::symlink("future.ovt", (folder / "dangling.ovt").c_str()), 0);
    ::mkdir((folder / "sub").c_str(), 0755);
    const std::string longName(250, 'n');

    struct Case {
        std::string path;  // what the caller names
        std::string file;  // the file that must hold the new content
        unsigned mode;
        bool link;  // `path` must still be a link afterwards
    };
    const Case cases[] = {
        {folder / "new.ovt", folder / "new.ovt", 0644, false},
        {folder / "private.ovt", folder / "private.ovt", 0600, false},
        {folder / "link.ovt", folder / "real.ovt", 0640, true},
        {folder / "link2.ovt", folder / "real.ovt", 0640, true},
        {folder / "dangling.ovt", folder / "future.ovt", 0644, true},
        {folder / longName, folder / longName, 0644, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string error;
        ASSERT_TRUE(Done(WriteWholeFile(c.path, "new content", 11), error)) << error;
        EXPECT_EQ(Slurp(c.file), "new content");
        EXPECT_EQ(ModeOf(c.file), c.mode);
        EXPECT_EQ(IsLink(c.path), c.link);
    }
    // Nothing of the writer's own is left beside the targets.
    const std::vector<std::string> expected = {"dangling.ovt", "future.ovt",  "link.ovt", "link2.ovt", "new.ovt",
                                               longName,       "private.ovt", "real.ovt", "sub"};
    EXPECT_EQ(Names(folder.Path().string()), expected);

    std::string error;
    EXPECT_FALSE(Done(WriteWholeFile(folder / "sub", "x", 1), error));
    EXPECT_EQ(error, "cannot write " + (folder / "sub").string() + ": Is a directory");
    EXPECT_FALSE(Done(WriteWholeFile("/dev/null", "x", 1), error));
    EXPECT_EQ(error, "cannot write /dev/null: not a regular file");
    EXPECT_FALSE(Done(WriteWholeFile(folder / "none/x.ovt", "x", 1), error));
    EXPECT_EQ(error, "cannot write " + (folder / "none/x.ovt").string() + ": No such file or directory");
    ::umask(oldMask);
}

int failAfter = 0;
int fsyncCalls = 0;

long FailingWrite(int fd, const void* data, unsigned long size) {
    if (failAfter <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const unsigned long n = std::min<unsigned long>(size, static_cast<unsigned long>(failAfter));
    failAfter -= static_cast<int>(n);
    return DefaultWriteOps().write(fd, data, n);
}

int CountedFsync(int fd) {
    ++fsyncCalls;
    return DefaultWriteOps().fsync(fd);
}

int FailingFsync(int) {
    errno = EIO;
    return -1;
}

TEST(OutputFile, AFailureLeavesTheOldFileByteForByte) {
    struct Case {
        const char* name;
        WriteOps ops;
        int failAfter;
        int error;
    };
    const Case cases[] = {
        {"disk full at once", {FailingWrite, CountedFsync}, 0, ENOSPC},
        {"disk full part way", {FailingWrite, CountedFsync}, 70000, ENOSPC},
        {"flush to disk fails", {DefaultWriteOps().write, FailingFsync}, 0, EIO},
    };
    const std::string big(200000, 'b');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::TempFolder folder;
        const std::string target = folder / "card.ovt";
        Put(target, "the old card", 0600);
        failAfter = c.failAfter;
        WriteOptions options;
        options.ops = &c.ops;
        OutputFile file(options);
        ASSERT_TRUE(file.Open(target));
        const bool ok = file.Write(big.data(), big.size()) && file.Commit();
        EXPECT_FALSE(ok);
        EXPECT_EQ(file.Failure(), WriteFailure::WriteFailed);
        EXPECT_EQ(file.ErrorNumber(), c.error);
        EXPECT_EQ(Slurp(target), "the old card");
        EXPECT_EQ(ModeOf(target), 0600u);
        EXPECT_EQ(Names(folder.Path().string()), std::vector<std::string>{"card.ovt"}) << "the partial file is removed";
    }
    // A file abandoned before Commit leaves nothing either.
    test_support::TempFolder folder;
    {
        OutputFile file;
        ASSERT_TRUE(file.Open(folder / "never.ovt"));
        ASSERT_TRUE(file.Write("x", 1));
    }
    EXPECT_TRUE(Names(folder.Path().string()).empty());
}

TEST(OutputFile, ABatchWaitsForTheDiskOnceAtTheEnd) {
    test_support::TempFolder folder;
    const WriteOps counted{DefaultWriteOps().write, CountedFsync};
    for (const auto durability : {Durability::Synced, Durability::Later}) {
        fsyncCalls = 0;
        WriteOptions options;
        options.ops = &counted;
        options.durability = durability;
        std::string error;
        for (int i = 0; i < 10; ++i) {
            ASSERT_TRUE(Done(WriteWholeFile(folder / ("c" + std::to_string(i)), "x", 1, options), error));
        }
        // Each synced file waits for itself and for its folder's entry.
        EXPECT_EQ(fsyncCalls, durability == Durability::Synced ? 20 : 0);
    }
    std::string error;
    EXPECT_TRUE(Done(SyncFileSystem(folder.Path().string()), error)) << error;
    EXPECT_FALSE(Done(SyncFileSystem(folder / "missing"), error));
}

TEST(OutputFile, DashIsStandardOutputWhenAskedFor) {
    test_support::TempFolder folder;
    const int saved = ::dup(1);
    const int capture = ::open((folder / "captured").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(capture, 1);
    WriteOptions options;
    options.dashIsStandardOutput = true;
    std::string error;
    const bool ok = Done(WriteWholeFile("-", "to stdout", 9, options), error);
    ::dup2(saved, 1);
    ::close(saved);
    ::close(capture);
    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(Slurp(folder / "captured"), "to stdout");
}

TEST(OutputFile, RootKeepsTheOwnerAndGroupOfAUsersFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can write a file that stays another user's";
    test_support::TempFolder folder;
    const std::string target = folder / "users.ovt";
    Put(target, "old", 0640);
    ASSERT_EQ(::chown(target.c_str(), test_support::kNobody, test_support::kNobody), 0);
    std::string error;
    ASSERT_TRUE(Done(WriteWholeFile(target, "new", 3), error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, test_support::kNobody);
    EXPECT_EQ(st.st_gid, test_support::kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Slurp(target), "new");
}

TEST(OutputFile, AnOrdinaryUserCannotReplaceWhatIsReadOnly) {
    test_support::TempFolder folder;
    GiveToNobody(folder);
    const std::string readOnly = folder / "read-only.ovt";
    Put(readOnly, "keep me", 0444);
    ::mkdir((folder / "locked").c_str(), 0755);
    const std::string inLocked = folder / "locked/card.ovt";
    Put(inLocked, "keep me too", 0666);
    const std::string own = folder / "own.ovt";
    Put(own, "mine", 0600);
    for (const std::string& path : {readOnly, own, (folder / "locked").string()}) {
        [[maybe_unused]] int r = ::chown(path.c_str(), test_support::kNobody, test_support::kNobody);
    }
    ::chmod((folder / "locked").c_str(), 0555);

    struct Case {
        std::string path;
        bool written;
        std::string error;
    };
    const Case cases[] = {
        {readOnly, false, "cannot write " + readOnly + ": Permission denied"},
        {inLocked, false, "cannot write " + inLocked + ": Permission denied"},
        {own, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string before = Slurp(c.path);
        const int result = RunAsNobody([&] {
            std::string error;
            const bool ok = Done(WriteWholeFile(c.path, "new", 3), error);
            return ok == c.written && error == c.error ? 0 : 1;
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(Slurp(c.path), c.written ? "new" : before);
    }
    EXPECT_EQ(ModeOf(own), 0600u);
    EXPECT_EQ(Names(folder / "locked"), std::vector<std::string>{"card.ovt"});
}

TEST(FreeNames, RepeatedNamesCountUpAndNeverTakeAFileThatIsThere) {
    test_support::TempFolder folder;
    Put(folder / "Ann.ovt", "someone else's");
    Put(folder / "Bob-2.ovt", "someone else's");
    FreeNames names(folder.Path().string());
    const std::pair<std::string, std::string> cases[] = {
        {"Ann", "Ann-2.ovt"},
        {"Ann", "Ann-3.ovt"},
        {"ANN", "ANN-4.ovt"},
        {"Bob", "Bob.ovt"},
        {"Bob", "Bob-3.ovt"},
        {"bob", "bob-4.ovt"},
        {"Ann-5", "Ann-5.ovt"},
        {"Ann", "Ann-6.ovt"},
        // A name taken in the batch in other case is taken on a disk that ignores case.
        {"cat", "cat.ovt"},
        {"Cat-2", "Cat-2.ovt"},
        {"cat", "cat-3.ovt"},
        // So are the letters of Windows-1252 past ASCII.
        {"\xC3\x84rger", "\xC3\x84rger.ovt"},
        {"\xC3\xA4rger", "\xC3\xA4rger-2.ovt"},
        {"\xC5\x92uvre", "\xC5\x92uvre.ovt"},
        {"\xC5\x93uvre", "\xC5\x93uvre-2.ovt"},
        {"\xC3\x97", "\xC3\x97.ovt"},
        {"\xC3\xB7", "\xC3\xB7.ovt"},
    };
    for (const auto& [stem, expected] : cases) {
        SCOPED_TRACE(stem);
        EXPECT_EQ(names.Take(stem, ".ovt"), expected);
    }
    // Many repeats of one name each take one step (the count goes on).
    for (int i = 7; i < 20007; ++i) ASSERT_EQ(names.Take("Ann", ".ovt"), "Ann-" + std::to_string(i) + ".ovt");
}

// ------------------------------------------------------------ rare failures

// Records the calls a write makes and fails the one numbered `failAt` with
// EIO; `withoutUnnamed` plays a file system that has no unnamed files.
struct Injector {
    static inline std::vector<WriteCall> calls;
    static inline int failAt = -1;
    static inline bool withoutUnnamed = false;
    static inline int signal = 0;  // raised at `signalAt` instead of failing
    static inline WriteCall signalAt = WriteCall::Rename;

    static int Inject(WriteCall call) {
        const int index = static_cast<int>(calls.size());
        calls.push_back(call);
        if (withoutUnnamed && call == WriteCall::OpenUnnamed) return EOPNOTSUPP;
        if (signal != 0 && call == signalAt) ::kill(::getpid(), signal);
        return index == failAt ? EIO : 0;
    }
    static void Reset(bool named) {
        calls.clear();
        failAt = -1;
        withoutUnnamed = named;
        signal = 0;
    }
};

const WriteOps kInjected{DefaultWriteOps().write, DefaultWriteOps().fsync, Injector::Inject};

// Writes 200 000 bytes (several write calls) through the injector.
bool WriteThrough(const std::string& target, bool replace, OutputFile*& last) {
    static const std::string big(200000, 'n');
    WriteOptions options;
    options.ops = &kInjected;
    options.replace = replace;
    static std::unique_ptr<OutputFile> file;
    file = std::make_unique<OutputFile>(options);
    last = file.get();
    return file->Open(target) && file->Write(big.data(), big.size()) && file->Commit();
}

TEST(OutputFile, EverySystemCallFailingOnceIsReportedAndLeavesNothingBehind) {
    for (const bool named : {false, true}) {
        for (const bool replace : {true, false}) {
            SCOPED_TRACE(std::string(named ? "named new file" : "unnamed new file") +
                         (replace ? ", replacing" : ", claiming a new name"));
            test_support::TempFolder folder;
            const std::string target = folder / "card.ovt";
            OutputFile* file = nullptr;
            Injector::Reset(named);
            ASSERT_TRUE(WriteThrough(target, replace, file)) << file->Error().Describe();
            const std::vector<WriteCall> calls = Injector::calls;
            const auto has = [&](WriteCall c) { return std::count(calls.begin(), calls.end(), c) > 0; };
            EXPECT_EQ(has(WriteCall::OpenUnnamed), true);
            EXPECT_EQ(has(WriteCall::OpenNamed), named);
            EXPECT_EQ(has(WriteCall::Link), !named);
            EXPECT_EQ(has(WriteCall::Rename), named || replace);
            EXPECT_GE(std::count(calls.begin(), calls.end(), WriteCall::Write), 1);
            EXPECT_EQ(calls.back(), WriteCall::FsyncFolder);
            for (std::size_t i = named ? 1 : 0; i < calls.size(); ++i) {
                SCOPED_TRACE("call " + std::to_string(i) + " of " + std::to_string(calls.size()) + " fails");
                ::unlink(target.c_str());
                if (replace) Put(target, "the old card", 0640);
                Injector::Reset(named);
                Injector::failAt = static_cast<int>(i);
                EXPECT_FALSE(WriteThrough(target, replace, file));
                EXPECT_EQ(file->ErrorNumber(), EIO);
                EXPECT_NE(file->Error().Describe().find("Input/output error"), std::string::npos) << file->Error().Describe();
                const bool afterRename = calls[i] == WriteCall::OpenFolder || calls[i] == WriteCall::FsyncFolder;
                if (afterRename) {
                    EXPECT_EQ(file->Failure(), WriteFailure::NotSynced);
                    EXPECT_EQ(Slurp(target).size(), 200000u) << "the new file is in place";
                } else if (replace) {
                    EXPECT_EQ(Slurp(target), "the old card");
                    EXPECT_EQ(ModeOf(target), 0640u);
                }
                const std::vector<std::string> left = Names(folder.Path().string());
                EXPECT_EQ(left,
                          (replace || afterRename ? std::vector<std::string>{"card.ovt"} : std::vector<std::string>{}))
                    << "no new file is left behind";
            }
        }
    }
}

TEST(OutputFile, WithoutReplaceAFileThereIsNeverReplaced) {
    for (const bool named : {false, true}) {
        SCOPED_TRACE(named ? "named new file" : "unnamed new file");
        test_support::TempFolder folder;
        Put(folder / "taken.ovt", "someone else's");
        ASSERT_EQ(::symlink("nowhere", (folder / "link.ovt").c_str()), 0);
        for (const std::string name : {"taken.ovt", "link.ovt", "TAKEN.ovt"}) {
            Injector::Reset(named);
            WriteOptions options;
            options.ops = &kInjected;
            options.replace = false;
            OutputFile file(options);
            const bool ok = file.Open(folder / name) && file.Write("new", 3) && file.Commit();
            EXPECT_EQ(ok, name == "TAKEN.ovt") << name;
            if (!ok) {
                EXPECT_EQ(file.Failure(), WriteFailure::NameTaken) << name;
            }
        }
        EXPECT_EQ(Slurp(folder / "taken.ovt"), "someone else's");
        EXPECT_FALSE(::access((folder / "nowhere").c_str(), F_OK) == 0) << "a link there is not followed";
        EXPECT_EQ(Names(folder.Path().string()), (std::vector<std::string>{"TAKEN.ovt", "link.ovt", "taken.ovt"}));
    }
    // The name is claimed at the last moment: a file made there after Open
    // is not replaced either.
    for (const bool named : {false, true}) {
        test_support::TempFolder folder;
        Injector::Reset(named);
        WriteOptions options;
        options.ops = &kInjected;
        options.replace = false;
        OutputFile file(options);
        ASSERT_TRUE(file.Open(folder / "card.ovt"));
        ASSERT_TRUE(file.Write("mine", 4));
        Put(folder / "card.ovt", "the other batch's");
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(file.Failure(), WriteFailure::NameTaken);
        EXPECT_EQ(Slurp(folder / "card.ovt"), "the other batch's");
        EXPECT_EQ(Names(folder.Path().string()), std::vector<std::string>{"card.ovt"});
    }
}

// SIGINT, SIGTERM and SIGHUP while the new file has a name remove it; the
// program still ends by the signal.
TEST(OutputFile, AnEndingSignalLeavesNoNewFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        for (const bool named : {false, true}) {
            for (const WriteCall at : {WriteCall::Write, WriteCall::Rename}) {
                SCOPED_TRACE(std::string(strsignal(signal)) + (named ? ", named" : ", unnamed") +
                             (at == WriteCall::Write ? ", while writing" : ", before the rename"));
                test_support::TempFolder folder;
                const std::string target = folder / "card.ovt";
                Put(target, "the old card");
                const pid_t child = ::fork();
                if (child == 0) {
                    Injector::Reset(named);
                    Injector::signal = signal;
                    Injector::signalAt = at;
                    OutputFile* file = nullptr;
                    WriteThrough(target, true, file);
                    ::_exit(0);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(child, &status, 0), child);
                EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
                EXPECT_EQ(Slurp(target), "the old card");
                EXPECT_EQ(Names(folder.Path().string()), std::vector<std::string>{"card.ovt"});
            }
        }
    }
}

// ------------------------------------------------------- links and descriptors

TEST(OutputFile, ALinkAnotherUserMadeInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can make a link that belongs to another user";
    test_support::TempFolder folder;
    ::chmod(folder.Path().c_str(), 01777);
    const std::string victim = folder / "victim";
    Put(victim, "root's secret", 0600);
    struct Case {
        const char* name;
        unsigned linkOwner;
        unsigned folderOwner;
        unsigned folderMode;
        bool followed;
    };
    const Case cases[] = {
        {"another user's link in a shared folder", test_support::kNobody, 0, 01777, false},
        {"the user's own link", 0, 0, 01777, true},
        {"the folder owner's link", test_support::kNobody, test_support::kNobody, 01777, true},
        {"another user's link in a folder that is not sticky", test_support::kNobody, 0, 0777, true},
        {"another user's link in a sticky folder only its owner writes", test_support::kNobody, 0, 01755, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(victim, "root's secret", 0600);
        const std::string link = folder / "c.vcf";
        ::unlink(link.c_str());
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, c.linkOwner), 0);
        ASSERT_EQ(::chown(folder.Path().c_str(), c.folderOwner, c.folderOwner), 0);
        ::chmod(folder.Path().c_str(), c.folderMode);
        std::string error;
        EXPECT_EQ(Done(WriteWholeFile(link, "new", 3), error), c.followed) << error;
        EXPECT_EQ(Slurp(victim), c.followed ? "new" : "root's secret");
        EXPECT_TRUE(IsLink(link));
        if (!c.followed) {
            EXPECT_EQ(error, "cannot write " + link + ": it is a link another user made in a shared folder");
        }
    }
    // Back to root so that the folder can be removed; nothing to check.
    if (::chown(folder.Path().c_str(), 0, 0) != 0) ADD_FAILURE() << "cannot give the folder back to root";
}

// A name for a descriptor the program holds is that descriptor: what the
// shell redirected there keeps what it had and gets the output after it.
TEST(OutputFile, NamesOfDescriptorsAreWrittenAsTheyAre) {
    test_support::TempFolder folder;
    const std::string redirected = folder / "redirected";
    for (const bool dash : {false, true}) {
        const int fd = ::open(redirected.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "before|", 7), 7);
        struct stat st {};
        ::fstat(fd, &st);
        const std::string names[] = {"/dev/fd/" + std::to_string(fd), "/proc/self/fd/" + std::to_string(fd)};
        WriteOptions options;
        options.dashIsStandardOutput = dash;
        std::string error;
        for (const std::string& name : names) {
            ASSERT_TRUE(Done(WriteWholeFile(name, "out|", 4, options), error)) << error;
        }
        ASSERT_EQ(::write(fd, "after", 5), 5);
        ::close(fd);
        EXPECT_EQ(Slurp(redirected), "before|out|out|after");
        struct stat now {};
        ::stat(redirected.c_str(), &now);
        EXPECT_EQ(now.st_ino, st.st_ino) << "the file was not replaced";
    }
    EXPECT_TRUE(NamesStandardOutput("-", true));
    EXPECT_FALSE(NamesStandardOutput("-", false));
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        EXPECT_TRUE(NamesStandardOutput(name, false)) << name;
    }
    for (const char* name : {"/dev/fd/2", "/dev/fd/1x", "/dev/fd/", "./-", "/dev/stdoutx"}) {
        EXPECT_FALSE(NamesStandardOutput(name, true)) << name;
    }
    std::string error;
    EXPECT_FALSE(Done(WriteWholeFile("/dev/fd/987", "x", 1), error));
    EXPECT_EQ(error, "cannot write /dev/fd/987: Bad file descriptor");
}

}  // namespace
}  // namespace ovlet::files
