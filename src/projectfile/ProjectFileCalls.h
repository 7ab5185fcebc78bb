// The project-file operations as the dialogs call them: on the file beside the executable,
// filling the dialogs' own combo and list boxes, with messages shown in message boxes.
#pragma once

#include "ProjectFile.h"
#include "framework/Afx.h"

// The project file's full path as UTF-8 (any folder name, any length): the file layer and the
// single-instance lock take it as it is; it is never shown.
CString GetProjectFilePath();
ProjectFileState GetProjectFileState();
void LoadProjectNames(CComboBox& comboBox);
BOOL AppendProject(const CString& strName);
// Deletes the record at nIndex only while it carries strName; bListStale asks for a refill.
BOOL DeleteProject(int nIndex, const CString& strName, bool& bListStale);
BOOL ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds);
// Saves the total of project strName; nIndex follows the project when another program moved
// it. bQuiet: a failure shows nothing (the periodic save of a running count).
BOOL WriteProjectTotal(int& nIndex, const CString& strName, const CString& strTotal,
                       bool bQuiet = false);
void LoadOverviewRows(CListBox& listBox);
// At start-up, with the single-instance lock held: rolls back a change a crash cut short and
// removes older versions' temporary files. Shows nothing; a journal it could not roll back is
// tried again before the next change.
void RecoverProjectFile();
