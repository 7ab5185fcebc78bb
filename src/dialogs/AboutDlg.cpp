#include "AboutDlg.h"

#include "framework/Shell.h"

#include "Version.h"
#include "Website.h"
#include "framework/Fonts.h"

static const char kCopyright[] = "Copyright (C) 2026 The Quillet authors";
static const char kLicense[] = "Free software under the MIT License";

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_BN_CLICKED(IDC_WEBSITE, OnWebsite)
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
END_MESSAGE_MAP()

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PRODUCT_NAME, m_staticProductName);
    DDX_Control(pDX, IDC_WEBSITE, m_staticWebsite);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_COPYRIGHT, kCopyright);
    SetDlgItemText(IDC_LICENSE, kLicense);
    SetProductNameFont();
    return TRUE;
}

// The product name in a large bold italic face that fills its label.
void CAboutDlg::SetProductNameFont() {
    RECT rect;
    m_staticProductName.GetClientRect(&rect);
    CreateFittedFont(m_fontProductName, m_staticProductName, {QUILLET_TITLE}, "Arial", FW_BOLD,
                     true, rect.bottom - rect.top);
    m_staticProductName.SetFont(m_fontProductName);
}

// On a monitor of another DPI the product name is fitted again to its scaled label.
void CAboutDlg::OnDpiChanged(UINT nDpi, const RECT* pSuggested) {
    CDialog::OnDpiChanged(nDpi, pSuggested);
    SetProductNameFont();
}

// Only the web address is drawn blue, straight on the dialog's background.
HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH hBrush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd->GetDlgCtrlID() == IDC_WEBSITE) {
        pDC->SetTextColor(RGB(0, 0, 255));
        pDC->SetBkMode(TRANSPARENT);
    }
    return hBrush;
}

// Hands the address to the shell; whether a browser opens is the shell's business, and the
// About box stays open either way.
void CAboutDlg::OnWebsite() {
    OpenInShell("http://" QUILLET_WEBSITE_HOST);
}

// The pointing hand over the web address tells that it can be clicked.
LRESULT CAboutDlg::OnSetCursor(WPARAM wParam, LPARAM) {
    if (reinterpret_cast<HWND>(wParam) != m_staticWebsite.m_hWnd) {
        Default();
        return FALSE;
    }
    ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
    return TRUE;
}
