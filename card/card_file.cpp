#include "card/card_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "card/archive_string.h"
#include "card/card_summary.h"

namespace {

constexpr std::uint8_t kVersionOne[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};  // 1.0 as an IEEE double

// A card file mapped read-only for the time it is read: the picture is copied
// once, from the file straight into the record, and no buffer the size of the
// file is made and cleared.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            opened_ = true;
            size_ = static_cast<std::size_t>(st.st_size);
            if (size_ > 0) {
                void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
                if (p == MAP_FAILED) {
                    opened_ = false;
                } else {
                    data_ = static_cast<const std::uint8_t*>(p);
                }
            }
        }
        ::close(fd);
    }
    ~MappedFile() {
        if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool Opened() const { return opened_; }
    const std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return data_ ? size_ : 0; }

private:
    bool opened_ = false;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// Writes the picture to a new file of our own in the temporary folder, so the
// panel can decode it by name. Readable by the user only; the caller removes it.
bool WriteTempPicture(const CardRecord& record, std::string& tempPath) {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    std::string pattern = (dir / "ovlet-picture-XXXXXX.jpg").string();
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) return false;
    tempPath = pattern;
    std::size_t done = 0;
    const auto size = static_cast<std::size_t>(record.PictureLength);
    bool ok = true;
    while (done < size) {
        const ssize_t n = ::write(fd, record.PictureBytes.data() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) ok = false;
    if (!ok) {
        ::unlink(tempPath.c_str());
        tempPath.clear();
    }
    return ok;
}

std::string FormatSize(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

void ShowPicture(CardRecord& record, CardWindowSide& side, CardReadResult& result) {
    std::string tempPath;
    if (!WriteTempPicture(record, tempPath)) {
        side.ShowMessage(CardMessageIcon::Exclamation, kTempFileMessage);
        return;
    }
    int width = 0;
    int height = 0;
    std::string error;
    result.pictureShown = side.SetPictureFile(tempPath, width, height, error);
    ::unlink(tempPath.c_str());
    if (result.pictureShown) {
        record.ImageSizeText = FormatSize(width, height);
    } else {
        // The bytes stay in the record and are saved again unchanged.
        record.ImageSizeText = "N/A";
        side.ShowMessage(CardMessageIcon::Exclamation, "The card's picture cannot be shown.\n\n" + error);
    }
}

}  // namespace

std::string RecordOnlySide::GetEditText(std::string CardRecord::*field) {
    return record_.*field;
}

void RecordOnlySide::SetEditText(std::string CardRecord::*field, const std::string& text) {
    record_.*field = text;
}

bool RecordOnlySide::SetPictureFile(const std::string&, int&, int&, std::string& error) {
    error = "no picture panel";
    return false;
}

void RecordOnlySide::ShowMessage(CardMessageIcon, const std::string& text) {
    messages.push_back(text);
}

CardReadResult ReadCardFile(const std::string& path, CardRecord& record, CardWindowSide& side) {
    record.CurrentPath = path;
    record.CurrentFileLabel = path;
    const MappedFile file(path);
    if (!file.Opened()) {
        side.ShowMessage(CardMessageIcon::Exclamation, kCannotOpenCardMessage);
        record.CurrentPath.clear();
        return {CardReadOutcome::CannotOpen};
    }
    return ReadCardBytes(file.Data(), file.Size(), record, side);
}

CardReadResult ReadCardBytes(const std::uint8_t* data, std::size_t size, CardRecord& record, CardWindowSide& side) {
    CardReadResult result;
    CardByteReader reader(data, size);

    auto stopOn = [&](ArchiveStringStatus status) {
        if (status == ArchiveStringStatus::Damaged) {
            side.ShowMessage(CardMessageIcon::Stop, kDamagedMessage);
            result.outcome = CardReadOutcome::Damaged;
        } else {
            side.ShowMessage(CardMessageIcon::Stop, kPastEndMessage);
            result.outcome = CardReadOutcome::PastEnd;
        }
        return result;
    };

    // The version, the reserved word and the picture length are raw bytes: a
    // short read of them is not an error. No version is rejected.
    std::uint8_t version[8];
    reader.ReadSome(version, sizeof version);
    std::string text;
    if (auto status = ReadArchiveString(reader, text); status != ArchiveStringStatus::Ok) return stopOn(status);
    std::uint8_t reserved[4];
    reader.ReadSome(reserved, sizeof reserved);

    for (const auto& field : kCardFields) {
        if (auto status = ReadArchiveString(reader, text); status != ArchiveStringStatus::Ok) return stopOn(status);
        record.*field.member = text;
        if (field.multiLine) side.SetEditText(field.member, text);
    }

    std::uint8_t lengthBytes[4] = {0, 0, 0, 0};
    reader.ReadSome(lengthBytes, sizeof lengthBytes);
    std::int32_t length = 0;
    std::memcpy(&length, lengthBytes, sizeof length);
    if (length > 0) {
        // A picture block shorter than its stated length keeps the bytes that
        // are there; no unset byte ever reaches the decoder or a saved file.
        const std::size_t present = std::min<std::size_t>(static_cast<std::size_t>(length), reader.Remaining());
        const std::uint8_t* bytes = reader.Take(present);
        record.SetPicture(std::vector<std::uint8_t>(bytes, bytes + present));
        result.pictureShort = present < static_cast<std::size_t>(length);
        result.pictureRead = present > 0;
        if (result.pictureRead && side.ShowsPictures()) ShowPicture(record, side, result);
    } else {
        record.ReleasePicture();
    }

    ComposeSummary(record);
    side.ShowInWindow();
    return result;
}

std::vector<std::uint8_t> EncodeCardHead(CardRecord& record, CardWindowSide& side) {
    std::vector<std::uint8_t> out;
    out.reserve(512);
    out.insert(out.end(), std::begin(kVersionOne), std::end(kVersionOne));
    WriteArchiveString(out, kCardNotice);
    out.insert(out.end(), 4, 0);  // reserved word
    for (const auto& field : kCardFields) {
        if (field.multiLine) record.*field.member = side.GetEditText(field.member);
        WriteArchiveString(out, record.*field.member);
    }
    const std::int32_t length = record.HasPicture() ? record.PictureLength : 0;
    const auto u = static_cast<std::uint32_t>(length);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    return out;
}

namespace {

long PosixWrite(int fd, const void* data, unsigned long size) {
    return static_cast<long>(::write(fd, data, size));
}

int PosixFsync(int fd) {
    return ::fsync(fd);
}

bool WriteAll(const CardFileOps& ops, int fd, const std::uint8_t* data, std::size_t size, int& error) {
    std::size_t done = 0;
    while (done < size) {
        const long n = ops.write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string WriteFailedMessage(const std::string& path, int error) {
    if (error == ENOSPC || error == EDQUOT) return "Disk full while accessing " + path + ".";
    return "An error occurred while writing " + path + ": " + std::strerror(error) + ".";
}

}  // namespace

const CardFileOps& DefaultCardFileOps() {
    static const CardFileOps ops{PosixWrite, PosixFsync};
    return ops;
}

CardWriteResult WriteCardFile(const std::string& path, CardRecord& record, CardWindowSide& side,
                              const CardFileOps& ops) {
    namespace fs = std::filesystem;
    // Write through a link to the file it names, and keep an existing file's permissions.
    fs::path target = path;
    mode_t mode = 0;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || ::access(path.c_str(), W_OK) != 0) return {CardWriteOutcome::CannotOpen, {}};
        mode = st.st_mode & 07777;
        std::error_code ec;
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = resolved;
    } else {
        mode = umask(0);
        umask(mode);
        mode = 0666 & ~mode;
    }
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string tempPath = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tempPath.data());
    if (fd < 0) return {CardWriteOutcome::CannotOpen, {}};
    ::fchmod(fd, mode);

    const std::vector<std::uint8_t> head = EncodeCardHead(record, side);
    int error = 0;
    bool ok = WriteAll(ops, fd, head.data(), head.size(), error);
    if (ok && record.HasPicture()) {
        ok = WriteAll(ops, fd, record.PictureBytes.data(), static_cast<std::size_t>(record.PictureLength), error);
    }
    if (ok && ops.fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
        return {CardWriteOutcome::WriteFailed, WriteFailedMessage(path, error)};
    }
    // Make the rename itself durable.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ops.fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}
