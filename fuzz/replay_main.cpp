// Replays files through a fuzz target without libFuzzer: each argument is a
// file or a folder, searched recursively. Used by ctest in the plain builds.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace ovlet {
namespace {

bool ReplayFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

}  // namespace
}  // namespace ovlet

int main(int argc, char** argv) {
    int files = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    ok = ovlet::ReplayFile(entry.path()) && ok;
                    ++files;
                }
            }
        } else {
            ok = ovlet::ReplayFile(path) && ok;
            ++files;
        }
    }
    std::printf("replayed %d files\n", files);
    return ok && files > 0 ? 0 : 1;
}
