#include "ClockDlg.h"

#include "framework/Fonts.h"

// A large, bold run counter that fits three-digit hours, and labels somewhat larger than the
// dialog's text. The fonts are members, so they live as long as the statics that use them.
void CClockDlg::SetLabelFonts() {
    RECT rect;
    m_staticCurrent.GetClientRect(&rect);
    // Both labels in one size: the one that fits the narrower of the two.
    CFont fontChoose;
    CreateFittedFont(fontChoose, m_staticChoose, {"Choose project:"}, "Arial", FW_BOLD, false,
                     (rect.bottom - rect.top) / 2);
    LOGFONTA logChoose;
    ::GetObjectA(static_cast<HFONT>(fontChoose), sizeof(logChoose), &logChoose);
    CreateFittedFont(m_fontLabels, m_staticCurrent, {"Current time:"}, "Arial", FW_BOLD, false,
                     -logChoose.lfHeight);

    m_staticTime.GetClientRect(&rect);
    CreateFittedFont(m_fontTime, m_staticTime, {"000:00:00"}, "Arial", FW_BOLD, false,
                     rect.bottom - rect.top);

    m_staticCurrent.SetFont(m_fontLabels);
    m_staticChoose.SetFont(m_fontLabels);
    m_staticTotal.SetFont(m_fontLabels);
    m_staticTime.SetFont(m_fontTime);
}
