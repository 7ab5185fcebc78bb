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
    CStatic m_staticTotal;
    CStatic m_staticSaveStatus;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDpiChanged(UINT nDpi, const RECT* pSuggested) override;

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
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnPowerBroadcast(WPARAM wParam, LPARAM lParam);
    LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyDialog(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivateRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    // Counting hooks
    int64_t GetMonotonicMs() override;
    void ScheduleTick(int64_t nDelayMs) override;
    void ShowCount(const std::string& strRun, const std::string& strTotal) override;
    int GetSelectedProject(std::string& strName, int& nOccurrence) override;
    bool ReadCountedTotal(CountedRecord& record, int64_t& nTotal) override;
    bool AddToTotal(CountedRecord& record, int64_t nSeconds, bool bFlush, TotalUpdate& update,
                    std::string& strError) override;
    void SelectMovedProject() override;
    void ShowMessage(const char* pszText) override;
    void OnCountChanged() override;
    int64_t GetIdleMs() override;
    int GetAwayLimitMinutes() override;
    bool AskKeepAwayTime(const AwaySpan& span) override;
    void NoteAwayTime(const std::string& strProject, int64_t nMinutes) override;

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
    void DescribeCount(struct _NOTIFYICONDATAA& data); // the icon's face and tip
    // Shows the dialog, also from the notification area, and puts hForeground in front.
    void BringToFront(HWND hForeground);
    void ShowTotalText(const std::string& strTotal);
    void UpdateButtons();
    void UpdateSaveStatus();
    void UpdateTrayIcon();
    void TellLeftOutAwayTime();
    void WatchSessionLock();

    bool m_bInTray = false; // hidden behind the notification-area icon
    int64_t m_nTipMinute = -1;       // the run's minute the icon's tip names
    bool m_bTipNeedsShowTip = false; // the shell took version 4, which hides plain tips
    bool m_bWatchingLock = false;    // Windows tells this dialog of session locks

    CFont m_fontLabels;
    CFont m_fontTime;

    DECLARE_MESSAGE_MAP()
};

extern const UINT g_nTaskbarCreatedMessage;

// The local time of day nAgoMs before now, as "HH:MM".
CString FormatClockAgo(int64_t nAgoMs);
