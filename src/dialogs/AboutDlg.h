// The About box: product name, copyright and licence lines, and the maker's web address.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

    enum { IDD = IDD_ABOUTBOX };

    CStatic m_staticProductName;
    CStatic m_staticWebsite;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnDpiChanged(UINT nDpi, const RECT* pSuggested) override;

    void OnWebsite();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);

private:
    void SetProductNameFont();

    CFont m_fontProductName; // lives as long as the label that shows it

    DECLARE_MESSAGE_MAP()
};
