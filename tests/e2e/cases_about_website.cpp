// The web address in the About box: the maker's host name, the only text drawn in blue, and a
// click on it hands "http://<host>" to the shell (here a command that writes it into the scratch
// folder, so no browser is needed) while the box stays open.
#include "scene.h"

#include <map>
#include <regex>
#include <sstream>

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
    ink.background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                         return a.second < b.second;
                     })->first;
    for (const auto& [colour, count] : counts) {
        const unsigned red = colour >> 16, green = (colour >> 8) & 0xFF, blue = colour & 0xFF;
        ink.inked += colour != ink.background ? count : 0;
        ink.blue += colour != ink.background && blue >= 200 && red <= 60 && green <= 60 ? count : 0;
    }
    return ink;
}

// The command that the shell runs for "open" on an http URL, swapped for one that appends the
// URL to a file; put back when the case ends.
class UrlRecorder {
public:
    explicit UrlRecorder(const std::string& file) : m_file(file) {
        DWORD size = sizeof m_old;
        m_hadOld = RegGetValueA(HKEY_CLASSES_ROOT, kKey, nullptr, RRF_RT_ANY | RRF_NOEXPAND,
                                nullptr, m_old, &size) == ERROR_SUCCESS;
        REQUIRE(Set("C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + file + "\""));
    }
    ~UrlRecorder() {
        if (m_hadOld)
            Set(m_old);
        else
            RegDeleteKeyValueA(HKEY_CLASSES_ROOT, kKey, nullptr);
    }

    // The URLs recorded so far: whole lines only, as cmd may still be writing the last one.
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        std::istringstream text(ReadFileBytes(m_file).value_or(""));
        for (std::string line; std::getline(text, line) && !text.eof();)
            urls.push_back(line.erase(line.find_last_not_of("\r ") + 1));
        return urls;
    }

private:
    static bool Set(const std::string& command) {
        return RegSetKeyValueA(HKEY_CLASSES_ROOT, kKey, nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    }

    static constexpr const char* kKey = "http\\shell\\open\\command";
    std::string m_file;
    char m_old[1024] = "";
    bool m_hadOld = false;
};

void CheckHostName(const std::string& text) {
    RecordCheck(std::regex_match(text, std::regex("[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+")), __FILE__,
                __LINE__, "the web address " + Quote(text) + " is a host name");
}

} // namespace

E2E_CASE("about.web_address_is_the_only_blue_text") {
    auto [scratch, records, original, app, dialog] = Scene(Setup{{{"Alpha", "000:00:00"}}});
    const HWND about = OpenAbout(app, dialog);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);

    const HWND website = Control(about, IDC_WEBSITE);
    CheckHostName(WindowText(website));
    // Read the screen once every line has been drawn.
    const auto drawn = [&](int id) { return InkOf(Control(about, id)).inked > 0; };
    Eventually([&] {
        return drawn(IDC_PRODUCT_NAME) && drawn(IDC_COPYRIGHT) && drawn(IDC_LICENSE) &&
               drawn(IDC_WEBSITE);
    });
    const Ink address = InkOf(website);
    CHECK(address.inked > 0);
    CHECK_EQ(address.blue, address.inked);
    for (int id : {IDC_PRODUCT_NAME, IDC_COPYRIGHT, IDC_LICENSE}) {
        const Ink other = InkOf(Control(about, id));
        CHECK(other.inked > 0);
        CHECK_EQ(other.blue, 0);
        CHECK_EQ(address.background, other.background); // straight on the dialog's background
    }
}

E2E_CASE("about.web_address_click_hands_the_url_to_the_shell_and_the_box_stays_open") {
    auto [scratch, records, original, app, dialog] = Scene(Setup{{{"Alpha", "000:00:00"}}});
    UrlRecorder shell(scratch.Root() + "\\opened-urls.txt");
    const HWND about = OpenAbout(app, dialog);
    const HWND website = Control(about, IDC_WEBSITE);
    const std::string host = WindowText(website);
    CheckHostName(host);

    RECT rect{};
    GetWindowRect(website, &rect);
    // Each click opens the page again (clicks this far apart make no double click).
    for (size_t clicks = 1; clicks <= 2; ++clicks) {
        const int x = rect.left + 4 + 8 * GetSystemMetrics(SM_CXDOUBLECLK) * int(clicks - 1);
        ClickMouseAt({x, (rect.top + rect.bottom) / 2});
        WaitFor("the shell to be handed an http URL",
                [&] { return shell.Urls().size() >= clicks; });
        CHECK_EQ(shell.Urls(), std::vector<std::string>(clicks, "http://" + host));
        CHECK(IsWindowVisible(about));
        CHECK(FindDialog(app, "About") == about);
        CHECK(OpenMessages(app).empty());
    }

    CloseSideDialog(app, dialog, about, IDOK);
    CloseToExit(app, dialog);
}
