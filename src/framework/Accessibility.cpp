#include "Accessibility.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

// The system's accessibility layer reads the name of a combo or list box from the static that
// comes before it in tab order. Where that static is missing or names something else, an
// annotation on the window replaces the name it would find.
void SetAccessibleName(const CWnd& control, const wchar_t* pszName) {
    IAccPropServices* pServices = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&pServices))))
        return;
    pServices->SetHwndPropStr(control.m_hWnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              PROPID_ACC_NAME, const_cast<wchar_t*>(pszName));
    pServices->Release();
}
