#include "window/program_data.h"

#include <filesystem>
#include <system_error>

#include "files/file_status.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::window {
namespace {

bool Exists(const std::string& path) {
    return files::FindPath(path) == files::PathPresence::Present;
}

// The path with its "folder/.." steps taken, as the system names the file.
std::string Canonical(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical =
        std::filesystem::canonical(std::filesystem::path(std::u8string(path.begin(), path.end())), error);
    if (error) return path;
    const std::u8string text = canonical.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

std::string ProgramDataFile(const std::string& name) {
    using files::JoinPath;
    const std::string folder = files::ProgramFolder();
    const std::string installed = JoinPath(JoinPath(folder, "../share/ovlet"), name);
    if (Exists(installed)) return Canonical(installed);
    // Windows keeps a program's data beside it.
    const std::string beside = JoinPath(JoinPath(folder, "data"), name);
    if (!folder.empty() && Exists(beside)) return beside;
    // From the build folder: the data as written in the sources.
    const std::string source = JoinPath(OVLET_SOURCE_DATA_DIR, name);
    if (Exists(source)) return source;
    return installed;
}

std::string LocalizedDataFile(const std::string& name) {
    const std::string& language = catalogue::Language();
    if (!language.empty()) {
        const std::string::size_type dot = name.find_last_of('.');
        const std::string localized =
            dot == std::string::npos ? name + "_" + language : name.substr(0, dot) + "_" + language + name.substr(dot);
        const std::string path = ProgramDataFile(localized);
        if (Exists(path)) return path;
    }
    return ProgramDataFile(name);
}

}  // namespace ovlet::window
