#include "platform/win32/late_library.h"

#include <objbase.h>

#include <map>
#include <mutex>
#include <string>

namespace ovlet::platform::win32 {
namespace {

thread_local bool comStarted = false;

}  // namespace

HMODULE LateLibrary(const wchar_t* name) {
    static std::mutex guard;
    static std::map<std::wstring, HMODULE> loaded;
    const std::lock_guard<std::mutex> lock(guard);
    const auto found = loaded.find(name);
    if (found != loaded.end()) return found->second;
    // From the system's folder only, never from the program's or the current one.
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    loaded.emplace(name, module);
    return module;
}

bool StartCom() {
    if (comStarted) return true;
    auto* start = LateFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    if (!start) return false;
    const HRESULT started = start(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    comStarted = SUCCEEDED(started);
    // Started otherwise by someone else on this thread: usable, not ours to stop.
    return comStarted || started == RPC_E_CHANGED_MODE;
}

void StopCom() {
    if (!comStarted) return;
    comStarted = false;
    if (auto* stop = LateFunction<decltype(CoUninitialize)>(L"ole32.dll", "CoUninitialize")) stop();
}

}  // namespace ovlet::platform::win32
