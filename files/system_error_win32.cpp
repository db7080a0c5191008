#include "files/file_error.h"
#include "files/windows_support.h"

namespace ovlet::files {

std::string SystemErrorText(int systemCode) {
    return windows::ReasonFromWindows(static_cast<DWORD>(systemCode));
}

}  // namespace ovlet::files
