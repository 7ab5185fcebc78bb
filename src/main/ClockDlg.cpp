#include "ClockDlg.h"


#include "ProjectFileScreen.h"
#include "SingleInstance.h"
#include "framework/Accessibility.h"

BEGIN_MESSAGE_MAP(CClockDlg, CDialog)
    ON_BN_CLICKED(IDC_START, OnStart)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_MINIMIZE, OnMinimize)
    ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
    ON_BN_CLICKED(IDC_OVERVIEW, OnOverview)
    ON_BN_CLICKED(IDC_NEW_PROJECT, OnNewProject)
    ON_BN_CLICKED(IDC_DELETE_PROJECT, OnDeleteProject)
    ON_CBN_EDITCHANGE(IDC_PROJECT_COMBO, OnEditChangeProject)
    ON_CBN_SELCHANGE(IDC_PROJECT_COMBO, OnSelChangeProject)
    ON_CBN_DROPDOWN(IDC_PROJECT_COMBO, OnDropDownProject)
    ON_BN_CLICKED(IDC_ABOUT, OnAbout)
    ON_BN_CLICKED(IDC_PAUSE, OnPause)
    ON_WM_CLOSE()
    ON_WM_QUERYENDSESSION()
    ON_WM_ENDSESSION()
    ON_WM_TIMER()
    ON_MESSAGE(WM_POWERBROADCAST, OnPowerBroadcast)
    ON_MESSAGE(WM_WTSSESSION_CHANGE, OnSessionChange)
    ON_MESSAGE(WM_DESTROY, OnDestroyDialog)
    ON_REGISTERED_MESSAGE(g_nActivateInstanceMessage, OnActivateRequest)
    ON_REGISTERED_MESSAGE(g_nTaskbarCreatedMessage, OnTaskbarCreated)
    ON_WM_SYSCOMMAND()
    ON_WM_INITMENU()
END_MESSAGE_MAP()

CClockDlg::CClockDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CClockDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROJECT_COMBO, m_comboProject);
    DDX_Control(pDX, IDC_TIME_DISPLAY, m_staticTime);
    DDX_Control(pDX, IDC_LABEL_CHOOSE, m_staticChoose);
    DDX_Control(pDX, IDC_LABEL_CURRENT, m_staticCurrent);
    DDX_Control(pDX, IDC_TOTAL_DISPLAY, m_staticTotal);
    DDX_Control(pDX, IDC_SAVE_STATUS, m_staticSaveStatus);
}

BOOL CClockDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // A second copy started from now on finds this dialog, even while a message box below
    // delays its showing.
    PublishMainWindow(m_hWnd);
    SetIconsForDpi();
    SetLabelFonts();
    // Its visible label comes after it in tab order, where screen readers do not look.
    SetAccessibleName(m_comboProject, L"Choose project");
    AddSettingsToSystemMenu();

    LoadProjectNames(m_comboProject);
    m_nCurrentProject = 0;
    UpdateButtons();
    TellLeftOutAwayTime();
    return TRUE;
}

// Buttons that would do nothing in the current state are greyed: the side dialogs open only
// while stopped, About not while a count runs, pause and stop only on a count. A button that
// had the focus hands it on, so the keyboard never loses its place.
void CClockDlg::UpdateButtons() {
    const bool bStopped = IsStopped();
    const struct {
        int nID;
        bool bEnabled;
    } buttons[] = {{IDC_OVERVIEW, bStopped},       {IDC_NEW_PROJECT, bStopped},
                   {IDC_DELETE_PROJECT, bStopped}, {IDC_ABOUT, !IsRunning()},
                   {IDC_PAUSE, !bStopped},         {IDC_STOP, !bStopped}};
    HWND hFocus = ::GetFocus();
    for (const auto& button : buttons) {
        HWND hButton = GetDlgItem(button.nID);
        if (!button.bEnabled && hButton == hFocus)
            SendMessage(WM_NEXTDLGCTL,
                        reinterpret_cast<WPARAM>(GetDlgItem(bStopped ? IDC_START : IDC_PAUSE)),
                        TRUE);
        ::EnableWindow(hButton, button.bEnabled);
    }
}

// "Settings..." goes into the system menu (Alt+Space), so the dialog's own layout stays as it is.
void CClockDlg::AddSettingsToSystemMenu() {
    HMENU hMenu = GetSystemMenu(FALSE);
    if (hMenu == nullptr)
        return;
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(hMenu, MF_STRING, IDM_SETTINGS, "&Settings...");
}

// The system keeps the low four bits of a system command for itself; every other command goes
// on to the system.
void CClockDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_SETTINGS) {
        OnSettings();
        return;
    }
    Default();
}

// The settings are not changed while a count runs: the item is greyed then. Any menu's opening
// updates it, so it is right whichever way the system menu was opened.
void CClockDlg::OnInitMenu(HMENU) {
    ::EnableMenuItem(GetSystemMenu(FALSE), IDM_SETTINGS,
                     MF_BYCOMMAND | (IsRunning() ? MF_GRAYED : MF_ENABLED));
    Default();
}

// The icons of the title bar and the task switcher in the sizes the dialog's DPI asks for, so
// that each shows an image drawn at its size rather than another one scaled.
void CClockDlg::SetIconsForDpi() {
    const int nDpi = static_cast<int>(GetDpi());
    const int nBig = ::MulDiv(32, nDpi, USER_DEFAULT_SCREEN_DPI);
    const int nSmall = ::MulDiv(16, nDpi, USER_DEFAULT_SCREEN_DPI);
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HANDLE hBig =
        ::LoadImageA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, nBig, nBig, LR_SHARED);
    HANDLE hSmall = ::LoadImageA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, nSmall,
                                 nSmall, LR_SHARED);
    // The small one first: set before it, the big one is slower under Wine.
    SetIcon(hSmall ? static_cast<HICON>(hSmall) : m_hIcon, FALSE);
    SetIcon(hBig ? static_cast<HICON>(hBig) : m_hIcon, TRUE);
}

// On a monitor of another DPI the fonts this dialog made are fitted again to the scaled
// controls, and the icons are taken in the new sizes.
void CClockDlg::OnDpiChanged(UINT nDpi, const RECT* pSuggested) {
    CDialog::OnDpiChanged(nDpi, pSuggested);
    SetIconsForDpi();
    SetLabelFonts();
}

// A second copy of the program was started: show this one instead, in front, with whatever
// modal dialog it has open.
LRESULT CClockDlg::OnActivateRequest(WPARAM, LPARAM) {
    BringToFront(::GetLastActivePopup(m_hWnd));
    return 0;
}

void CClockDlg::BringToFront(HWND hForeground) {
    if (m_bInTray)
        RestoreFromTray();
    if (IsIconic())
        ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(hForeground);
}
