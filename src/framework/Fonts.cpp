#include "Fonts.h"

#include <algorithm>
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

// How far the samples, in the face at the height, could grow and still fit the rectangle:
// 1 or more when they fit.
static double FitScale(HDC hDC, const RECT& rect, std::initializer_list<const char*> samples,
                       const char* pszFace, int nWeight, bool bItalic, int nHeight) {
    LOGFONTA logFont = MakeLogFont(pszFace, nWeight, bItalic, nHeight);
    HFONT hFont = ::CreateFontIndirectA(&logFont);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    double nScale = 1e9;
    for (const char* pszSample : samples) {
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, pszSample, static_cast<int>(std::strlen(pszSample)), &size);
        nScale = std::min({nScale, double(rect.right - rect.left) / std::max(1L, size.cx),
                           double(rect.bottom - rect.top) / std::max(1L, size.cy)});
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    return nScale;
}

// Measuring on the control itself keeps the text inside it at any screen resolution and with
// whatever font the system substitutes for the face. Each try realizes a font, the slow part
// of starting up, so there are few: text grows about in proportion to the height, so the size
// at the largest height tells the height to try next, and its neighbour settles it; where
// hinting has it otherwise, halving the range that is left finds the largest height that fits.
void CreateFittedFont(CFont& font, const CWnd& control, std::initializer_list<const char*> samples,
                      const char* pszFace, int nWeight, bool bItalic, int nMaxHeight) {
    RECT rect;
    control.GetClientRect(&rect);
    HDC hDC = ::GetDC(control.m_hWnd);
    int nFits = nMaxHeight < 6 ? nMaxHeight : 6; // taken when nothing larger fits
    int nTooBig = nMaxHeight + 1;
    int nGuess = nMaxHeight;
    for (int nTry = 0; nTooBig - nFits > 1; ++nTry) {
        const int nHeight = (nTry < 3 && nGuess > nFits && nGuess < nTooBig)
                                ? nGuess
                                : nFits + (nTooBig - nFits) / 2;
        const double nScale = FitScale(hDC, rect, samples, pszFace, nWeight, bItalic, nHeight);
        if (nScale >= 1) {
            nFits = nHeight;
            nGuess = nHeight + 1;
        } else {
            nTooBig = nHeight;
            nGuess = nTry == 0 ? static_cast<int>(nHeight * nScale) : nHeight - 1;
        }
    }
    ::ReleaseDC(control.m_hWnd, hDC);
    LOGFONTA logFont = MakeLogFont(pszFace, nWeight, bItalic, nFits);
    font.CreateFontIndirect(&logFont);
}
