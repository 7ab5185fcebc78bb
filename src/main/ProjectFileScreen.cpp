#include "ProjectFileScreen.h"

#include "projectfile/FileSystem.h"

namespace {

class CMessageBoxSink : public IMessageSink {
public:
    void ShowMessage(const char* pszText) override { AfxMessageBox(pszText); }
};

// Keeps the message for the caller to show when it chooses.
class CKeptMessageSink : public IMessageSink {
public:
    void ShowMessage(const char* pszText) override { m_strMessage = pszText; }
    std::string m_strMessage;
};

// Lets the operations fill a combo box or a list box.
template <class TList> class CListAdapter : public IStringList {
public:
    explicit CListAdapter(TList& list) : m_list(list) {}
    int GetCount() const override { return m_list.GetCount(); }
    void DeleteString(int nIndex) override { m_list.SendMessage(DeleteMessage(), nIndex); }
    void AddString(const char* pszText) override;
    // One allocation for all entries, and one repaint after the last instead of one per entry.
    void BeginFill(int nCount, std::size_t nBytes) override {
        m_list.SetRedraw(FALSE);
        m_list.InitStorage(nCount, static_cast<UINT>(nBytes));
        m_hFillList = GetListBox();
    }
    void EndFill() override {
        m_hFillList = nullptr;
        m_list.SetRedraw(TRUE);
        m_list.Invalidate();
    }

private:
    static UINT DeleteMessage();
    HWND GetListBox() const;
    TList& m_list;
    HWND m_hFillList = nullptr;
};

template <> UINT CListAdapter<CComboBox>::DeleteMessage() {
    return CB_DELETESTRING;
}
template <> UINT CListAdapter<CListBox>::DeleteMessage() {
    return LB_DELETESTRING;
}

// A combo box keeps its entries in its list box and hands each CB_ADDSTRING on to it; filling
// that list box directly, in the text form it stores, spares a long list that detour.
template <> HWND CListAdapter<CComboBox>::GetListBox() const {
    COMBOBOXINFO info;
    return m_list.GetComboBoxInfo(&info) ? info.hwndList : nullptr;
}
template <> HWND CListAdapter<CListBox>::GetListBox() const {
    return m_list.m_hWnd;
}

template <class TList> void CListAdapter<TList>::AddString(const char* pszText) {
    wchar_t szWide[128];
    if (m_hFillList && ::MultiByteToWideChar(CP_ACP, 0, pszText, -1, szWide, 128) > 0) {
        ::SendMessageW(m_hFillList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szWide));
        return;
    }
    m_list.AddString(pszText);
}

CMessageBoxSink g_messageBoxSink;

// Where the ANSI code page has double-byte characters, a list never cuts one in half.
bool IsAnsiLeadByte(unsigned char c) {
    return ::IsDBCSLeadByte(c) != FALSE;
}

CProjectFile OpenProjectFile(IMessageSink& sink = g_messageBoxSink) {
    return CProjectFile(GetProjectFilePath().Str(), GetPlatformFileSystem(), sink, IsAnsiLeadByte);
}

} // namespace

// Taken from the wide module name, so a folder outside the ANSI code page keeps its name.
CString GetProjectFilePath() {
    return CString(MakeProjectFilePath(GetExeFileNameUtf8()));
}

ProjectFileState GetProjectFileState() {
    return OpenProjectFile().GetState();
}

void LoadProjectNames(CComboBox& comboBox) {
    CListAdapter<CComboBox> list(comboBox);
    OpenProjectFile().LoadProjectNames(list);
}

BOOL AppendProject(const CString& strName) {
    return OpenProjectFile().AppendProject(strName.Str());
}

BOOL DeleteProject(int nIndex, const CString& strName, bool& bListStale, CRemovedRecord* pRemoved) {
    return OpenProjectFile().DeleteProject(nIndex, strName.Str(), bListStale, pRemoved);
}

BOOL RestoreProject(const CRemovedRecord& removed, bool& bListStale) {
    return OpenProjectFile().InsertProjectAt(removed, bListStale);
}

BOOL SetProjectTotal(int nIndex, const CString& strName, const CString& strTotal,
                     bool& bListStale) {
    return OpenProjectFile().SetProjectTotal(nIndex, strName.Str(), strTotal.Str(), bListStale);
}

BOOL RenameProject(int nIndex, const CString& strName, const CString& strNewName,
                   bool& bListStale) {
    return OpenProjectFile().RenameProject(nIndex, strName.Str(), strNewName.Str(), bListStale);
}

BOOL ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds) {
    return OpenProjectFile().ReadProjectTotal(nIndex, nHours, nMinutes, nSeconds);
}

BOOL ReadCountedTotal(CountedRecord& record, int64_t& nTotal, bool& bGone) {
    return OpenProjectFile().ReadCountedTotal(record, nTotal, bGone);
}

BOOL AddToProjectTotal(CountedRecord& record, int64_t nSeconds, bool bFlush, TotalUpdate& update,
                       std::string& strError) {
    CKeptMessageSink sink;
    const bool bSaved = OpenProjectFile(sink).AddToProjectTotal(record, nSeconds, bFlush, update);
    strError = sink.m_strMessage;
    return bSaved;
}

// Nothing is shown: a journal that could not be rolled back is tried again before each change.
void RecoverProjectFile() {
    CKeptMessageSink sink;
    OpenProjectFile(sink).RecoverAfterCrash();
}

void LoadOverviewRows(CListBox& listBox, std::vector<std::string>* pNames) {
    CListAdapter<CListBox> list(listBox);
    OpenProjectFile().LoadOverviewRows(list, pNames);
}
