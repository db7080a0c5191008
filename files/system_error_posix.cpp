#include <cstring>

#include "files/file_error.h"

namespace ovlet::files {

std::string SystemErrorText(int systemCode) {
    return std::strerror(systemCode);
}

}  // namespace ovlet::files
