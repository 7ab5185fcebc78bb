// "Change total...": the total of the project picked in the overview, typed as HHH:MM:SS.
#pragma once

#include "EntryDialogs.h"
#include "resource.h"

class CChangeTotalDlg : public CCorrectionDlg {
public:
    // The project at nIndex as the overview shows it: its name and stored total.
    CChangeTotalDlg(int nIndex, const CString& strName, const CString& strTotal);

    enum { IDD = IDD_CHANGE_TOTAL };

    CEdit m_editTotal;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CString m_strTotal;

    DECLARE_MESSAGE_MAP()
};
