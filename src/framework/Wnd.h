// CWnd and the small GDI wrappers: each a thin wrapper over a handle, its methods one-line
// forwards to the Win32 call of the same meaning.
#pragma once

#include <windows.h>

#include "MessageMap.h"
#include "String.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }

    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, nMsg, wParam, lParam);
    }

    void SetWindowText(const char* pszText) { ::SetWindowTextA(m_hWnd, pszText); }
    void GetWindowText(CString& rString) const;
    void SetDlgItemText(int nID, const char* pszText) { ::SetDlgItemTextA(m_hWnd, nID, pszText); }
    int GetDlgItemText(int nID, CString& rString) const;
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(hIcon)));
    }
    void CenterWindow();

    HWND m_hWnd = nullptr;

protected:
    // A handler calls Default() to leave the current message to the system's default handling.
    void Default() { m_bDefaultRequested = true; }
    bool m_bDefaultRequested = false;
};

class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }

    HDC m_hDC = nullptr;
};

// Owns a font; the font lives as long as this object, so keep it beside the controls using it.
class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont() { DeleteObject(); }

    BOOL CreateFontIndirect(const LOGFONTA* pLogFont);
    void DeleteObject();
    operator HFONT() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};
