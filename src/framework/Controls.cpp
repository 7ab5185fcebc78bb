#include "Controls.h"

#include <vector>

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR) {
        rString.Empty();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
    int nCopied = static_cast<int>(
        SendMessage(CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(buffer.data())));
    rString = std::string(buffer.data(), static_cast<size_t>(nCopied > 0 ? nCopied : 0));
}

void CListBox::GetText(int nIndex, CString& rString) const {
    int nLength = static_cast<int>(SendMessage(LB_GETTEXTLEN, nIndex));
    if (nLength == LB_ERR) {
        rString.Empty();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
    int nCopied =
        static_cast<int>(SendMessage(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(buffer.data())));
    rString = std::string(buffer.data(), static_cast<size_t>(nCopied > 0 ? nCopied : 0));
}
