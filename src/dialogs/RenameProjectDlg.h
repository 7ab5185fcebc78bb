// "Rename...": a new name for the project picked in the overview, with the create dialog's rules.
#pragma once

#include "EntryDialogs.h"
#include "resource.h"

class CRenameProjectDlg : public CCorrectionDlg {
public:
    CRenameProjectDlg(int nIndex, const CString& strName);

    enum { IDD = IDD_RENAME_PROJECT };

    CEdit m_editName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    void OnChangeName();

private:
    DECLARE_MESSAGE_MAP()
};
