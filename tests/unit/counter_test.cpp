// The counting loop driven with a fake clock and a fake message pump: each scheduled event is
// "dispatched" from inside the loop's wait, as the real pump dispatches button clicks.
#include "counter_support.h"

using namespace counter_test;

namespace {

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
