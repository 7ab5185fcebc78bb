// The web address in the About box: the maker's host name, the only text drawn in blue, and a
// click on it hands "http://<host>" to the shell while the box stays open.
//
// The shell's handler for http URLs is swapped, for the length of a case, for a command that
// writes the URL it gets into the scratch folder, so no browser is needed.
#include "scene.h"

#include <map>
#include <vector>

using namespace e2e;

namespace {

struct Ink {
    unsigned background = 0; // the commonest colour
    int inked = 0;           // pixels of any other colour: the text
    int blue = 0;            // of those, pure-ish blue ones
};

Ink InkOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    std::map<unsigned, int> counts;
    for (uint32_t colour : CaptureScreen(rect))
        ++counts[colour & 0xFFFFFF];
    Ink ink;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most) {
            most = count;
            ink.background = colour;
        }
    for (const auto& [colour, count] : counts) {
        if (colour == ink.background)
            continue;
        ink.inked += count;
        const unsigned red = colour >> 16, green = (colour >> 8) & 0xFF, blue = colour & 0xFF;
        if (blue >= 200 && red <= 60 && green <= 60)
            ink.blue += count;
    }
    return ink;
}

// The command that the shell runs for "open" on an http URL, swapped for one that appends the
// URL to a file; put back when the case ends.
class UrlRecorder {
public:
    explicit UrlRecorder(const std::string& file) : m_file(file) {
        const char* key = "http\\shell\\open\\command";
        REQUIRE(RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &m_key, nullptr) == ERROR_SUCCESS);
        char old[1024] = "";
        DWORD size = sizeof old;
        m_hadOld = RegQueryValueExA(m_key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                                    &size) == ERROR_SUCCESS;
        m_old = old;
        Set("C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + file + "\"");
    }
    ~UrlRecorder() {
        if (m_hadOld)
            Set(m_old);
        else
            RegDeleteValueA(m_key, nullptr);
        RegCloseKey(m_key);
    }
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    // The URLs recorded so far, one a line.
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        const std::string text = ReadFileBytes(m_file).value_or("");
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            std::string line = text.substr(start, end - start);
            while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
                line.pop_back();
            urls.push_back(line);
        }
        return urls;
    }

private:
    void Set(const std::string& command) {
        RegSetValueExA(m_key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    }

    std::string m_file, m_old;
    bool m_hadOld = false;
    HKEY m_key = nullptr;
};

// A click of the real mouse on the label, `x` pixels from its left; clicks far enough apart
// never make a double click.
void ClickOn(HWND control, int x) {
    RECT rect{};
    GetWindowRect(control, &rect);
    ClickMouseAt({rect.left + x, (rect.top + rect.bottom) / 2});
}

bool IsHostName(const std::string& text) {
    if (text.empty() || text.find('.') == std::string::npos || text.front() == '.' ||
        text.back() == '.')
        return false;
    for (char c : text)
        if (!(isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-'))
            return false;
    return true;
}

void CheckHostName(const std::string& text) {
    RecordCheck(IsHostName(text), __FILE__, __LINE__,
                "the web address " + Quote(text) + " is a host name");
}

} // namespace

E2E_CASE("about.web_address_is_the_only_blue_text") {
    Scene scene(Setup{{{"Alpha", "000:00:00"}}});
    auto& [scratch, records, original, app, dialog] = scene;
    const HWND about = OpenAbout(app, dialog);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);

    const HWND website = Control(about, IDC_WEBSITE);
    CheckHostName(WindowText(website));
    const int texts[] = {IDC_PRODUCT_NAME, IDC_COPYRIGHT, IDC_LICENSE};
    // Read the screen once every line has been drawn.
    Eventually([&] {
        for (int id : texts)
            if (InkOf(Control(about, id)).inked == 0)
                return false;
        return InkOf(website).inked > 0;
    });
    const Ink address = InkOf(website);
    CHECK(address.inked > 0);
    CHECK_EQ(address.blue, address.inked);
    for (int id : texts) {
        const Ink other = InkOf(Control(about, id));
        CHECK(other.inked > 0);
        CHECK_EQ(other.blue, 0);
    }
    // Drawn straight on the dialog's background.
    CHECK_EQ(address.background, InkOf(Control(about, IDC_PRODUCT_NAME)).background);
}

E2E_CASE("about.web_address_click_hands_the_url_to_the_shell_and_the_box_stays_open") {
    Scene scene(Setup{{{"Alpha", "000:00:00"}}});
    auto& [scratch, records, original, app, dialog] = scene;
    UrlRecorder shell(scratch.Root() + "\\opened-urls.txt");
    const HWND about = OpenAbout(app, dialog);
    const HWND website = Control(about, IDC_WEBSITE);
    const std::string host = WindowText(website);
    CheckHostName(host);

    ClickOn(website, 4);
    WaitFor("the shell to be handed an http URL", [&] { return !shell.Urls().empty(); });
    CHECK_EQ(shell.Urls(), std::vector<std::string>{"http://" + host});
    CHECK(IsWindowVisible(about));
    CHECK(FindDialog(app, "About") == about);
    CHECK(OpenMessages(app).empty());

    // Each click opens the page again.
    ClickOn(website, 4 + 8 * GetSystemMetrics(SM_CXDOUBLECLK));
    WaitFor("the shell to be handed the URL again", [&] { return shell.Urls().size() >= 2; });
    CHECK_EQ(shell.Urls(), (std::vector<std::string>{"http://" + host, "http://" + host}));
    CHECK(IsWindowVisible(about));

    PostMessageW(about, WM_COMMAND, IDOK, 0);
    WaitUntilClosed(about);
    CloseToExit(app, dialog);
}
