#include "ClockApp.h"

#include <objbase.h>

#include "ClockDlg.h"
#include "LockFile.h"
#include "ProjectFileScreen.h"
#include "SingleInstance.h"

CClockApp theApp;

BOOL CClockApp::InitInstance() {
    CSingleInstance instance;
    if (!instance.Claim(GetProjectFilePath())) {
        instance.ActivateOtherCopy();
        return FALSE;
    }
    // Copies on other computers sharing the folder: held before anything touches the file.
    CLockFile lockFile;
    if (lockFile.Take(GetProjectFilePath()) == CLockFile::HeldElsewhere) {
        lockFile.ReportHolder();
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
