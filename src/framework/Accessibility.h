// Names that screen readers announce for controls whose on-screen label cannot serve.
#pragma once

#include "Afx.h"

// Gives the control an accessible name without changing what the screen shows. Needs COM
// initialised on the calling thread; does nothing where the system cannot annotate.
void SetAccessibleName(const CWnd& control, const wchar_t* pszName);
