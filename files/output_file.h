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
// anything else that is not a regular file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace files {

// The system calls a write makes; tests replace them to inject failures.
struct WriteOps {
    long (*write)(int fd, const void* data, unsigned long size);
    int (*fsync)(int fd);
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
    const WriteOps* ops = nullptr;  // null: DefaultWriteOps()
};

enum class WriteFailure {
    None,
    CannotOpen,   // nothing was written: the target or its folder refuses the new file
    WriteFailed,  // writing, flushing or renaming failed; the target is as it was
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
    int ErrorNumber() const { return errorNumber; }
    // "cannot write PATH: REASON", or "" before any failure.
    std::string Error() const { return reason.empty() ? reason : "cannot write " + shownPath + ": " + reason; }
    // What went wrong, without the path: "No space left on device".
    const std::string& Reason() const { return reason; }
    const std::string& Path() const { return shownPath; }
    bool ToStandardOutput() const { return standardOutput; }

private:
    bool Fail(WriteFailure kind, int number);
    bool Flush();
    bool WriteFd(const std::uint8_t* data, std::size_t size);

    WriteOptions settings;
    const WriteOps* ops;
    std::string shownPath;   // as the caller named it
    std::string targetPath;  // the file that gets the content, links followed
    std::string newPath;     // the new file beside it
    int descriptor = -1;
    bool standardOutput = false;
    bool committed = false;
    std::vector<std::uint8_t> buffer;
    WriteFailure failure = WriteFailure::None;
    int errorNumber = 0;
    std::string reason;
};

// Writes a whole file. False, with `error` set, when it could not.
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& error,
                    const WriteOptions& options = {});

// One sync of the file system that holds `folder`: every file a batch wrote
// there without waiting reaches the disk.
bool SyncFileSystem(const std::string& folder, std::string& error);

}  // namespace files
