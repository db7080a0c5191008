// The one writer of the programs' output files: cards, vCards, pictures, QR
// codes, PAM files.
//
// The new content goes to a new file beside the target (a short name of its
// own, so a target of any length works), is flushed to the disk and only then
// renamed over the target: a failure at any point leaves the old file byte
// for byte and removes the new one. An existing target keeps its mode, and
// its owner and group when the writer is root. A symbolic link is written
// through: the file it names gets the new content and the link stays a link.
// An existing file the user may not write is refused, as is a folder or
// anything else that is not a regular file. In a shared folder (sticky and
// writable by all, as /tmp) a link made by another user is not followed, as
// the kernel itself refuses to follow it. A name for an open descriptor
// ("/dev/stdout", "/dev/fd/N", "/proc/self/fd/N") is written to that
// descriptor as it is, never resolved and replaced.
//
// Where the file system allows it the new file has no name while it is
// written and is named only once it is complete, so a write ended by any
// signal leaves nothing behind; elsewhere it has a name of its own from the
// start, which SIGINT, SIGTERM and SIGHUP remove before the program ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/file_error.h"

namespace ovlet::files {

// The system calls a write makes, in the order a write makes them.
enum class WriteCall {
    OpenUnnamed,  // the new file without a name (where the file system allows it)
    OpenNamed,    // the new file with a name of its own (elsewhere)
    Chmod,        // the mode of the target, or of a new file
    Write,
    Fsync,
    Link,  // the unnamed file gets a name (the target's, when nothing is replaced)
    Close,
    Rename,      // the new file takes the target's place
    OpenFolder,  // the folder, for its sync after the rename
    FsyncFolder,
};

// The system calls a write makes; tests replace them to inject failures.
struct WriteOps {
    long (*write)(int fd, const void* data, unsigned long size);
    int (*fsync)(int fd);
    // Asked before each call a write makes: a non-zero result is taken as
    // that call's error number, as though the call had failed. Null: none.
    int (*inject)(WriteCall call) = nullptr;
};
const WriteOps& DefaultWriteOps();

enum class Durability {
    // The file and the rename reach the disk before Commit returns.
    Synced,
    // Neither is waited for: a batch writes its files and then makes them
    // durable at once with SyncFileSystem.
    Later,
};

struct WriteOptions {
    // "-" names standard output.
    bool dashIsStandardOutput = false;
    Durability durability = Durability::Synced;
    // False: a file that is there is never replaced; the write fails with
    // NameTaken instead (a batch then takes another name). The name is
    // claimed at once, with the file: two writers never take one name.
    bool replace = true;
    const WriteOps* ops = nullptr;  // null: DefaultWriteOps()
};

enum class WriteFailure {
    None,
    CannotOpen,   // nothing was written: the target or its folder refuses the new file
    WriteFailed,  // writing, flushing or renaming failed; the target is as it was
    NameTaken,    // without `replace`: a file of that name is there and stays as it was
    NotSynced,    // the new file is in place, but its folder could not be made durable
};

class OutputFile {
public:
    explicit OutputFile(const WriteOptions& options = {});
    // Removes the new file when Commit was not reached.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Makes the new file beside the target.
    bool Open(const std::string& path);
    bool Write(const void* data, std::size_t size);
    // Flushes, makes durable as asked and puts the new file in the target's place.
    bool Commit();
    // Removes the new file; the target stays as it was.
    void Abandon();

    WriteFailure Failure() const { return failure; }
    // The writer's number is the C library's on every system (Windows errors
    // are turned into it), as MeansDiskFull reads it.
    int ErrorNumber() const { return errorNumber; }
    // "cannot write PATH: REASON" and the number, or "" and 0 before any failure.
    FileError Error() const {
        return {errorNumber, reason.empty() ? reason : "cannot write " + shownPath + ": " + reason};
    }
    // What went wrong, without the path: "No space left on device".
    const std::string& Reason() const { return reason; }
    const std::string& Path() const { return shownPath; }
    // Whether the output goes to a descriptor the program was given ("-" or a
    // name of a descriptor) rather than to a file.
    bool ToStandardOutput() const { return standardOutput; }

private:
    // Bytes gathered before one system write.
    static constexpr std::size_t kBufferBytes = 1 << 16;

    bool Fail(WriteFailure kind, int number);
    bool Flush();
    bool WriteFd(const std::uint8_t* data, std::size_t size);
    int Injected(WriteCall call) const;
    bool PutInPlace();
    void ForgetNewPath();

    WriteOptions settings;
    const WriteOps* ops;
    std::string shownPath;   // as the caller named it
    std::string targetPath;  // the file that gets the content, links followed
    std::string newPath;     // the new file beside it, once it has a name
    int descriptor = -1;
    bool unnamed = false;         // the new file has no name yet
    int registered = -1;          // the slot that names newPath to the signal handler
    bool standardOutput = false;  // writes go to a descriptor the program was given
    bool committed = false;
    std::vector<std::uint8_t> buffer;
    WriteFailure failure = WriteFailure::None;
    int errorNumber = 0;
    std::string reason;
};

// Whether the writer takes `path` for standard output: "-" (when `dash`),
// "/dev/stdout", "/dev/fd/1", "/proc/self/fd/1". What a command tells
// besides its output then goes to standard error.
bool NamesStandardOutput(const std::string& path, bool dash);

// Writes a whole file, or says why it could not.
Result<void> WriteWholeFile(const std::string& path, const void* data, std::size_t size,
                            const WriteOptions& options = {});

// One sync of the file system that holds `folder`: every file a batch wrote
// there without waiting reaches the disk.
Result<void> SyncFileSystem(const std::string& folder);

}  // namespace ovlet::files
