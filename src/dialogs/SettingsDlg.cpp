#include "SettingsDlg.h"

#include "framework/Shell.h"

#include "framework/Accessibility.h"
#include "main/Settings.h"
#include "main/SettingsBesideExe.h"

#include "EntryDialogs.h"

#include <commctrl.h>

namespace {
const char* const kMsgBadMinutes =
    "Please enter the away limit as a whole number of minutes from 1 to 240, or 0 to turn the "
    "question about time away off.";
const char* const kMsgNotWritten =
    "The settings file Quillet.ini beside Quillet.exe could not be written: the away limit was "
    "not changed.";
} // namespace

BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
END_MESSAGE_MAP()

// The up-down control's window class must be registered before the template is created.
CSettingsDlg::CSettingsDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    InitUpDownControls();
}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AWAY_MINUTES, m_editMinutes);
    DDX_Control(pDX, IDC_AWAY_SPIN, m_spinMinutes);
}

// The field shows the limit in force: the file's, or the default.
BOOL CSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The arrows have no label of their own; they change the field the label names.
    SetAccessibleName(m_spinMinutes, L"Away after this many minutes without input");
    m_spinMinutes.SendMessage(UDM_SETRANGE32, 0, kMaxAwayMinutes);
    m_editMinutes.LimitText(3);
    m_spinMinutes.SendMessage(UDM_SETPOS32, 0, GetAwayMinutes());
    return TRUE;
}

// A wrong entry, or a file that cannot be written, is refused with the reason and the dialog
// stays.
void CSettingsDlg::OnOK() {
    CString strEntry;
    GetDlgItemText(IDC_AWAY_MINUTES, strEntry);
    int nMinutes = 0;
    if (!ParseAwayMinutes(strEntry.Str(), nMinutes)) {
        RefuseEntry(m_editMinutes, kMsgBadMinutes);
        return;
    }
    if (!SetAwayMinutes(nMinutes)) {
        RefuseEntry(m_editMinutes, kMsgNotWritten);
        return;
    }
    m_nAwayMinutes = nMinutes;
    EndDialog(IDOK);
}
