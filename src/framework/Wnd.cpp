#include "Wnd.h"

#include <vector>

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, entries};
    return &messageMap;
}

// Walks this class's map, then its bases', for the first entry that takes the message.
const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const {
    UINT nKey = nMsg;
    if (nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC)
        nKey = AFX_WM_CTLCOLOR;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk; ++pEntry) {
            if (pEntry->pnRegistered) {
                if (*pEntry->pnRegistered != 0 && *pEntry->pnRegistered == nMsg)
                    return pEntry;
                continue;
            }
            if (pEntry->nMessage != nKey)
                continue;
            if (nKey != WM_COMMAND || (pEntry->nCode == nCode && pEntry->nID == nID))
                return pEntry;
        }
    }
    return nullptr;
}

static CString GetTextOf(HWND hWnd) {
    int nLength = ::GetWindowTextLengthA(hWnd);
    std::vector<char> buffer(static_cast<size_t>(nLength > 0 ? nLength : 0) + 1);
    int nCopied = ::GetWindowTextA(hWnd, buffer.data(), static_cast<int>(buffer.size()));
    return CString(std::string(buffer.data(), static_cast<size_t>(nCopied > 0 ? nCopied : 0)));
}

void CWnd::GetWindowText(CString& rString) const {
    rString = GetTextOf(m_hWnd);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString = GetTextOf(::GetDlgItem(m_hWnd, nID));
    return rString.GetLength();
}

// Centres the window over its owner, or over the work area when the owner is hidden or absent.
void CWnd::CenterWindow() {
    RECT rcWindow;
    ::GetWindowRect(m_hWnd, &rcWindow);
    RECT rcArea;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &rcArea);
    } else {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
        rcArea = info.rcWork;
    }
    int cx = rcWindow.right - rcWindow.left;
    int cy = rcWindow.bottom - rcWindow.top;
    int x = rcArea.left + ((rcArea.right - rcArea.left) - cx) / 2;
    int y = rcArea.top + ((rcArea.bottom - rcArea.top) - cy) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* pLogFont) {
    DeleteObject();
    m_hFont = ::CreateFontIndirectA(pLogFont);
    return m_hFont != nullptr;
}

void CFont::DeleteObject() {
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = nullptr;
}
