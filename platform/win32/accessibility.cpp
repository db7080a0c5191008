#include <windows.h>
// (the GUIDs of the accessibility layer are defined here)
#include <initguid.h>
#include <oleacc.h>

#include "platform/win32/accessibility.h"
#include "platform/win32/win32_face.h"

namespace platform::win32 {
namespace {

// The annotation service, made once per thread; null when there is none.
IAccPropServices* Services() {
    thread_local IAccPropServices* services = [] {
        IAccPropServices* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                    reinterpret_cast<void**>(&made)))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return made;
    }();
    return services;
}

bool AnnotateText(HWND control, const MSAAPROPID& property, const std::string& text) {
    IAccPropServices* services = Services();
    if (!services || !control) return false;
    const std::wstring wide = Wide(text);
    return SUCCEEDED(
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, wide.c_str()));
}

}  // namespace

bool AnnotateName(HWND control, const std::string& name) {
    return AnnotateText(control, PROPID_ACC_NAME, name);
}

bool AnnotateDescription(HWND control, const std::string& description) {
    return AnnotateText(control, PROPID_ACC_DESCRIPTION, description);
}

bool AnnotateRole(HWND control, AccessibleRole role) {
    IAccPropServices* services = Services();
    if (!services || !control) return false;
    VARIANT value;
    VariantInit(&value);
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

std::string AccessibleNameOf(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))) ||
        !accessible) {
        return {};
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name) {
        result = Utf8(std::wstring(name, SysStringLen(name)));
        SysFreeString(name);
    }
    accessible->Release();
    return result;
}

}  // namespace platform::win32
