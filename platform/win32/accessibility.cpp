#include <windows.h>
// (the GUIDs of the accessibility layer are defined here)
#include <initguid.h>
#include <oleacc.h>

#include <vector>

#include "platform/win32/accessibility.h"
#include "platform/win32/late_library.h"
#include "platform/win32/win32_face.h"

namespace ovlet::platform::win32 {
namespace {

// The annotation service, made once per thread at its first use (with COM
// and the accessibility library); null when there is none.
IAccPropServices* Services() {
    thread_local IAccPropServices* services = [] {
        IAccPropServices* made = nullptr;
        auto* create = LateFunction<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
        if (!StartCom() || !create ||
            FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                          reinterpret_cast<void**>(&made)))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return made;
    }();
    return services;
}

// Annotations asked for while a dialog comes up, in the order asked.
enum class Annotation { Name, Description, Role };
struct Waiting {
    HWND control;
    Annotation what;
    std::string text;
    AccessibleRole role;
};
thread_local int holds = 0;
thread_local std::vector<Waiting> waiting;

bool AnnotateText(HWND control, const MSAAPROPID& property, const std::string& text) {
    IAccPropServices* services = Services();
    if (!services || !control) return false;
    const std::wstring wide = Wide(text);
    return SUCCEEDED(
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, wide.c_str()));
}

bool AnnotateRoleNow(HWND control, AccessibleRole role) {
    IAccPropServices* services = Services();
    if (!services || !control) return false;
    VARIANT value{};
    value.vt = VT_I4;
    switch (role) {
        case AccessibleRole::Button:
            value.lVal = ROLE_SYSTEM_PUSHBUTTON;
            break;
        case AccessibleRole::Link:
            value.lVal = ROLE_SYSTEM_LINK;
            break;
        case AccessibleRole::StaticText:
            value.lVal = ROLE_SYSTEM_STATICTEXT;
            break;
        case AccessibleRole::Graphic:
            value.lVal = ROLE_SYSTEM_GRAPHIC;
            break;
    }
    return SUCCEEDED(
        services->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE, value));
}

bool Annotate(HWND control, Annotation what, const std::string& text, AccessibleRole role) {
    if (holds > 0) {
        if (!control) return false;
        waiting.push_back({control, what, text, role});
        return true;
    }
    switch (what) {
        case Annotation::Name:
            return AnnotateText(control, PROPID_ACC_NAME, text);
        case Annotation::Description:
            return AnnotateText(control, PROPID_ACC_DESCRIPTION, text);
        case Annotation::Role:
            return AnnotateRoleNow(control, role);
    }
    return false;
}

}  // namespace

bool AnnotateName(HWND control, const std::string& name) {
    return Annotate(control, Annotation::Name, name, AccessibleRole::Button);
}

bool AnnotateDescription(HWND control, const std::string& description) {
    return Annotate(control, Annotation::Description, description, AccessibleRole::Button);
}

bool AnnotateRole(HWND control, AccessibleRole role) {
    return Annotate(control, Annotation::Role, {}, role);
}

void HoldAnnotations() {
    ++holds;
}

void ReleaseAnnotations() {
    if (holds == 0 || --holds > 0) return;
    std::vector<Waiting> now;
    now.swap(waiting);
    for (const Waiting& w : now) {
        if (IsWindow(w.control)) Annotate(w.control, w.what, w.text, w.role);
    }
}

std::string AccessibleNameOf(HWND control) {
    auto* object = LateFunction<decltype(AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    auto* length = LateFunction<decltype(SysStringLen)>(L"oleaut32.dll", "SysStringLen");
    auto* release = LateFunction<decltype(SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    IAccessible* accessible = nullptr;
    if (!StartCom() || !object || !length || !release ||
        FAILED(object(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                      reinterpret_cast<void**>(&accessible))) ||
        !accessible) {
        return {};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name) {
        result = Utf8(std::wstring(name, length(name)));
        release(name);
    }
    accessible->Release();
    return result;
}

}  // namespace ovlet::platform::win32
