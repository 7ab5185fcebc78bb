// The counting loop driven with a fake clock and a fake message pump: each scheduled event is
// "dispatched" from inside the loop's wait, as the real pump dispatches button clicks.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Counter.h"

namespace {

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

void LoadTotal(int nHours, int nMinutes, int nSeconds) {
    g_nTotalHours = nHours;
    g_nTotalMinutes = nMinutes;
    g_nTotalSeconds = nSeconds;
}

std::vector<std::string> SavedTexts(const CFakeClockDlg& dlg, bool bQuiet) {
    std::vector<std::string> texts;
    for (const auto& save : dlg.m_saves)
        if (save.bQuiet == bQuiet)
            texts.push_back(save.strTotal);
    return texts;
}

TEST(CounterDisplay, RollsOverMinutesAndHoursWithoutShowingSixty) {
    CFakeClockDlg dlg;
    dlg.At(3600500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    for (const char* psz : {"00:00:00", "00:00:59", "00:01:00", "00:59:59", "01:00:00"})
        EXPECT_TRUE(dlg.Shown(psz)) << psz;
    for (const auto& s : dlg.m_shown)
        ASSERT_EQ(s.find("60"), std::string::npos) << s;
    EXPECT_EQ(dlg.m_shown.size(), 3601u + 1); // once a second, then "00:00:00" after the save
}

TEST(CounterDisplay, HoursGoPastNinetyNineWithoutWrapping) {
    CFakeClockDlg dlg;
    dlg.At(100 * 3600000 + 1500, [&] { dlg.OnPause(); });
    dlg.OnStart();
    EXPECT_TRUE(dlg.Shown("99:59:59"));
    EXPECT_EQ(dlg.Display(), "100:00:01");
    // Resuming goes on from the run counter itself, three-digit hours included.
    dlg.At(100 * 3600000 + 10000, [&] { dlg.OnStop(); });
    dlg.m_nNow += 5000;
    dlg.OnPause();
    EXPECT_TRUE(dlg.Shown("100:00:02"));
    EXPECT_EQ(SavedTexts(dlg, false).back(), "100:00:05");
}

TEST(CounterTotal, LoadedTotalIsFormattedOnTheFirstPass) {
    CFakeClockDlg dlg;
    LoadTotal(12, 34, 56);
    dlg.At(200, [&] { EXPECT_EQ(std::string(g_strTotal), "012:34:56"); });
    dlg.At(1200, [&] { EXPECT_EQ(std::string(g_strTotal), "012:34:57"); });
    dlg.At(1500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    ASSERT_EQ(dlg.m_saves.size(), 1u);
    EXPECT_EQ(dlg.m_saves[0].strTotal, "012:34:57");
    EXPECT_EQ(dlg.m_saves[0].nProject, 1);
}

TEST(CounterTotal, HandEditedFieldsOfSixtyAndMoreAreCarried) {
    CFakeClockDlg dlg;
    LoadTotal(0, 75, 99);
    dlg.At(100, [&] { EXPECT_EQ(std::string(g_strTotal), "001:16:39"); });
    dlg.At(2100, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_EQ(SavedTexts(dlg, false), std::vector<std::string>{"001:16:41"});
    EXPECT_EQ(g_nTotalMinutes, 16);
    EXPECT_EQ(g_nTotalSeconds, 41);
}

TEST(CounterTotal, PauseAndResumeAddExactlyTheTimeSpentRunning) {
    CFakeClockDlg dlg;
    LoadTotal(1, 2, 3);
    dlg.At(15500, [&] { dlg.OnPause(); }); // display shows 00:00:15
    dlg.OnStart();
    EXPECT_EQ(dlg.Display(), "00:00:15");
    EXPECT_TRUE(dlg.IsPaused());

    dlg.m_nNow += 100000; // paused for 100 s
    dlg.At(dlg.Elapsed() + 300, [&] { EXPECT_EQ(dlg.Display(), "00:00:15"); });
    dlg.At(dlg.Elapsed() + 600, [&] { EXPECT_EQ(dlg.Display(), "00:00:16"); });
    dlg.At(dlg.Elapsed() + 10700, [&] { dlg.OnStop(); }); // 15.5 + 10.7 s running
    dlg.OnPause();
    EXPECT_EQ(SavedTexts(dlg, false), std::vector<std::string>{"001:02:29"});
    EXPECT_EQ(dlg.Display(), "00:00:00");
    // A new start without choosing again continues from the total, with nothing added twice.
    dlg.At(dlg.Elapsed() + 4000, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_EQ(SavedTexts(dlg, false).back(), "001:02:33");
}

TEST(CounterTotal, StopInsideTheWaitSavesTheTimeCountedUpToIt) {
    CFakeClockDlg dlg;
    dlg.At(7999, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(SavedTexts(dlg, false), std::vector<std::string>{"000:00:07"});
    EXPECT_EQ(dlg.m_shown.back(), "00:00:00");
    EXPECT_EQ(g_nTotalSeconds, 7);
}

TEST(CounterTotal, FailedStopHoldsTheCountPausedUntilAStopSavesIt) {
    CFakeClockDlg dlg;
    dlg.m_bSaveSucceeds = false;
    dlg.At(3500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsPaused());
    EXPECT_TRUE(dlg.HoldsUnsavedCount());
    EXPECT_EQ(dlg.Display(), "00:00:03");
    // Time passing while held is not counted; a stop that fails again keeps holding it.
    dlg.m_nNow += 60000;
    dlg.OnStop();
    EXPECT_TRUE(dlg.HoldsUnsavedCount());
    dlg.m_bSaveSucceeds = true;
    dlg.OnStop();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_FALSE(dlg.HoldsUnsavedCount());
    EXPECT_EQ(SavedTexts(dlg, false),
              (std::vector<std::string>{"000:00:03", "000:00:03", "000:00:03"}));
    EXPECT_EQ(dlg.Display(), "00:00:00");
}

TEST(CounterTotal, AHeldCountResumesAndIsNoLongerUnsavedWhileRunning) {
    CFakeClockDlg dlg;
    dlg.m_bSaveSucceeds = false;
    dlg.At(2500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    ASSERT_TRUE(dlg.HoldsUnsavedCount());
    dlg.m_bSaveSucceeds = true;
    dlg.At(dlg.Elapsed() + 2000, [&] {
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_FALSE(dlg.HoldsUnsavedCount());
        dlg.OnStop();
    });
    dlg.OnStart();
    EXPECT_EQ(SavedTexts(dlg, false).back(), "000:00:04");
}

TEST(CounterTotal, TheSaveFollowsTheProjectWhereAnotherProgramMovedIt) {
    CFakeClockDlg dlg;
    dlg.m_nMovedTo = 4; // the first checkpoint finds the project at index 4
    dlg.At(61500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    ASSERT_EQ(dlg.m_saves.size(), 2u);
    EXPECT_EQ(dlg.m_saves[0].nProject, 1);
    EXPECT_EQ(dlg.m_saves[1].nProject, 4);
    EXPECT_EQ(dlg.m_saves[1].strName, "Beta");
    EXPECT_EQ(dlg.m_nCurrentProject, 4);
    EXPECT_EQ(dlg.m_nMovedSelections, 1);
}

TEST(CounterTotal, TimeHeldUnderAModalLoopIsCounted) {
    CFakeClockDlg dlg;
    // A message box opened from inside the loop holds it for 30 s.
    dlg.At(3500, [&] { dlg.m_nNow += 30000; });
    dlg.At(40200, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_TRUE(dlg.Shown("00:00:33"));
    EXPECT_FALSE(dlg.Shown("00:00:04"));
    EXPECT_EQ(SavedTexts(dlg, false), std::vector<std::string>{"000:00:40"});
}

TEST(CounterTotal, StopsAt999HoursAndSaysSoOnce) {
    CFakeClockDlg dlg;
    LoadTotal(999, 59, 50);
    dlg.At(25000, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_EQ(dlg.m_messages, std::vector<std::string>{kMsgTotalCapped});
    for (const auto& strTotal : SavedTexts(dlg, false))
        EXPECT_EQ(strTotal, "999:59:59");
    EXPECT_TRUE(dlg.Shown("00:00:25")); // the run counter goes on
}

TEST(CounterCheckpoint, RunningCountIsSavedOnceAMinuteQuietly) {
    CFakeClockDlg dlg;
    dlg.m_bSaveSucceeds = false; // a failing checkpoint shows nothing
    dlg.At(150000, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_EQ(SavedTexts(dlg, true), (std::vector<std::string>{"000:01:00", "000:02:00"}));
    EXPECT_TRUE(dlg.m_messages.empty());
    EXPECT_EQ(dlg.Display(), "00:02:30");
}

TEST(CounterTotal, TheCapNoticeComesOncePerRunAlsoAcrossAFailedStop) {
    CFakeClockDlg dlg;
    LoadTotal(999, 99, 99);
    dlg.m_bSaveSucceeds = false;
    dlg.At(3500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    dlg.m_bSaveSucceeds = true;
    dlg.At(dlg.Elapsed() + 3000, [&] { dlg.OnStop(); });
    dlg.OnStart(); // resumes the held count
    EXPECT_EQ(dlg.m_messages, std::vector<std::string>{kMsgTotalCapped});
    EXPECT_EQ(SavedTexts(dlg, false).back(), "999:59:59");
}

TEST(CounterCheckpoint, EndOfSessionNeverReportsAFailedSaveAsDone) {
    CFakeClockDlg dlg;
    dlg.At(5500, [&] {
        dlg.m_bSaveSucceeds = false;
        EXPECT_FALSE(dlg.SaveQuietly()); // asked whether the session may end
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_FALSE(dlg.StopQuietly()); // the session ends all the same
    });
    dlg.OnStart();
    EXPECT_TRUE(dlg.HoldsUnsavedCount());
    EXPECT_EQ(dlg.Display(), "00:00:05");
    EXPECT_EQ(SavedTexts(dlg, true), (std::vector<std::string>{"000:00:05", "000:00:05"}));
    // Once the cause is mended, the next question saves the held count and ends it.
    dlg.m_bSaveSucceeds = true;
    EXPECT_TRUE(dlg.SaveQuietly());
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.Display(), "00:00:00");
    EXPECT_TRUE(dlg.m_messages.empty());
}

TEST(CounterCheckpoint, EndOfSessionSavesAPausedCountLikeStop) {
    CFakeClockDlg dlg;
    dlg.At(42000, [&] { dlg.OnPause(); });
    dlg.OnStart();
    dlg.StopQuietly();
    EXPECT_TRUE(dlg.IsStopped());
    ASSERT_EQ(dlg.m_saves.size(), 1u);
    EXPECT_EQ(dlg.m_saves[0].strTotal, "000:00:42");
}

TEST(CounterWait, BlocksInsteadOfSpinning) {
    CFakeClockDlg dlg;
    dlg.At(60000, [&] { dlg.OnStop(); });
    dlg.OnStart();
    EXPECT_LE(dlg.m_nWaits, 62);
}

TEST(CounterStates, StartNeedsASelectedProjectWithAName) {
    CFakeClockDlg dlg;
    dlg.m_nSelected = -1;
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_nCurrentProject, -1);
    dlg.m_nSelected = 2;
    dlg.m_strSelectedName.clear();
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_messages, std::vector<std::string>(2, kMsgChooseProject));
    EXPECT_TRUE(dlg.m_saves.empty());
}

TEST(CounterStates, EveryEventInEveryState) {
    CFakeClockDlg dlg;
    // Stopped: pause and stop do nothing.
    dlg.OnPause();
    dlg.OnStop();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_TRUE(dlg.m_saves.empty() && dlg.m_shown.empty());

    // Running: start does nothing, pause pauses, stop stops.
    dlg.At(1500, [&] {
        EXPECT_TRUE(dlg.IsRunning());
        dlg.OnStart();
        EXPECT_TRUE(dlg.IsRunning());
    });
    dlg.At(2500, [&] { dlg.OnPause(); });
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsPaused());
    EXPECT_FALSE(dlg.IsStopped());

    // Paused: start resumes like pause; stop from Paused saves.
    dlg.At(dlg.Elapsed() + 1000, [&] { dlg.OnPause(); });
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsPaused());
    EXPECT_EQ(dlg.Display(), "00:00:03");
    dlg.OnStop();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_FALSE(dlg.IsPaused());
    EXPECT_EQ(SavedTexts(dlg, false), std::vector<std::string>{"000:00:03"});
}

TEST(CounterStates, OlderLoopEndsQuietlyUnderANewerOne) {
    CFakeClockDlg dlg;
    // Pause and resume arrive in one pump: the resumed loop runs above the paused one.
    dlg.At(2500, [&] {
        dlg.OnPause();
        dlg.OnPause();
    });
    dlg.At(5200, [&] { dlg.OnStop(); });
    dlg.At(9000, [] {}); // keeps the fake pump busy if a stale loop went on
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(SavedTexts(dlg, false), std::vector<std::string>{"000:00:05"});
    EXPECT_EQ(dlg.m_shown.back(), "00:00:00");
    EXPECT_LT(dlg.Elapsed(), 9000);

    // A start from inside a stopped loop's pump runs a fresh count; the old loop then leaves.
    CFakeClockDlg dlg2;
    dlg2.At(3300, [&] {
        dlg2.OnStop();
        dlg2.OnStart();
    });
    dlg2.At(5000, [&] { dlg2.OnStop(); });
    dlg2.OnStart();
    EXPECT_EQ(SavedTexts(dlg2, false), (std::vector<std::string>{"000:00:03", "000:00:04"}));
    EXPECT_EQ(dlg2.m_shown.back(), "00:00:00");
}

} // namespace
