// The project time overview: every project with its stored total, in file order.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class COverviewDlg : public CDialog {
public:
    explicit COverviewDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_OVERVIEW };

    CListBox m_listOverview;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
