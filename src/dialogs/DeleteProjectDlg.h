// The delete-project dialog: a drop-down list of the projects, "Delete project", "Undo delete"
// and "close". It stays open for further deletions until closed.
#pragma once

#include "framework/Afx.h"
#include "projectfile/ProjectFile.h"
#include "resource.h"

#include <vector>

class CDeleteProjectDlg : public CDialog {
public:
    explicit CDeleteProjectDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_DELETE_PROJECT };

    CComboBox m_comboDelete;
    int m_nSelected = 0; // list index, and so project index, that "Delete project" removes
    // The projects deleted, in order, from the list as it was read at opening, when the lists
    // only lost those entries; otherwise the list was read again and the project box must be too.
    int m_nOpeningCount = 0;
    std::vector<int> m_deleted;
    bool m_bListReloaded = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnDelete();
    void OnUndoDelete();
    void OnCloseButton();
    void OnEditChangeDeleteCombo();
    void OnSelChangeDeleteCombo();

private:
    void LoadNamesShowingSelected();
    void ShowSelectedProject();
    void EnableUndo();

    // The deletes made while the dialog is open, the last one at the back: "Undo delete" takes
    // them back one by one.
    std::vector<CRemovedRecord> m_undo;

    DECLARE_MESSAGE_MAP()
};
