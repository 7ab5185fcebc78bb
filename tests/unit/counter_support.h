// Shared by the counter tests: the main dialog's counting hooks faked with a clock that jumps
// and a message pump that "dispatches" scheduled events from inside the loop's wait, as the
// real pump dispatches button clicks.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Counter.h"

namespace counter_test {

struct SavedTotal {
    int nProject;
    std::string strTotal;
    bool bQuiet;
    std::string strName;
};

class CFakeClockDlg : public CCounter {
public:
    CFakeClockDlg() {
        g_nTotalHours = g_nTotalMinutes = g_nTotalSeconds = 0;
        g_strTotal.Empty();
    }

    // Runs fn from inside the pump once the clock reaches nMs after the test's start.
    void At(int64_t nMs, std::function<void()> fn) {
        m_events.emplace(kStart + nMs, std::move(fn));
    }
    int64_t Elapsed() const { return m_nNow - kStart; }
    std::string Display() const { return m_shown.empty() ? "" : m_shown.back(); }
    bool Shown(const std::string& strText) const {
        for (const auto& s : m_shown)
            if (s == strText)
                return true;
        return false;
    }

    static constexpr int64_t kStart = 5000000;
    int64_t m_nNow = kStart;
    std::multimap<int64_t, std::function<void()>> m_events;
    std::vector<std::string> m_shown;
    std::vector<SavedTotal> m_saves;
    std::vector<std::string> m_messages;
    int m_nSelected = 1;
    std::string m_strSelectedName = "Beta";
    bool m_bSaveSucceeds = true;
    int m_nMovedTo = -1; // where the next save finds the project, when another program moved it
    int m_nMovedSelections = 0;
    int m_nWaits = 0;

protected:
    int64_t GetMonotonicMs() override { return m_nNow; }

    // The blocking wait: time passes up to the timeout or the next event, whichever is first.
    void WaitForMessages(int64_t nTimeoutMs) override {
        ++m_nWaits;
        EXPECT_GT(nTimeoutMs, 0);
        if (m_events.empty()) {
            ADD_FAILURE() << "a count runs with nothing left to stop it";
            m_bStopped = true;
            return;
        }
        m_nNow = std::max(m_nNow, std::min(m_nNow + nTimeoutMs, m_events.begin()->first));
    }

    void DispatchPendingMessages() override {
        while (!m_events.empty() && m_events.begin()->first <= m_nNow) {
            auto fn = m_events.begin()->second;
            m_events.erase(m_events.begin());
            fn();
        }
    }

    void ShowRunCounter(const char* pszText) override {
        if (m_shown.empty() || m_shown.back() != pszText)
            m_shown.emplace_back(pszText);
    }
    int GetSelectedProject(CString& strName) override {
        strName = m_strSelectedName.c_str();
        return m_nSelected;
    }
    bool SaveProjectTotal(int& nProject, const CString& strName, const CString& strTotal,
                          bool bQuiet) override {
        m_saves.push_back({nProject, strTotal.Str(), bQuiet, strName.Str()});
        if (m_nMovedTo >= 0)
            nProject = m_nMovedTo;
        m_nMovedTo = -1;
        return m_bSaveSucceeds;
    }
    void SelectMovedProject() override { ++m_nMovedSelections; }
    void ShowMessage(const char* pszText) override { m_messages.emplace_back(pszText); }
};

inline void LoadTotal(int nHours, int nMinutes, int nSeconds) {
    g_nTotalHours = nHours;
    g_nTotalMinutes = nMinutes;
    g_nTotalSeconds = nSeconds;
}

inline std::vector<std::string> SavedTexts(const CFakeClockDlg& dlg, bool bQuiet) {
    std::vector<std::string> texts;
    for (const auto& save : dlg.m_saves)
        if (save.bQuiet == bQuiet)
            texts.push_back(save.strTotal);
    return texts;
}

} // namespace counter_test
