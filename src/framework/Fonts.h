// Fonts sized to the controls that show them.
#pragma once

#include "Afx.h"

// Creates the largest font of the face and style, at most nMaxHeight pixels high, in which
// every sample fits the control's client area.
void CreateFittedFont(CFont& font, const CWnd& control, std::initializer_list<const char*> samples,
                      const char* pszFace, int nWeight, bool bItalic, int nMaxHeight);
