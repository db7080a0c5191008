#include <random>
#include <system_error>

#include "tests/support/test_files.h"

namespace ovlet::test_support {

TempFolder::TempFolder() {
    // create_directory makes the folder only when the name is free: never one
    // left behind by an earlier run.
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = base / ("ovlet-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path = candidate;
            return;
        }
    }
    throw std::filesystem::filesystem_error("cannot make a temporary folder", base,
                                            std::make_error_code(std::errc::file_exists));
}

}  // namespace ovlet::test_support
