// The project-file operations as the dialogs call them: on the file beside the executable,
// filling the dialogs' own combo and list boxes, with messages shown in message boxes.
#pragma once

#include "projectfile/ProjectFile.h"
#include "framework/Afx.h"

// The project file's full path as UTF-8 (any folder name, any length): the file layer and the
// single-instance lock take it as it is; it is never shown.
CString GetProjectFilePath();
ProjectFileState GetProjectFileState();
void LoadProjectNames(CComboBox& comboBox);
BOOL AppendProject(const CString& strName);
// Deletes the record at nIndex only while it carries strName; bListStale asks for a refill.
// pRemoved receives what RestoreProject needs to take the delete back.
BOOL DeleteProject(int nIndex, const CString& strName, bool& bListStale,
                   CRemovedRecord* pRemoved = nullptr);
BOOL RestoreProject(const CRemovedRecord& removed, bool& bListStale);
// Corrections of the record at nIndex while it carries strName; bListStale asks for a refill.
BOOL SetProjectTotal(int nIndex, const CString& strName, const CString& strTotal, bool& bListStale);
BOOL RenameProject(int nIndex, const CString& strName, const CString& strNewName, bool& bListStale);
BOOL ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds);
// The counted record's total at the start of a count; bGone asks for a refill of the lists.
BOOL ReadCountedTotal(CountedRecord& record, int64_t& nTotal, bool& bGone);
// Adds counted time to the record's total without showing anything; strError says why not.
BOOL AddToProjectTotal(CountedRecord& record, int64_t nSeconds, bool bFlush, TotalUpdate& update,
                       std::string& strError);
// pNames receives the project names as the rows show them.
void LoadOverviewRows(CListBox& listBox, std::vector<std::string>* pNames = nullptr);
// At start-up, with the single-instance lock held: rolls back a change a crash cut short and
// removes older versions' temporary files. Shows nothing; a journal it could not roll back is
// tried again before the next change.
void RecoverProjectFile();
