// The application object: shows the main dialog and ends the program when it closes.
#pragma once

#include "framework/Afx.h"

class CClockApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
