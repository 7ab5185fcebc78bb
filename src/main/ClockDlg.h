// The main dialog: the project box, the run counter display and the command buttons.
#pragma once

#include "Counter.h"
#include "framework/Afx.h"
#include "resource.h"

class CClockDlg : public CDialog, public CCounter {
public:
    explicit CClockDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_CLOCK_DIALOG };

    CComboBox m_comboProject;
    CStatic m_staticTime;
    CStatic m_staticChoose;
    CStatic m_staticCurrent;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDpiChanged(UINT nDpi, const RECT* pSuggested) override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnMinimize();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnOverview();
    void OnNewProject();
    void OnDeleteProject();
    void OnEditChangeProject();
    void OnSelChangeProject();
    void OnDropDownProject();
    void OnAbout();
    void OnSettings();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnInitMenu(HMENU hMenu);
    void OnClose();
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    LRESULT OnActivateRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    // Counting hooks
    int64_t GetMonotonicMs() override;
    void WaitForMessages(int64_t nTimeoutMs) override;
    void DispatchPendingMessages() override;
    void ShowRunCounter(const char* pszText) override;
    int GetSelectedProject(CString& strName) override;
    bool SaveProjectTotal(int& nProject, const CString& strName, const CString& strTotal,
                          bool bQuiet) override;
    void SelectMovedProject() override;
    void ShowMessage(const char* pszText) override;

private:
    void SetLabelFonts();
    void SetIconsForDpi();
    void LoadSelectedTotal();
    bool CanListProjects();
    void RefillProjectBox();
    void RefillKeepingSelection();
    void AddSettingsToSystemMenu();
    bool RefuseWhileCounting();
    bool AddTrayIcon();
    void DeclareIconVersion();
    BOOL RestoreFromTray();

    bool m_bInTray = false; // hidden behind the notification-area icon

    CFont m_fontLabels;
    CFont m_fontTime;

    DECLARE_MESSAGE_MAP()
};

extern const UINT g_nTaskbarCreatedMessage;

// Dispatches every message waiting for this thread, with the keyboard handling of hDialog.
void PumpMessages(HWND hDialog);
