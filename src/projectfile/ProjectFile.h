// The project file "Projekte.dbu": its path, presence test and the six operations that read
// or rewrite it. Portable: the file system, the lists on screen and the message boxes are
// reached through the small interfaces below, so the same code runs on Windows and in the
// native unit tests.
#pragma once

#include <string>

class IFileSystem;

enum class ProjectFileState { Missing, Empty, NonEmpty };

// Shows a message to the user (a modal message box on Windows).
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual void ShowMessage(const char* pszText) = 0;
};

// A list on screen that the operations fill: a combo box or a list box.
class IStringList {
public:
    virtual ~IStringList() = default;
    virtual int GetCount() const = 0;
    virtual void DeleteString(int nIndex) = 0;
    virtual void AddString(const char* pszText) = 0;
};

// The fixed messages.
extern const char* const kMsgErrorReading; // "Error reading DataBaseFile"
extern const char* const kMsgErrorWriting; // "Error writing DataBaseFile"
extern const char* const kMsgNoProject;    // "No project available"

// Directory of the executable (cut after its last backslash) plus "Projekte.dbu"; empty when
// the module name holds no backslash or the result would not fit MAX_PATH (260 with terminator).
std::string MakeProjectFilePath(const std::string& strModuleFileName);

class CProjectFile {
public:
    CProjectFile(std::string strPath, IFileSystem& fs, IMessageSink& sink);

    const std::string& GetPath() const { return m_strPath; }
    ProjectFileState GetState() const;

    void LoadProjectNames(IStringList& list) const;
    bool AppendProject(const std::string& strName) const;
    bool DeleteProject(int nIndex) const;
    bool ReadProjectTotal(int nIndex, int& nHours, int& nMinutes, int& nSeconds) const;
    bool WriteProjectTotal(int nIndex, const std::string& strTotal) const;
    void LoadOverviewRows(IStringList& list) const;

private:
    bool ReadContent(std::string& strContent) const;
    bool SaveContent(const std::string& strContent) const;

    std::string m_strPath;
    IFileSystem& m_fs;
    IMessageSink& m_sink;
};
