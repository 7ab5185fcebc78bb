// "Settings..." from the main dialog's system menu: the away limit, kept in Quillet.ini.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_SETTINGS };

    CEdit m_editMinutes;
    CWnd m_spinMinutes;
    int m_nAwayMinutes = 0; // the limit written, after IDOK

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    DECLARE_MESSAGE_MAP()
};
