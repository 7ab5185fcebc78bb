// Files, scratch folders and the program's process, for the end-to-end cases.
#include "Driver.h"

#include "Check.h"

#include <algorithm>
#include <cstdio>

namespace e2e {
namespace {

std::string LastErrorText() {
    return "error " + std::to_string(GetLastError());
}

void MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
        CreateDirectoryW(WidePath(path.substr(0, at)).c_str(), nullptr);
        if (at == std::string::npos)
            break;
    }
    if (!FileExists(path))
        throw CaseAborted("cannot create folder " + path + ": " + LastErrorText());
}

bool RemoveTree(const std::string& path) {
    for (const std::string& name : ListFolder(path)) {
        const std::string child = path + "\\" + name;
        const DWORD attributes = Attributes(child);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            RemoveTree(child);
        else
            DeleteFileW(WidePath(child).c_str());
    }
    return RemoveDirectoryW(WidePath(path).c_str()) != 0;
}

// A mouse event at `point`, in the 0..65535 screen scale of absolute moves, rounded up so that
// the system's scaling back to pixels gives `point` again.
INPUT MouseEventAt(POINT point, DWORD flags) {
    const LONGLONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((point.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((point.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

} // namespace

Options& GetOptions() {
    static Options options;
    return options;
}

std::string ToWindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return path;
    std::string result = "Z:" + path;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
    std::string narrow(text.size() * 3, '\0');
    narrow.resize(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      &narrow[0], static_cast<int>(narrow.size()), nullptr,
                                      nullptr));
    return narrow;
}

std::wstring Widen(const std::string& text, UINT codePage) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

std::wstring WidePath(const std::string& path, bool allowLong) {
    std::wstring wide = Widen(path, CP_UTF8);
    if (allowLong && wide.size() >= MAX_PATH - 12 && wide.size() > 2 && wide[1] == L':')
        wide.insert(0, L"\\\\?\\");
    return wide;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw CaseAborted("cannot write " + path + ": " + LastErrorText());
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        throw CaseAborted("short write to " + path);
}

bool FileExists(const std::string& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = Narrow(found.cFileName, CP_UTF8);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Wine starts Linux programs too. CreateSymbolicLinkW under Wine reports success without
// making a link, so the cases that need one make it with ln.
bool RunLinuxCommand(const std::string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = WidePath(commandLine, false);
    const std::wstring program = line.substr(0, line.find(L' '));
    if (!CreateProcessW((L"Z:" + program).c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, kWaitMs); // may return before the program ends
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string LinuxPath(std::string path) {
    path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string Scratch::RootPath(const std::string& tag) {
    return GetOptions().scratchRoot + "\\" + CurrentCaseName() + "-" +
           std::to_string(GetCurrentProcessId()) + (tag.empty() ? "" : "-" + tag);
}

Scratch::Scratch(const std::string& tag, const std::string& appFolder) {
    const Options& options = GetOptions();
    m_strRoot = RootPath(tag);
    if (FileExists(m_strRoot))
        RemoveTree(m_strRoot);
    m_strAppDir = m_strRoot + "\\" + appFolder;
    m_strWorkDir = m_strRoot + "\\work";
    MakeFolders(m_strAppDir);
    MakeFolders(m_strWorkDir);
    if (!CopyFileW(WidePath(options.exePath).c_str(), WidePath(ExePath()).c_str(), FALSE))
        throw CaseAborted("cannot copy " + options.exePath + ": " + LastErrorText());
    // A decoy in the working directory: the program must read the file beside its exe.
    WriteFileBytes(m_strWorkDir + "\\Projekte.dbu", ProjectFileBytes({{"Decoy", "001:02:03"}}));
}

Scratch::~Scratch() {
    if (CurrentCaseFailed()) {
        std::printf("scratch folder kept: %s\n", m_strRoot.c_str());
        return;
    }
    // The program may take a moment to release its exe after it was ended.
    for (int attempt = 0; attempt < 50 && !RemoveTree(m_strRoot); ++attempt)
        Sleep(100);
}

void Scratch::WriteProjectFile(const std::string& bytes) const {
    WriteFileBytes(ProjectFilePath(), bytes);
}

std::optional<std::string> Scratch::ReadProjectFile() const {
    return ReadFileBytes(ProjectFilePath());
}

FileLock::FileLock(const std::string& path, bool shareRead) {
    m_hFile = CreateFileW(WidePath(path).c_str(), GENERIC_READ, shareRead ? FILE_SHARE_READ : 0,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        throw CaseAborted("cannot hold " + path + " open: " + LastErrorText());
}

std::string ProjectFileBytes(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string bytes;
    for (const auto& record : records) {
        if (!bytes.empty())
            bytes += "\r\n";
        bytes += record.first + "\r\n" + record.second;
    }
    return bytes;
}

App::App(const std::string& exePath, const std::string& workDir) {
    // Wine starts the desktop process (explorer.exe) for the first program that asks for the
    // desktop window, and that program's wait for it counts as its first idle moment: the
    // program's WaitForInputIdle would then return before its dialog exists. Asked here first,
    // the desktop is up before the program starts, and the driver keeps it up until it ends.
    GetDesktopWindow();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // No "\\?\" here: a program cannot be started from a path past MAX_PATH anyway.
    const std::wstring exe = WidePath(exePath, false);
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        WidePath(workDir).c_str(), &startup, &m_pi))
        throw CaseAborted("cannot start " + exePath + ": " + LastErrorText());
}

App::~App() {
    if (IsRunning()) {
        std::printf("ending process %lu, still running at the end of the case\n",
                    static_cast<unsigned long>(Pid()));
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, kWaitMs);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

bool App::IsRunning() const {
    return WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool App::WaitForExit(DWORD timeoutMs) const {
    return WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void App::Kill() const {
    TerminateProcess(m_pi.hProcess, 9);
    if (!WaitForExit())
        throw CaseAborted("the killed process " + std::to_string(Pid()) + " did not end");
}

void MoveMouseTo(POINT point) {
    SetCursorPos(point.x, point.y);
    INPUT input = MouseEventAt(point, 0);
    SendInput(1, &input, sizeof input);
}

void MouseButtonAt(POINT point, bool down) {
    SetCursorPos(point.x, point.y);
    INPUT input = MouseEventAt(point, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof input);
}

void ClickMouseAt(POINT point) {
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {MouseEventAt(point, MOUSEEVENTF_LEFTDOWN),
                       MouseEventAt(point, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof(INPUT));
}

} // namespace e2e
