#include "ClockDlg.h"

#include "Accessibility.h"
#include "SingleInstance.h"
#include "projectfile/ProjectFileCalls.h"

BEGIN_MESSAGE_MAP(CClockDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
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
    ON_REGISTERED_MESSAGE(g_nActivateInstanceMessage, OnActivateRequest)
    ON_REGISTERED_MESSAGE(g_nTaskbarCreatedMessage, OnTaskbarCreated)
END_MESSAGE_MAP()

CClockDlg::CClockDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    HINSTANCE hInstance = AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    m_hIcon = ::LoadIconA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CClockDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROJECT_COMBO, m_comboProject);
    DDX_Control(pDX, IDC_TIME_DISPLAY, m_staticTime);
    DDX_Control(pDX, IDC_LABEL_CHOOSE, m_staticChoose);
    DDX_Control(pDX, IDC_LABEL_CURRENT, m_staticCurrent);
}

BOOL CClockDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // A second copy started from now on finds this dialog, even while a message box below
    // delays its showing.
    PublishMainWindow(m_hWnd);
    SetIcon(m_hIcon, TRUE);
    // The title bar shows the hand-drawn 16x16 image rather than the 32x32 one scaled down.
    HANDLE hSmallIcon =
        ::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SetIcon(hSmallIcon ? static_cast<HICON>(hSmallIcon) : m_hIcon, FALSE);
    SetLabelFonts();
    // Its visible label comes after it in tab order, where screen readers do not look.
    SetAccessibleName(m_comboProject, L"Choose project");

    m_bStopped = true;
    m_bPaused = false;
    LoadProjectNames(m_comboProject);
    m_nCurrentProject = 0;
    g_nTotalSeconds = 0;
    g_nTotalMinutes = 0;
    g_nTotalHours = 0;
    return TRUE;
}

// Draws the application icon centred in the client area while the dialog is minimised.
void CClockDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CClockDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

// A second copy of the program was started: show this one instead, in front, with whatever
// modal dialog it has open.
LRESULT CClockDlg::OnActivateRequest(WPARAM, LPARAM) {
    if (m_bInTray)
        RestoreFromTray();
    if (IsIconic())
        ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(::GetLastActivePopup(m_hWnd));
    return 0;
}
