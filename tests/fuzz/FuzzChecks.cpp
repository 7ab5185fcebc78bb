#include "FuzzChecks.h"

#include <algorithm>

#include "MemoryFileSystem.h"
#include "ProjectFileFormat.h"

#include <cstdio>
#include <cstdlib>

namespace {

const std::size_t kMaxName = 30;

// HHH:MM:SS with minutes and seconds below 60, as the counter writes it.
bool IsTimeForm(const std::string& strText) {
    if (strText.size() != 9) {
        return false;
    }
    for (std::size_t i = 0; i < 9; ++i) {
        const bool bColon = i == 3 || i == 6;
        if (bColon ? strText[i] != ':' : (strText[i] < '0' || strText[i] > '9')) {
            return false;
        }
    }
    return strText[4] <= '5' && strText[7] <= '5';
}

bool IsPlainName(const std::string& strName) {
    return !strName.empty() && strName.size() <= kMaxName &&
           strName.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// The records of a file that keeps every writing rule: name and time lines separated by CR LF,
// none after the last, names of 1 to 30 bytes, time lines HHH:MM:SS. False for any other file.
bool ParseWellFormed(const std::string& strContent, std::vector<ShownRecord>& records) {
    std::vector<std::string> lines;
    for (std::size_t nPos = 0; !strContent.empty();) {
        const std::size_t nEnd = strContent.find("\r\n", nPos);
        lines.push_back(strContent.substr(nPos, nEnd - nPos));
        if (nEnd == std::string::npos) {
            break;
        }
        nPos = nEnd + 2;
    }
    if (lines.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        if (!IsPlainName(lines[i]) || !IsTimeForm(lines[i + 1])) {
            return false;
        }
        records.push_back({lines[i], lines[i + 1]});
    }
    return true;
}

// A text as a list shows it: up to its first NUL.
std::string Shown(const std::string& strText) {
    return strText.substr(0, strText.find('\0'));
}

// The entries without the empty one that a line end at the end of the file adds.
std::vector<ShownRecord> WithoutFinalEmpty(std::vector<ShownRecord> records) {
    if (!records.empty() && records.back() == ShownRecord{}) {
        records.pop_back();
    }
    return records;
}

// Whether the lists show an entry at the index, with that name.
bool IsShownWithName(const CListView& view, int nIndex, const std::string& strName) {
    return nIndex >= 0 && static_cast<std::size_t>(nIndex) < view.shown.size() &&
           view.shown[nIndex].strName == strName;
}

std::size_t CountNamed(const std::vector<ShownRecord>& records, const std::string& strName) {
    std::size_t nCount = 0;
    for (const ShownRecord& record : records) {
        nCount += record.strName == strName;
    }
    return nCount;
}

} // namespace

void FuzzFail(const char* pszFile, int nLine, const char* pszCondition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", pszFile, nLine, pszCondition);
    std::abort();
}

CListView LookAtLists(CMemoryFileSystem& fs, const std::string& strPath, int nIndex,
                      LeadByteTest pfnIsLeadByte) {
    CFuzzSink sink;
    const CProjectFile file(strPath, fs, sink, pfnIsLeadByte);
    CListView view;
    view.state = file.GetState();
    CFuzzList names, rows;
    names.m_entries = {"entry of an earlier fill"};
    file.LoadProjectNames(names);
    file.LoadOverviewRows(rows);
    int nHours = -7, nMinutes = -7, nSeconds = -7;
    const bool bRead = file.ReadProjectTotal(nIndex, nHours, nMinutes, nSeconds);
    FUZZ_CHECK(bRead == (view.state == ProjectFileState::NonEmpty));
    FUZZ_CHECK(names.m_entries.size() == rows.m_entries.size());
    for (std::size_t i = 0; i < names.m_entries.size(); ++i) {
        const std::string& strName = names.m_entries[i];
        FUZZ_CHECK(rows.m_entries[i].compare(0, strName.size() + 1, strName + '\t') == 0);
        view.records.push_back({strName, rows.m_entries[i].substr(strName.size() + 1)});
    }
    view.shown = view.records;
    view.records = WithoutFinalEmpty(view.shown);
    if (view.state == ProjectFileState::Missing) {
        return view;
    }
    std::vector<ShownRecord> exact;
    view.bWellFormed = ParseWellFormed(fs.m_files.at(strPath), exact);
    if (view.bWellFormed) {
        FUZZ_CHECK(view.shown == exact);
    }
    if (view.bWellFormed && nIndex >= 0 && static_cast<std::size_t>(nIndex) < exact.size()) {
        const std::string& strTime = exact[nIndex].strTime;
        FUZZ_CHECK(nHours == std::atoi(strTime.substr(0, 3).c_str()) &&
                   nMinutes == std::atoi(strTime.substr(4, 2).c_str()) &&
                   nSeconds == std::atoi(strTime.substr(7, 2).c_str()));
    }
    return view;
}

// The project is the record of that name and occurrence. Only its time line changes: it holds
// the old total plus the time added, up to 999:59:59 (a total typed above it stays), and the
// bytes up to the end of its name and from the end of its time line on are the same.
void CheckWrite(const CListView& before, const CListView& after, const FuzzOperation& operation,
                int nWritten, const std::string& strOld, const std::string& strNew) {
    FUZZ_CHECK(nWritten >= 0 && static_cast<std::size_t>(nWritten) < before.records.size());
    FUZZ_CHECK(before.records[nWritten].strName == operation.strName);
    const std::vector<ShownRecord> above(before.records.begin(), before.records.begin() + nWritten);
    FUZZ_CHECK(CountNamed(above, operation.strName) == std::size_t(operation.nOccurrence));
    const ProjectRecord recordOld = ScanRecords(strOld).at(nWritten);
    const ProjectRecord recordNew = ScanRecords(strNew).at(nWritten);
    const std::int64_t nOld = ParseTotalSeconds(PieceText(strOld, recordOld.time));
    const std::int64_t nAdded = nOld + ParseTotalSeconds(operation.strTotal);
    const std::int64_t nNew = nOld > kMaxTotalSeconds ? nOld : std::min(nAdded, kMaxTotalSeconds);
    FUZZ_CHECK(ParseTotalSeconds(PieceText(strNew, recordNew.time)) == nNew);
    std::vector<ShownRecord> expected = before.records;
    if (strOld != strNew) {
        expected[nWritten].strTime = Shown(FormatTotal(nNew));
    }
    FUZZ_CHECK(after.records == expected);
    FUZZ_CHECK(strOld.compare(0, recordOld.name.nEnd, strNew, 0, recordNew.name.nEnd) == 0);
    FUZZ_CHECK(
        strOld.compare(recordOld.time.nEnd, std::string::npos, strNew, recordNew.time.nEnd) == 0);
    if (before.bWellFormed) {
        FUZZ_CHECK(after.bWellFormed);
    }
}

// Exactly the record at the index goes, and only while it carries the name the list showed.
// The empty entry after a final line end may go with it, as a file that loses its last record
// may lose its final line end too.
void CheckDelete(const CListView& before, const CListView& after, const FuzzOperation& operation,
                 bool bListStale) {
    FUZZ_CHECK(IsShownWithName(before, operation.nIndex, operation.strName));
    std::vector<ShownRecord> expected = before.shown;
    expected.erase(expected.begin() + operation.nIndex);
    FUZZ_CHECK(after.records == WithoutFinalEmpty(expected));
    FUZZ_CHECK(bListStale || after.shown == expected);
    if (before.bWellFormed) {
        FUZZ_CHECK(after.bWellFormed);
    }
}

// One record is added after every entry the lists showed. A last entry without a time line
// may be given the zero total it was read as, and an empty one (the entry after a final line
// end) may be taken by the new record instead.
void CheckAppend(const CListView& before, const CListView& after, const std::string& strName) {
    FUZZ_CHECK(before.state != ProjectFileState::Missing);
    const ShownRecord added{Shown(strName), "000:00:00"};
    std::vector<ShownRecord> kept = before.shown;
    kept.push_back(added);
    bool bAllowed = after.shown == kept;
    if (!before.shown.empty() && before.shown.back().strTime.empty()) {
        std::vector<ShownRecord> completed = kept;
        completed[kept.size() - 2].strTime = "000:00:00";
        std::vector<ShownRecord> taken = before.shown;
        taken.back() = added;
        bAllowed = bAllowed || after.shown == completed ||
                   (before.shown.back().strName.empty() && after.shown == taken);
    }
    FUZZ_CHECK(bAllowed);
    if (before.bWellFormed && IsPlainName(strName)) {
        FUZZ_CHECK(after.bWellFormed);
    }
}

void CheckFailureWasDue(const FuzzOperation& operation, const CListView& before, bool bCallFailed) {
    if (bCallFailed || !before.bWellFormed) {
        return;
    }
    const bool bNamed = IsShownWithName(before, operation.nIndex, operation.strName);
    switch (operation.nOperation) {
    case 1:
        FUZZ_CHECK(CountNamed(before.records, operation.strName) <=
                   std::size_t(operation.nOccurrence));
        break;
    case 2:
        FUZZ_CHECK(!bNamed);
        break;
    case 3:
        FUZZ_CHECK(!IsPlainName(operation.strName));
        break;
    default:
        break;
    }
}
