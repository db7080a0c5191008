// Folders, through the C++ library with UTF-8 paths (char8_t: UTF-8 whatever
// the system's code page).
#include <filesystem>
#include <system_error>

#include "files/file_status.h"

namespace ovlet::files {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

bool MakeFolders(const std::string& path) {
    const std::filesystem::path folder(std::u8string(path.begin(), path.end()));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

}  // namespace ovlet::files
