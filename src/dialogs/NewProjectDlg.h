// The create-project dialog: a name field, "add" and "cancel".
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CNewProjectDlg : public CDialog {
public:
    explicit CNewProjectDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_NEW_PROJECT };

    CEdit m_editName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    void OnChangeName();
    void OnAdd();
    void OnCancelButton();

    DECLARE_MESSAGE_MAP()
};
