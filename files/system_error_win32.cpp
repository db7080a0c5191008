#include "files/file_error.h"
#include "files/windows_support.h"

namespace files {

std::string SystemErrorText(int systemCode) {
    return windows::ReasonFromWindows(static_cast<DWORD>(systemCode));
}

}  // namespace files
