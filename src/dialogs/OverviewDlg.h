// The project time overview: every project with its stored total, in file order, and the
// corrections of the picked project's total and name.
#pragma once

#include "framework/Afx.h"
#include "resource.h"

#include <string>
#include <vector>

class COverviewDlg : public CDialog {
public:
    explicit COverviewDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_OVERVIEW };

    CListBox m_listOverview;
    bool m_bFileChanged = false; // a correction was written, or the list was read again

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnChangeTotal();
    void OnRename();

private:
    bool GetChosenRow(int& nRow);
    void ReloadRows(int nSelect);

    std::vector<std::string> m_names; // the names as the rows show them

    DECLARE_MESSAGE_MAP()
};
