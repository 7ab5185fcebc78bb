#include <algorithm>
#include <cstring>

#include "ClockDlg.h"

static LOGFONTA MakeLogFont(const char* pszFace, int nWeight, int nHeight) {
    LOGFONTA logFont = {};
    logFont.lfHeight = -nHeight;
    logFont.lfWeight = nWeight;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strncpy(logFont.lfFaceName, pszFace, LF_FACESIZE - 1);
    return logFont;
}

// The largest character height, at most nMaxHeight pixels, at which the sample fits the
// control's client area. Measuring on the control itself keeps the text inside it at any
// screen resolution and with whatever font the system substitutes for the face.
static int FitFontHeight(const CWnd& control, const char* pszSample, const char* pszFace,
                         int nWeight, int nMaxHeight) {
    RECT rect;
    control.GetClientRect(&rect);
    HDC hDC = ::GetDC(control.m_hWnd);
    int nHeight = nMaxHeight;
    for (; nHeight > 6; --nHeight) {
        LOGFONTA logFont = MakeLogFont(pszFace, nWeight, nHeight);
        HFONT hFont = ::CreateFontIndirectA(&logFont);
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, pszSample, static_cast<int>(std::strlen(pszSample)), &size);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hFont);
        if (size.cx <= rect.right - rect.left && size.cy <= rect.bottom - rect.top)
            break;
    }
    ::ReleaseDC(control.m_hWnd, hDC);
    return nHeight;
}

// A large, bold run counter that fits three-digit hours, and labels somewhat larger than the
// dialog's text. The fonts are members, so they live as long as the statics that use them.
void CClockDlg::SetLabelFonts() {
    RECT rect;
    m_staticCurrent.GetClientRect(&rect);
    int nLabelMax = (rect.bottom - rect.top) / 2;
    int nLabelHeight =
        std::min(FitFontHeight(m_staticCurrent, "Current time:", "Arial", FW_BOLD, nLabelMax),
                 FitFontHeight(m_staticChoose, "Choose project:", "Arial", FW_BOLD, nLabelMax));
    LOGFONTA logLabels = MakeLogFont("Arial", FW_BOLD, nLabelHeight);
    m_fontLabels.CreateFontIndirect(&logLabels);

    m_staticTime.GetClientRect(&rect);
    int nTimeHeight =
        FitFontHeight(m_staticTime, "000:00:00", "Arial", FW_BOLD, rect.bottom - rect.top);
    LOGFONTA logTime = MakeLogFont("Arial", FW_BOLD, nTimeHeight);
    m_fontTime.CreateFontIndirect(&logTime);

    m_staticCurrent.SetFont(m_fontLabels);
    m_staticChoose.SetFont(m_fontLabels);
    m_staticTime.SetFont(m_fontTime);
}
