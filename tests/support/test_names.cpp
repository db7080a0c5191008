#include "tests/support/test_names.h"

#include <cctype>

namespace ovlet::test_support {

std::string TestName(std::string_view text) {
    std::string name(text);
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

}  // namespace ovlet::test_support
