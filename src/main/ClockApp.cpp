#include "ClockApp.h"

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
    CClockDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
