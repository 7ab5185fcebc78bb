// CDialog: a modal dialog from a resource template. Its static dialog procedure finds the
// object through DWLP_USER and dispatches through the message maps of the class and its bases.
#pragma once

#include "Controls.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds a control member to the dialog's control nIDC.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    virtual INT_PTR DoModal();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();

    // The dots per inch of the monitor the dialog is on, as far as the system tells.
    UINT GetDpi() const { return m_nDpi; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    virtual void OnOK();
    virtual void OnCancel();

    // Defaults that derived handlers fall back on.
    void OnClose() { Default(); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // The dialog moved to a monitor of another DPI: takes the suggested frame and scales the
    // controls and the dialog's font. Overrides refit what they drew themselves after this.
    virtual void OnDpiChanged(UINT nDpi, const RECT* pSuggested);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    UINT m_nDpi = USER_DEFAULT_SCREEN_DPI;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT nMsg, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleInitDialog();
    void TakeOverDpiScaling();
    void ScaleControls(UINT nFrom, UINT nTo);

    CFont m_fontScaled; // the template's font at the current DPI, once it changed

    DECLARE_MESSAGE_MAP()
};
