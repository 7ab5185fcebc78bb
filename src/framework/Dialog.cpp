#include "Dialog.h"

#include "App.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd == nullptr)
        rControl.m_hWnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_WM_DPICHANGED()
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

// A dialog without a parent is owned by the application's main window, or by the modal dialog
// in front of it, so that it stays modal to the whole program.
INT_PTR CDialog::DoModal() {
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (!hOwner && pMainWnd && pMainWnd != this && pMainWnd->m_hWnd)
        hOwner = ::GetLastActivePopup(pMainWnd->m_hWnd);
    return ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

HBRUSH CDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return reinterpret_cast<HBRUSH>(::DefWindowProcA(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(pDC->m_hDC),
                                                     reinterpret_cast<LPARAM>(pWnd->m_hWnd)));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CDialog* pDlg;
    if (nMsg == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pDlg->m_hWnd = hWnd;
    } else {
        pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (pDlg == nullptr)
        return FALSE;
    // Nothing unwinds through the system's dialog manager: the program is built without
    // exceptions, and running out of memory ends it (NoExceptions.cpp).
    INT_PTR nResult = pDlg->Dispatch(nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        pDlg->m_hWnd = nullptr;
    }
    return nResult;
}

// The framework centres a dialog that OnInitDialog left where its template put it.
INT_PTR CDialog::HandleInitDialog() {
    TakeOverDpiScaling();
    RECT rcBefore;
    ::GetWindowRect(m_hWnd, &rcBefore);
    BOOL bResult = OnInitDialog();
    RECT rcAfter;
    ::GetWindowRect(m_hWnd, &rcAfter);
    if (m_hWnd && ::EqualRect(&rcBefore, &rcAfter))
        CenterWindow();
    return bResult;
}

static bool ReturnsResultDirectly(UINT nMsg) {
    return (nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC) || nMsg == WM_INITDIALOG ||
           nMsg == WM_QUERYDRAGICON || nMsg == WM_COMPAREITEM || nMsg == WM_VKEYTOITEM ||
           nMsg == WM_CHARTOITEM;
}

INT_PTR CDialog::Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_INITDIALOG)
        return HandleInitDialog();
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nMsg, HIWORD(wParam), LOWORD(wParam));
    if (pEntry == nullptr)
        return FALSE;
    // Handlers nest (a message box opened by one dispatches the timer and more), so keep the
    // outer request.
    bool bOuterDefault = m_bDefaultRequested;
    m_bDefaultRequested = false;
    LRESULT lResult = pEntry->pfnThunk(this, nMsg, wParam, lParam);
    bool bDefault = m_bDefaultRequested;
    m_bDefaultRequested = bOuterDefault;
    if (bDefault)
        return FALSE;
    if (ReturnsResultDirectly(nMsg))
        return static_cast<INT_PTR>(lResult);
    if (m_hWnd)
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
