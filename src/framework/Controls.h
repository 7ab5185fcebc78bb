// Control wrappers: one-line forwards of the control messages the program uses.
#pragma once

#include "Wnd.h"

class CComboBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(CB_SETCURSEL, nSelect)); }
    int AddString(const char* pszString) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszString)));
    }
    int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
    int InitStorage(int nItems, UINT nBytes) {
        return static_cast<int>(SendMessage(CB_INITSTORAGE, nItems, nBytes));
    }
    BOOL GetComboBoxInfo(COMBOBOXINFO* pInfo) const {
        pInfo->cbSize = sizeof(COMBOBOXINFO);
        return ::GetComboBoxInfo(m_hWnd, pInfo);
    }
    int GetLBTextLen(int nIndex) const {
        return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, nIndex));
    }
    // Text of list item nIndex; empty when there is no such item.
    void GetLBText(int nIndex, CString& rString) const;
    int FindStringExact(int nStartAfter, const char* pszText) const {
        return static_cast<int>(
            SendMessage(CB_FINDSTRINGEXACT, nStartAfter, reinterpret_cast<LPARAM>(pszText)));
    }
};

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int AddString(const char* pszString) {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszString)));
    }
    int InitStorage(int nItems, UINT nBytes) {
        return static_cast<int>(SendMessage(LB_INITSTORAGE, nItems, nBytes));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int nSelect) { return static_cast<int>(SendMessage(LB_SETCURSEL, nSelect)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    void GetText(int nIndex, CString& rString) const;
    // One tab stop every cxEachStop dialog template units.
    BOOL SetTabStops(const int& cxEachStop) {
        return static_cast<BOOL>(
            SendMessage(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&cxEachStop)));
    }
};

class CEdit : public CWnd {
public:
    void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, nStart, nEnd); }
    void LimitText(int nChars) { SendMessage(EM_LIMITTEXT, nChars); }
};

class CStatic : public CWnd {};
