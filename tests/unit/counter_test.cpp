// The counting engine driven by a fake clock and a fake timer: the run counter, the total shown,
// the states, and the ticks that keep both going under every modal loop.
#include "counter_support.h"

using namespace counter_test;

namespace {

TEST(CounterDisplay, RollsOverMinutesAndHoursWithoutShowingSixty) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(3600500, [&] { dlg.OnStop(); });
    dlg.RunUntil(3700000);
    for (const char* psz : {"00:00:00", "00:00:59", "00:01:00", "00:59:59", "01:00:00"})
        EXPECT_TRUE(dlg.Shown(psz)) << psz;
    for (const auto& s : dlg.m_shown)
        ASSERT_EQ(s.find("60"), std::string::npos) << s;
    EXPECT_EQ(dlg.m_shown.size(), 3601u + 1); // once a second, then "00:00:00" after the save
    EXPECT_LE(dlg.m_nTicks, 3602);            // the timer wakes once a second, no more
}

TEST(CounterDisplay, HoursGoPastNinetyNineWithoutWrapping) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(100 * 3600000 + 1500, [&] { dlg.OnPause(); });
    dlg.RunUntil(100 * 3600000 + 5000);
    EXPECT_TRUE(dlg.Shown("99:59:59"));
    EXPECT_EQ(dlg.Display(), "100:00:01");
    dlg.OnPause(); // resumes from the run counter itself, three-digit hours included
    dlg.At(dlg.Elapsed() + 2000, [&] { dlg.OnStop(); });
    dlg.RunUntil(dlg.Elapsed() + 3000);
    EXPECT_TRUE(dlg.Shown("100:00:02"));
    EXPECT_EQ(dlg.SavedSeconds(), 100 * 3600 + 3);
}

// The total shown is the file's total at the last save plus what is counted since.
TEST(CounterTotal, ShownTotalIsTheFilesTotalPlusTheRunSinceTheLastSave) {
    CFakeClockDlg dlg;
    dlg.m_file[1].nTotal = 12 * 3600 + 34 * 60 + 56;
    dlg.OnStart();
    EXPECT_EQ(dlg.m_strTotal, "012:34:56");
    dlg.At(1200, [&] { EXPECT_EQ(dlg.m_strTotal, "012:34:57"); });
    dlg.At(1500, [&] { dlg.OnStop(); });
    dlg.RunUntil(2000);
    EXPECT_EQ(dlg.m_file[1].nTotal, 12 * 3600 + 34 * 60 + 57);
    EXPECT_EQ(dlg.m_strTotal, "012:34:57");
}

TEST(CounterTotal, PauseAndResumeAddExactlyTheTimeSpentRunning) {
    CFakeClockDlg dlg;
    dlg.m_file[1].nTotal = 3723;
    dlg.OnStart();
    dlg.At(15500, [&] { dlg.OnPause(); }); // display shows 00:00:15
    dlg.RunUntil(115500);                  // paused for 100 s
    EXPECT_EQ(dlg.Display(), "00:00:15");
    EXPECT_EQ(dlg.GetState(), CountState::Paused);
    EXPECT_EQ(dlg.m_file[1].nTotal, 3723 + 15); // the pause saved
    dlg.OnPause();
    dlg.At(115800, [&] { EXPECT_EQ(dlg.Display(), "00:00:15"); });
    dlg.At(116100, [&] { EXPECT_EQ(dlg.Display(), "00:00:16"); });
    dlg.At(126200, [&] { dlg.OnStop(); }); // 15.5 + 10.7 s running
    dlg.RunUntil(130000);
    EXPECT_EQ(dlg.m_file[1].nTotal, 3723 + 26);
    EXPECT_EQ(dlg.Display(), "00:00:00");
    // A new start continues from the file's total, with nothing added twice.
    dlg.OnStart();
    dlg.At(134000, [&] { dlg.OnStop(); });
    dlg.RunUntil(140000);
    EXPECT_EQ(dlg.m_file[1].nTotal, 3723 + 30);
}

// Message boxes, menus and moving the window run modal loops that dispatch the timer: the
// display goes on and the checkpoints are written beneath them.
TEST(CounterTotal, DisplayAndCheckpointsGoOnUnderAModalLoop) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(3500, [&] {
        dlg.m_whileMessageOpen = [&] { dlg.RunUntil(33500); };
        dlg.OnStart(); // nothing; the box stands for any other, e.g. "Please stop counter first"
        dlg.ShowMessage("a message box stands open for 30 s");
    });
    dlg.At(40200, [&] { dlg.OnStop(); });
    dlg.RunUntil(41000);
    for (int s = 4; s <= 33; ++s)
        EXPECT_TRUE(dlg.Shown("00:00:" + std::string(s < 10 ? "0" : "") + std::to_string(s))) << s;
    EXPECT_GE(dlg.m_saves.size(), 7u);
    EXPECT_EQ(dlg.m_file[1].nTotal, 40);
}

TEST(CounterTotal, StopsAt999HoursAndSaysSoOnce) {
    CFakeClockDlg dlg;
    dlg.m_file[1].nTotal = kMaxTotalSeconds - 9;
    dlg.OnStart();
    dlg.At(25500, [&] { dlg.OnStop(); });
    dlg.RunUntil(30000);
    EXPECT_EQ(dlg.m_messages, std::vector<std::string>{kMsgTotalCapped});
    EXPECT_EQ(dlg.m_file[1].nTotal, kMaxTotalSeconds);
    EXPECT_TRUE(dlg.Shown("00:00:25")); // the run counter goes on
    EXPECT_EQ(dlg.m_strTotal, "999:59:59");

    // A total typed above it is shown as it stands, and counting on it says so too.
    CFakeClockDlg dlg2;
    dlg2.m_file[1].nTotal = 1234 * 3600;
    dlg2.OnStart();
    dlg2.At(6000, [&] { dlg2.OnStop(); });
    dlg2.RunUntil(7000);
    EXPECT_EQ(dlg2.m_strTotal, "1234:00:00");
    EXPECT_EQ(dlg2.m_file[1].nTotal, 1234 * 3600);
    EXPECT_EQ(dlg2.m_messages, std::vector<std::string>{kMsgTotalCapped});
}

// A crash costs at most the seconds since the last checkpoint; the disk is made to write through
// once a minute, and at pause and stop.
TEST(CounterCheckpoint, RunningCountIsSavedEveryFiveSecondsAndFlushedOnceAMinute) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(150500, [&] { dlg.OnPause(); });
    dlg.RunUntil(151000);
    ASSERT_EQ(dlg.m_saves.size(), 31u); // 30 checkpoints, then the pause
    int nFlushes = 0;
    for (const SaveCall& call : dlg.m_saves) {
        EXPECT_EQ(call.nSeconds, &call == &dlg.m_saves.back() ? 0 : 5);
        nFlushes += call.bFlush;
    }
    EXPECT_EQ(nFlushes, 3); // at 60 s, 120 s and the pause
    EXPECT_TRUE(dlg.m_saves.back().bFlush);
    EXPECT_EQ(dlg.m_file[1].nTotal, 150);
    EXPECT_TRUE(dlg.m_messages.empty());
}

// A checkpoint that fails opens no message box: the dialog shows it, the time stays pending and
// goes with the next save that succeeds.
TEST(CounterCheckpoint, FailedCheckpointsKeepTheirTimeForTheNextSave) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(4000, [&] { dlg.m_bSaveFails = true; });
    dlg.At(12500, [&] {
        EXPECT_TRUE(dlg.IsSaveFailing());
        EXPECT_EQ(dlg.GetMsSinceSaved(), 12500);
        EXPECT_EQ(dlg.m_strTotal, "000:00:12");
        dlg.m_bSaveFails = false;
    });
    dlg.RunUntil(16000);
    EXPECT_FALSE(dlg.IsSaveFailing());
    EXPECT_EQ(dlg.m_file[1].nTotal, 15);
    EXPECT_TRUE(dlg.m_messages.empty());
}

TEST(CounterCheckpoint, EndOfSessionOrSleepSavesAndFlushesWhatIsCounted) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.RunUntil(42500);
    EXPECT_TRUE(dlg.SaveNow()); // Windows announces sleep, or asks whether the session may end
    EXPECT_TRUE(dlg.m_saves.back().bFlush);
    EXPECT_EQ(dlg.m_file[1].nTotal, 42);
    EXPECT_TRUE(dlg.IsRunning());
    dlg.OnPause();
    EXPECT_TRUE(dlg.StopQuietly());
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 42);
}

TEST(CounterStates, StartNeedsASelectedProjectWithANameAndAReadableTotal) {
    CFakeClockDlg dlg;
    dlg.m_nSelected = -1;
    dlg.OnStart();
    EXPECT_EQ(dlg.m_nCurrentProject, -1);
    dlg.m_list[2].clear();
    dlg.m_nSelected = 2;
    dlg.OnStart();
    EXPECT_EQ(dlg.m_messages, std::vector<std::string>(2, kMsgChooseProject));
    // A total that cannot be read is never counted on: once a failed read left another
    // project's total in memory, and stop wrote it over this one.
    dlg.m_nSelected = 1;
    dlg.m_bReadFails = true;
    dlg.OnStart();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_messages.back(), kMsgErrorReading);
    EXPECT_EQ(dlg.m_nTickAt, CFakeClockDlg::kNever);
    EXPECT_TRUE(dlg.m_saves.empty());
}

TEST(CounterStates, EveryEventInEveryState) {
    CFakeClockDlg dlg;
    dlg.OnPause(); // Stopped: pause and stop do nothing
    dlg.OnStop();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_TRUE(dlg.m_saves.empty() && dlg.m_shown.empty());

    dlg.OnStart();
    dlg.At(1500, [&] {
        dlg.OnStart(); // Running: start does nothing
        EXPECT_TRUE(dlg.IsRunning());
    });
    dlg.At(2500, [&] { dlg.OnPause(); });
    dlg.RunUntil(3000);
    EXPECT_EQ(dlg.GetState(), CountState::Paused);
    EXPECT_EQ(dlg.m_nTickAt, CFakeClockDlg::kNever); // a saved pause costs nothing

    dlg.OnStart(); // Paused: start resumes like pause
    EXPECT_TRUE(dlg.IsRunning());
    dlg.At(4000, [&] { dlg.OnPause(); });
    dlg.RunUntil(4500);
    EXPECT_EQ(dlg.Display(), "00:00:03");
    dlg.OnStop(); // from Paused
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 3);
}

// Commands that arrive together (pause and resume, stop and start) each take effect in turn.
TEST(CounterStates, CommandsInOneInstantEachCount) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(2500, [&] {
        dlg.OnPause();
        dlg.OnPause();
    });
    dlg.At(5200, [&] { dlg.OnStop(); });
    dlg.RunUntil(9000);
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 5);
    EXPECT_EQ(dlg.Display(), "00:00:00");

    CFakeClockDlg dlg2;
    dlg2.OnStart();
    dlg2.At(3300, [&] {
        dlg2.OnStop();
        dlg2.OnStart();
    });
    dlg2.At(5000, [&] { dlg2.OnStop(); });
    dlg2.RunUntil(9000);
    EXPECT_EQ(dlg2.m_file[1].nTotal, 3 + 1);
    EXPECT_EQ(dlg2.Display(), "00:00:00");
}

} // namespace
