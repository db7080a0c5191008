#include "picture/data_source.h"

#include <climits>
#include <string>

#include "files/file_status.h"
#include "files/input_file.h"
#include "picture/resource_registry.h"
#include "picture/text_exception.h"

namespace ovlet::picture {

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

int CFileSource::Close() {
    CDataSource::Close();
    bytes.reset();
    return 0;
}

namespace {

// Why a file the reader refused cannot be opened, in the decoders' terms.
int OpenFailure(const char* path) {
    switch (files::FindPath(path)) {
        case files::PathPresence::Present:  // not a regular file, or not readable
        case files::PathPresence::NoAccess:
            return DECERR_ACCESS;
        case files::PathPresence::NoSuchFolder:
            return DECERR_PATH_NOT_FOUND;
        case files::PathPresence::NoSuchFile:
            break;
    }
    return DECERR_FILE_NOT_FOUND;
}

}  // namespace

int CFileSource::OpenFile(const char* path) {
    Close();
    // Read through the programs' one reader, not mapped: a file that another
    // program cuts short while it is read ends early instead of faulting.
    files::InputFile file;
    if (!file.Open(path, {files::kMaxPictureBytes, false})) {
        return OpenFailure(path);
    }
    if (!file.SizeKnown() || file.Size() > static_cast<std::uint64_t>(INT_MAX)) {
        return DECERR_ACCESS;
    }
    const auto fileSize = static_cast<std::size_t>(file.Size());
    bytes = PixelBlock(fileSize, kSpareMinimum);
    // A file that shrank since it was opened ends early; one that grew is
    // read up to its size at the opening.
    std::size_t got = 0;
    if (!file.Read(bytes.get(), fileSize, got)) {
        bytes.reset();
        return DECERR_ACCESS;
    }
    OpenData(path, bytes.get(), static_cast<std::int32_t>(got));
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

}  // namespace ovlet::picture
