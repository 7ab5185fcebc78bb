#include "SettingsBesideExe.h"

#include "FileSystem.h"
#include "Settings.h"
#include "framework/Afx.h"

namespace {

// Taken from the wide module name, as the project file's path is.
CSettingsFile OpenSettingsFile() {
    return CSettingsFile(MakeSettingsFilePath(GetExeFileNameUtf8()), GetPlatformFileSystem());
}

} // namespace

int GetAwayMinutes() {
    return OpenSettingsFile().LoadAwayMinutes();
}

bool SetAwayMinutes(int nMinutes) {
    return OpenSettingsFile().SaveAwayMinutes(nMinutes);
}

void SetAwayNote(const std::string& strProject, int nMinutes) {
    OpenSettingsFile().SaveAwayNote(strProject, nMinutes);
}

bool TakeAwayNote(std::string& strProject, int& nMinutes) {
    const CSettingsFile file = OpenSettingsFile();
    if (!file.LoadAwayNote(strProject, nMinutes))
        return false;
    file.SaveAwayNote(strProject, 0);
    return true;
}
