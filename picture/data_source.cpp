#include "picture/data_source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "picture/resource_registry.h"
#include "picture/text_exception.h"

CDataSource::~CDataSource() {
    if (readPointer) {
        CDataSource::Close();
    }
}

void CDataSource::OpenData(const char* newName, const std::uint8_t* data, std::int32_t newSize) {
    name = newName ? newName : "";
    isOpen = true;
    start = data;
    readPointer = data;
    size = newSize < 0 ? 0 : newSize;
}

int CDataSource::Close() {
    name.clear();
    isOpen = false;
    readPointer = nullptr;
    start = nullptr;
    size = 0;
    return 0;
}

std::int32_t CDataSource::GetBytesLeft() const {
    return size - static_cast<std::int32_t>(readPointer - start);
}

const std::uint8_t* CDataSource::ReadBytes(std::int32_t n) {
    // Compared with what remains before moving, so the pointer never leaves
    // the data, not even for the moment before the check.
    if (n < 0 || n > GetBytesLeft()) {
        throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
    }
    const std::uint8_t* result = readPointer;
    readPointer += n;
    return result;
}

void CDataSource::CheckEndOfData() const {
    if (readPointer - start > size) {
        throw CTextException(DECERR_END_OF_DATA, kEndOfDataText);
    }
}

CFileSource::~CFileSource() {
    if (fileHandle >= 0 || mapping) {
        CFileSource::Close();
    }
}

int CFileSource::Close() {
    if (mapping) {
        munmap(mapping, mappingSize);
        mapping = nullptr;
        mappingSize = 0;
    }
    CDataSource::Close();
    if (fileHandle >= 0) {
        ::close(fileHandle);
        fileHandle = -1;
    }
    return 0;
}

namespace {

// Whether the folder part of a path names an existing folder.
bool FolderExists(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return true;
    }
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int CFileSource::OpenFile(const char* path) {
    if (fileHandle >= 0 || mapping) {
        Close();
    }
    fileHandle = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fileHandle < 0) {
        int error = errno;
        if (error == EACCES || error == EPERM) {
            return DECERR_ACCESS;
        }
        if (error == ENOTDIR || (error == ENOENT && !FolderExists(path))) {
            return DECERR_PATH_NOT_FOUND;
        }
        return DECERR_FILE_NOT_FOUND;
    }
    struct stat info {};
    if (::fstat(fileHandle, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 || info.st_size > INT_MAX) {
        return DECERR_ACCESS;
    }
    mappingSize = static_cast<std::size_t>(info.st_size);
    void* view = ::mmap(nullptr, mappingSize, PROT_READ, MAP_PRIVATE, fileHandle, 0);
    if (view == MAP_FAILED) {
        mappingSize = 0;
        return DECERR_ACCESS;
    }
    mapping = view;
    ::madvise(mapping, mappingSize, MADV_SEQUENTIAL);
    OpenData(path, static_cast<const std::uint8_t*>(mapping), static_cast<std::int32_t>(mappingSize));
    return 0;
}

bool CResourceSource::OpenResource(std::uint16_t resourceId) {
    std::span<const std::uint8_t> bytes = FindBitmapResource(resourceId);
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return false;
    }
    OpenData(("resource " + std::to_string(resourceId)).c_str(), bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return true;
}
