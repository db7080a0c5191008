// The system's libraries a window needs only once the user does something
// (drops a file, follows a link, opens a file dialog, asks a screen reader):
// they, and every library they bring in, are loaded at the first such call
// instead of before the first window.
#pragma once

#include <windows.h>

namespace ovlet::platform::win32 {

// The library `name`, loaded once for the process; null when the system has none.
HMODULE LateLibrary(const wchar_t* name);

// Function `name` of library `library`, typed as `Function`; null when absent.
template <class Function>
Function* LateFunction(const wchar_t* library, const char* name) {
    HMODULE module = LateLibrary(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// COM on this thread (single-threaded apartment), started at its first
// need: true when COM can be used here. StopCom ends what StartCom started.
bool StartCom();
void StopCom();

}  // namespace ovlet::platform::win32
