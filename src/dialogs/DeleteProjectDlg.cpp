#include "DeleteProjectDlg.h"

#include "framework/Accessibility.h"
#include "main/ProjectFileScreen.h"

namespace {
const char* const kMsgDeleted = "Deleted";
} // namespace

BEGIN_MESSAGE_MAP(CDeleteProjectDlg, CDialog)
    ON_BN_CLICKED(IDC_DELETE_PROJECT, OnDelete)
    ON_BN_CLICKED(IDC_UNDO_DELETE, OnUndoDelete)
    ON_BN_CLICKED(IDC_CLOSE, OnCloseButton)
    ON_CBN_EDITCHANGE(IDC_DELETE_COMBO, OnEditChangeDeleteCombo)
    ON_CBN_SELCHANGE(IDC_DELETE_COMBO, OnSelChangeDeleteCombo)
END_MESSAGE_MAP()

CDeleteProjectDlg::CDeleteProjectDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CDeleteProjectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DELETE_COMBO, m_comboDelete);
}

// Nothing chosen yet: "Delete project" removes the first project, and the field names it.
BOOL CDeleteProjectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetAccessibleName(m_comboDelete, L"Project to delete"); // the box has no label
    m_nSelected = 0;
    LoadNamesShowingSelected();
    m_nOpeningCount = m_comboDelete.GetCount();
    return TRUE;
}

// Refills the list from the file, at opening and after each deletion.
void CDeleteProjectDlg::LoadNamesShowingSelected() {
    LoadProjectNames(m_comboDelete);
    ShowSelectedProject();
}

// Selects item m_nSelected, so the field always shows the project that "Delete project"
// removes; the field is empty only when m_nSelected names no project (CB_SETCURSEL with -1
// clears it).
void CDeleteProjectDlg::ShowSelectedProject() {
    bool bNamesProject = m_nSelected >= 0 && m_nSelected < m_comboDelete.GetCount();
    m_comboDelete.SetCurSel(bNamesProject ? m_nSelected : -1);
}

// After a deletion m_nSelected keeps its value: it now names the project that followed the
// deleted one, or nothing when the deleted one was the last. The project is deleted only while
// its record still carries the name shown; when another program has moved the records, the
// list is read again and nothing is deleted.
void CDeleteProjectDlg::OnDelete() {
    if (m_nSelected < 0 || m_nSelected >= m_comboDelete.GetCount())
        return;
    CString strName;
    m_comboDelete.GetLBText(m_nSelected, strName);
    bool bListStale = false;
    CRemovedRecord removed;
    const bool bDeleted = DeleteProject(m_nSelected, strName, bListStale, &removed) != FALSE;
    if (!bDeleted && !bListStale)
        return;
    if (bDeleted) {
        m_undo.push_back(removed);
        EnableUndo();
        AfxMessageBox(kMsgDeleted);
    }
    if (bListStale) {
        m_bListReloaded = true;
        LoadNamesShowingSelected();
        return;
    }
    m_deleted.push_back(m_nSelected);
    m_comboDelete.DeleteString(m_nSelected);
    ShowSelectedProject();
}

// The last delete is taken back: the project returns to its place with its total, and the field
// names it again. When another program has changed the records around that place, nothing is
// put back (the message names the project and its total) and no earlier delete can be taken
// back either; a failed save keeps the delete for another try.
void CDeleteProjectDlg::OnUndoDelete() {
    if (m_undo.empty())
        return;
    bool bListStale = false;
    const CRemovedRecord removed = m_undo.back();
    if (RestoreProject(removed, bListStale)) {
        m_undo.pop_back();
        m_nSelected = removed.nIndex;
    } else if (bListStale) {
        m_undo.clear();
    } else {
        return;
    }
    m_bListReloaded = true;
    LoadNamesShowingSelected();
    EnableUndo();
}

// "Undo delete" is there while a delete can be taken back; the focus leaves it when it goes.
void CDeleteProjectDlg::EnableUndo() {
    CWnd undo(GetDlgItem(IDC_UNDO_DELETE));
    if (m_undo.empty() && ::GetFocus() == undo.m_hWnd)
        m_comboDelete.SetFocus();
    undo.EnableWindow(!m_undo.empty());
}

void CDeleteProjectDlg::OnCloseButton() {
    EndDialog(IDOK);
}

// Typing cannot choose a project: the field shows the chosen project's name again, selected
// in the list, or is cleared when no project is chosen.
void CDeleteProjectDlg::OnEditChangeDeleteCombo() {
    ShowSelectedProject();
}

void CDeleteProjectDlg::OnSelChangeDeleteCombo() {
    m_nSelected = m_comboDelete.GetCurSel();
}
