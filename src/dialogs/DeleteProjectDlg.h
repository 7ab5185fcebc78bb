// The delete-project dialog: a drop-down list of the projects, "Delete project" and "close".
// It stays open for further deletions until closed.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

class CDeleteProjectDlg : public CDialog {
public:
    explicit CDeleteProjectDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_DELETE_PROJECT };

    CComboBox m_comboDelete;
    int m_nSelected = 0; // list index, and so project index, that "Delete project" removes
    // A project was deleted, or another program changed the records, while the dialog was open.
    bool m_bFileChanged = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnDelete();
    void OnCloseButton();
    void OnEditChangeDeleteCombo();
    void OnSelChangeDeleteCombo();

private:
    void LoadNamesShowingSelected();
    void ShowSelectedProject();

    DECLARE_MESSAGE_MAP()
};
