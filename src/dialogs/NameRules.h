// The rules for a project name as a user types it, shared by "Create new project" and
// "Rename...": at most 30 bytes, not empty, one line.
#pragma once

#include "framework/Afx.h"

// Cuts the name in the edit control to 30 bytes, on a character boundary, after a change that
// made it longer, and says so.
void KeepNameShort(CWnd& dialog, int nEditID, CEdit& edit);
// True for a name that may be stored; otherwise tells the user why not.
bool CheckNameEntry(const CString& strName);
