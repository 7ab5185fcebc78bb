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

// Whether the samples, in the face at the height, fit the rectangle.
static bool SamplesFit(HDC hDC, const RECT& rect, std::initializer_list<const char*> samples,
                       const char* pszFace, int nWeight, bool bItalic, int nHeight) {
    LOGFONTA logFont = MakeLogFont(pszFace, nWeight, bItalic, nHeight);
    HFONT hFont = ::CreateFontIndirectA(&logFont);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    bool bFits = true;
    for (const char* pszSample : samples) {
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, pszSample, static_cast<int>(std::strlen(pszSample)), &size);
        bFits = bFits && size.cx <= rect.right - rect.left && size.cy <= rect.bottom - rect.top;
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    return bFits;
}

// Measuring on the control itself keeps the text inside it at any screen resolution and with
// whatever font the system substitutes for the face. Text grows with the height, so the
// largest height that fits is found by halving the range: each try realizes a font, which is
// the slow part of starting up.
void CreateFittedFont(CFont& font, const CWnd& control, std::initializer_list<const char*> samples,
                      const char* pszFace, int nWeight, bool bItalic, int nMaxHeight) {
    RECT rect;
    control.GetClientRect(&rect);
    HDC hDC = ::GetDC(control.m_hWnd);
    int nFits = nMaxHeight < 6 ? nMaxHeight : 6; // taken when nothing larger fits
    int nTooBig = nMaxHeight + 1;
    while (nTooBig - nFits > 1) {
        const int nHeight = nFits + (nTooBig - nFits) / 2;
        if (SamplesFit(hDC, rect, samples, pszFace, nWeight, bItalic, nHeight))
            nFits = nHeight;
        else
            nTooBig = nHeight;
    }
    ::ReleaseDC(control.m_hWnd, hDC);
    LOGFONTA logFont = MakeLogFont(pszFace, nWeight, bItalic, nFits);
    font.CreateFontIndirect(&logFont);
}
