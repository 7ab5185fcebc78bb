// "Change total...": the total of the project picked in the overview, typed as HHH:MM:SS.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CChangeTotalDlg : public CDialog {
public:
    // The project at nIndex as the overview shows it: its name and stored total.
    CChangeTotalDlg(int nIndex, const CString& strName, const CString& strTotal);

    enum { IDD = IDD_CHANGE_TOTAL };

    CEdit m_editTotal;
    bool m_bChanged = false;   // the new total was written
    bool m_bListStale = false; // the file no longer matched the list; nothing was written

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void RefuseEntry(const char* pszReason);

    int m_nIndex;
    CString m_strName;
    CString m_strTotal;

    DECLARE_MESSAGE_MAP()
};
