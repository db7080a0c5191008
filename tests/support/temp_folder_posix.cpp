#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "tests/support/test_files.h"

namespace ovlet::test_support {

TempFolder::TempFolder() {
    // mkdtemp makes the folder itself, with a name nobody else holds: never
    // one left behind by an earlier run or made by someone else.
    std::string pattern = (std::filesystem::temp_directory_path() / "ovlet-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::filesystem::filesystem_error("cannot make a temporary folder", pattern,
                                                std::error_code(errno, std::generic_category()));
    }
    path = pattern;
}

}  // namespace ovlet::test_support
