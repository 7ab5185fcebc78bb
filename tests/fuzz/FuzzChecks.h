// The fuzz target's checks: the records as the lists on screen show them, before and after an
// operation, and what each operation may change. A violated check aborts the process.
#pragma once

#include "ProjectFile.h"

#include <cstddef>
#include <string>
#include <vector>

class CMemoryFileSystem;

// Prints the failed condition and aborts, so that libFuzzer keeps the input.
[[noreturn]] void FuzzFail(const char* pszFile, int nLine, const char* pszCondition);
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            FuzzFail(__FILE__, __LINE__, #condition);                                              \
    } while (0)

class CFuzzSink : public IMessageSink {
public:
    void ShowMessage(const char* pszText) override { m_messages.push_back(pszText); }
    std::vector<std::string> m_messages;
};

class CFuzzList : public IStringList {
public:
    int GetCount() const override { return static_cast<int>(m_entries.size()); }
    void DeleteString(int nIndex) override { m_entries.erase(m_entries.begin() + nIndex); }
    void AddString(const char* pszText) override { m_entries.push_back(pszText); }
    std::vector<std::string> m_entries;
};

struct ShownRecord {
    std::string strName;
    std::string strTime;
    bool operator==(const ShownRecord& other) const {
        return strName == other.strName && strTime == other.strTime;
    }
};

// What the user sees of the file: its state, and its records as the project box and the
// overview list show them, without the empty entry that a line end at the end of the file
// adds. bWellFormed: the file keeps every writing rule, so its records are known exactly.
struct CListView {
    ProjectFileState state = ProjectFileState::Missing;
    std::vector<ShownRecord> records;
    std::vector<ShownRecord> shown; // every entry the lists show, the empty one included
    bool bWellFormed = false;
};

// Reads the file as every list does, checking that the lists agree with each other (and with
// the file's records, where it is well formed) and that reading changes nothing.
CListView LookAtLists(CMemoryFileSystem& fs, const std::string& strPath, int nIndex,
                      LeadByteTest pfnIsLeadByte);

// One operation as the fuzz target gives it: 1 write a total, 2 delete, 3 append; the index and
// the name the caller passes (the new name, for an append), and the total.
struct FuzzOperation {
    int nOperation = 0;
    int nIndex = 0;
    std::string strName;
    int nOccurrence = 0; // which of the records of that name a count's save is for
    std::string strTotal; // the seconds a count adds, as a time text
};

// nWritten: where the write found the project.
void CheckWrite(const CListView& before, const CListView& after, const FuzzOperation& operation,
                int nWritten, const std::string& strOld, const std::string& strNew);
// bListStale: false promises that the lists only lost the entry at the index.
void CheckDelete(const CListView& before, const CListView& after, const FuzzOperation& operation,
                 bool bListStale);
void CheckAppend(const CListView& before, const CListView& after, const std::string& strName);
// An operation failed without a failed call: only where the file or the arguments gave cause.
void CheckFailureWasDue(const FuzzOperation& operation, const CListView& before, bool bCallFailed);
