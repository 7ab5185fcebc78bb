#include "ClockApp.h"

#include <objbase.h>

#include "ClockDlg.h"
#include "SingleInstance.h"
#include "projectfile/ProjectFileCalls.h"

CClockApp theApp;

BOOL CClockApp::InitInstance() {
    CSingleInstance instance;
    if (!instance.Claim(GetProjectFilePath())) {
        instance.ActivateOtherCopy();
        return FALSE;
    }
    RecoverProjectFile();
    // COM serves the accessible names the dialogs give their lists.
    HRESULT hrCom = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CClockDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    if (SUCCEEDED(hrCom))
        ::CoUninitialize();
    return FALSE;
}
