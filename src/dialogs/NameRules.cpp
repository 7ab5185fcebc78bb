#include "NameRules.h"

namespace {

const int kMaxNameBytes = 30;
const char* const kMsgMaxLength = "Max 30 characters";
const char* const kMsgEnterName = "Please enter a name for your project";
const char* const kMsgOneLine = "A project name must be one line: please remove the line break";

// The longest start of strName that fits in nMaxBytes without splitting a double-byte
// character of the ANSI code page.
CString CutToCharacterBoundary(const CString& strName, int nMaxBytes) {
    const char* pszStart = strName;
    const char* psz = pszStart;
    while (*psz != '\0') {
        const char* pszNext = ::CharNextA(psz);
        if (pszNext - pszStart > nMaxBytes)
            break;
        psz = pszNext;
    }
    return strName.Left(static_cast<int>(psz - pszStart));
}

} // namespace

// Every change of the field, typed or pasted, keeps the name to 30 bytes. Putting the cut
// name back raises one more change, which finds it short enough, so the message shows once.
// The caret goes to the end, where the user was typing.
void KeepNameShort(CWnd& dialog, int nEditID, CEdit& edit) {
    CString strName;
    dialog.GetDlgItemText(nEditID, strName);
    if (strName.GetLength() <= kMaxNameBytes)
        return;
    CString strCut = CutToCharacterBoundary(strName, kMaxNameBytes);
    dialog.SetDlgItemText(nEditID, strCut);
    edit.SetSel(strCut.GetLength(), strCut.GetLength());
    AfxMessageBox(kMsgMaxLength);
}

// Blanks and names already in the list are accepted. A line break (pasted in) would split the
// record, so it is refused with the reason.
bool CheckNameEntry(const CString& strName) {
    if (strName.IsEmpty()) {
        AfxMessageBox(kMsgEnterName);
        return false;
    }
    if (strName.Str().find_first_of("\r\n") != std::string::npos) {
        AfxMessageBox(kMsgOneLine);
        return false;
    }
    return true;
}
