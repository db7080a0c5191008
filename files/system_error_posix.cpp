#include <cstring>

#include "files/file_error.h"

namespace files {

std::string SystemErrorText(int systemCode) {
    return std::strerror(systemCode);
}

}  // namespace files
