#include "Fonts.h"

#include <cstring>

static LOGFONTA MakeLogFont(const char* pszFace, int nWeight, bool bItalic, int nHeight) {
    LOGFONTA logFont = {};
    logFont.lfHeight = -nHeight;
    logFont.lfWeight = nWeight;
    logFont.lfItalic = bItalic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strncpy(logFont.lfFaceName, pszFace, LF_FACESIZE - 1);
    return logFont;
}

// Measuring on the control itself keeps the text inside it at any screen resolution and with
// whatever font the system substitutes for the face.
void CreateFittedFont(CFont& font, const CWnd& control, std::initializer_list<const char*> samples,
                      const char* pszFace, int nWeight, bool bItalic, int nMaxHeight) {
    RECT rect;
    control.GetClientRect(&rect);
    HDC hDC = ::GetDC(control.m_hWnd);
    int nHeight = nMaxHeight;
    for (; nHeight > 6; --nHeight) {
        LOGFONTA logFont = MakeLogFont(pszFace, nWeight, bItalic, nHeight);
        HFONT hFont = ::CreateFontIndirectA(&logFont);
        HGDIOBJ hOld = ::SelectObject(hDC, hFont);
        bool bFits = true;
        for (const char* pszSample : samples) {
            SIZE size = {};
            ::GetTextExtentPoint32A(hDC, pszSample, static_cast<int>(std::strlen(pszSample)),
                                    &size);
            bFits = bFits && size.cx <= rect.right - rect.left && size.cy <= rect.bottom - rect.top;
        }
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hFont);
        if (bFits)
            break;
    }
    ::ReleaseDC(control.m_hWnd, hDC);
    LOGFONTA logFont = MakeLogFont(pszFace, nWeight, bItalic, nHeight);
    font.CreateFontIndirect(&logFont);
}
