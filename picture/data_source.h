// Byte sources: the whole input of a decode as one contiguous block in memory
// with a read position. Every read is checked against the end of the data.
#pragma once

#include <cstdint>
#include <string>

#include "picture/pixel_memory.h"

namespace ovlet::picture {

class CDataSource {
public:
    CDataSource() = default;
    CDataSource(const CDataSource&) = delete;
    CDataSource& operator=(const CDataSource&) = delete;
    virtual ~CDataSource();

    // Presents size bytes at data under the given name; the bytes must stay
    // valid until Close.
    virtual void OpenData(const char* name, const std::uint8_t* data, std::int32_t size);
    virtual int Close();

    // Returns the n bytes at the read position and moves past them. Throws
    // DECERR_END_OF_DATA, leaving the position unchanged, when fewer than n
    // bytes are left or n is negative. Decoders also skip with it.
    const std::uint8_t* ReadBytes(std::int32_t n);
    // Throws DECERR_END_OF_DATA when the position lies past the end.
    void CheckEndOfData() const;
    const std::uint8_t* GetReadPointer() const { return readPointer; }
    std::int32_t GetBytesLeft() const;
    std::int32_t GetSize() const { return size; }
    const char* GetName() const { return isOpen ? name.c_str() : nullptr; }

private:
    const std::uint8_t* readPointer = nullptr;
    const std::uint8_t* start = nullptr;
    std::string name;
    bool isOpen = false;
    std::int32_t size = 0;
};

// A file read into memory as a whole. A file of 1 MiB or more is read into a
// block that becomes a spare when the source closes (see pixel_memory.h), so
// the next large file is read into memory that is already present.
class CFileSource : public CDataSource {
public:
    CFileSource() = default;

    int Close() override;
    // Returns 0, or DECERR_PATH_NOT_FOUND, DECERR_FILE_NOT_FOUND or
    // DECERR_ACCESS. An empty file, what is not a regular file (a folder, a
    // FIFO, a device) and a file of 2 GiB or more give DECERR_ACCESS.
    virtual int OpenFile(const char* path);

    // Files of at least this many bytes are read into a block that can be
    // kept as a spare.
    static constexpr std::size_t kSpareMinimum = std::size_t{1} << 20;

private:
    PixelBlock bytes;
};

// A byte source over one of the program's bitmap resources.
class CResourceSource : public CDataSource {
public:
    // Returns false when there is no resource of that id.
    bool OpenResource(std::uint16_t resourceId);
};

}  // namespace ovlet::picture
