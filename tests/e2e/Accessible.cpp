// Reading what a screen reader would announce, through the system's accessibility layer.
#include "Driver.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

namespace e2e {
namespace {

void InitComOnce() {
    static const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)hr;
}

} // namespace

std::optional<std::string> AccessibleName(HWND hwnd) {
    InitComOnce();
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))))
        return std::nullopt;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT hr = accessible->get_accName(self, &name);
    accessible->Release();
    if (hr != S_OK || name == nullptr)
        return std::nullopt;
    std::string text = Narrow(std::wstring(name, SysStringLen(name)));
    SysFreeString(name);
    return text;
}

// Annotates a window of the driver's own and reads the name back.
bool SystemAnnotatesNames() {
    InitComOnce();
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        return false;
    const HWND probe = CreateWindowExW(0, L"ListBox", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    wchar_t name[] = L"probe";
    const HRESULT hr = services->SetHwndPropStr(probe, static_cast<DWORD>(OBJID_CLIENT),
                                                CHILDID_SELF, PROPID_ACC_NAME, name);
    const bool annotated = SUCCEEDED(hr) && AccessibleName(probe) == std::string("probe");
    services->Release();
    DestroyWindow(probe);
    return annotated;
}

} // namespace e2e
