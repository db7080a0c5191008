// Files of tests and benchmarks: a scratch folder and whole files as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ovlet::test_support {

using Bytes = std::vector<std::uint8_t>;

// Throws std::runtime_error when the file cannot be read.
Bytes ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);
// Writes the first `length` bytes of `from` as `to`: a file cut short.
void WriteCutCopy(const std::filesystem::path& from, const std::filesystem::path& to, std::size_t length);

// A fresh, empty folder, removed with everything in it when the object goes.
class TempFolder {
public:
    // Throws std::filesystem::filesystem_error when no folder can be made.
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path / name; }
    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

}  // namespace ovlet::test_support
