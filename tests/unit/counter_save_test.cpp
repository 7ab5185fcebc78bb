// Saving a count: the state follows the save's result, a failed stop holds the run until it is
// saved, the save adds to what the file holds now and follows its record wherever it moved.
#include "counter_support.h"

using namespace counter_test;

namespace {

// Starts, and stops at 3.5 s while the file cannot be written.
void StopFailingAfterThreeSeconds(CFakeClockDlg& dlg) {
    dlg.OnStart();
    dlg.At(3500, [&] {
        dlg.m_bSaveFails = true;
        dlg.OnStop();
    });
    dlg.RunUntil(4000);
}

TEST(CounterSave, FailedStopHoldsTheRunUntilAStopOrTheRetrySavesIt) {
    CFakeClockDlg dlg;
    StopFailingAfterThreeSeconds(dlg);
    EXPECT_EQ(dlg.GetState(), CountState::Held);
    EXPECT_EQ(dlg.m_messages, std::vector<std::string>{kMsgErrorWriting});
    EXPECT_EQ(dlg.Display(), "00:00:03");
    // Time passing while held is not counted; a stop that fails again keeps holding it.
    dlg.RunUntil(60000);
    dlg.OnStop();
    EXPECT_EQ(dlg.GetState(), CountState::Held);
    EXPECT_EQ(dlg.m_file[1].nTotal, 0);
    dlg.m_bSaveFails = false; // the file is free again: the retry saves it without a word
    dlg.RunUntil(66000);
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 3);
    EXPECT_EQ(dlg.Display(), "00:00:00");
    EXPECT_EQ(dlg.m_messages.size(), 2u);
}

// While the message about a failed stop stands open the run is held, not stopped: a session end
// in that moment saves it, and the message's end changes nothing afterwards.
TEST(CounterSave, SessionEndUnderTheFailedStopsMessageSavesTheRun) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.RunUntil(7500);
    dlg.m_bSaveFails = true;
    dlg.m_whileMessageOpen = [&] {
        EXPECT_EQ(dlg.GetState(), CountState::Held);
        dlg.m_bSaveFails = false;
        EXPECT_TRUE(dlg.SaveNow()); // WM_QUERYENDSESSION
        EXPECT_TRUE(dlg.StopQuietly());
    };
    dlg.OnStop();
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 7);
}

TEST(CounterSave, EndOfSessionNeverReportsAFailedSaveAsDone) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(7500, [&] {
        dlg.m_bSaveFails = true;
        EXPECT_FALSE(dlg.SaveNow()); // asked whether the session may end
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_FALSE(dlg.StopQuietly()); // the session ends all the same
    });
    dlg.RunUntil(8000);
    EXPECT_EQ(dlg.GetState(), CountState::Held);
    EXPECT_EQ(dlg.Display(), "00:00:07");
    EXPECT_TRUE(dlg.m_messages.empty());
    dlg.m_bSaveFails = false; // the next question saves the held run and ends it
    EXPECT_TRUE(dlg.SaveNow());
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 7);
}

// A total changed by hand, or by a second copy counting on the same project, while Quillet
// stands open is added to: once the old figure plus the run was written over it.
TEST(CounterSave, ChangesMadeMeanwhileAreKeptAndAddedTo) {
    CFakeClockDlg dlg;
    dlg.OnStart();
    dlg.At(20500, [&] { dlg.m_file[1].nTotal += 12 * 3600; }); // a correction by hand
    dlg.At(25500, [&] { EXPECT_EQ(dlg.m_strTotal, "012:00:25"); });
    dlg.At(30500, [&] { dlg.m_file[1].nTotal += 30; }); // a second copy's run
    dlg.At(45500, [&] { dlg.OnStop(); });
    dlg.RunUntil(46000);
    EXPECT_EQ(dlg.m_file[1].nTotal, 12 * 3600 + 30 + 45);
}

// The run belongs to its record by name and by which record of that name it is: records added or
// removed above it never redirect it, and an equal name never passes for it.
TEST(CounterSave, TheSaveFollowsItsRecordAndNeverTakesAnotherOfTheSameName) {
    CFakeClockDlg dlg;
    dlg.m_file = {{"X", 0}, {"Alpha", 7}, {"Alpha", 20 * 3600}};
    dlg.m_list = {"X", "Alpha", "Alpha"};
    dlg.m_nSelected = 1; // the first Alpha
    dlg.OnStart();
    dlg.At(3000, [&] { dlg.m_file.erase(dlg.m_file.begin()); });
    dlg.At(9000, [&] { dlg.OnStop(); });
    dlg.RunUntil(10000);
    EXPECT_EQ(dlg.m_file[0].nTotal, 7 + 9);
    EXPECT_EQ(dlg.m_file[1].nTotal, 20 * 3600);
    EXPECT_EQ(dlg.m_nCurrentProject, 0);
    EXPECT_EQ(dlg.m_nMovedSelections, 1);

    // A record gone while counting holds the run and says so.
    dlg.m_nSelected = 0;
    dlg.m_list = {"Alpha", "Alpha"};
    dlg.OnStart();
    dlg.At(12000, [&] { dlg.m_file.erase(dlg.m_file.begin()); dlg.m_file[0].strName = "B"; });
    dlg.At(14000, [&] { dlg.OnStop(); });
    dlg.RunUntil(15000);
    EXPECT_EQ(dlg.GetState(), CountState::Held);
    EXPECT_EQ(dlg.m_messages.back(), kMsgErrorWriting);
}

TEST(CounterSave, TheCapNoticeComesOncePerRunAlsoAcrossAFailedStop) {
    CFakeClockDlg dlg;
    dlg.m_file[1].nTotal = kMaxTotalSeconds - 1;
    StopFailingAfterThreeSeconds(dlg);
    ASSERT_EQ(dlg.GetState(), CountState::Held);
    dlg.m_bSaveFails = false;
    dlg.OnStart(); // resumes the held run
    EXPECT_TRUE(dlg.IsRunning());
    dlg.At(7000, [&] { dlg.OnStop(); });
    dlg.RunUntil(8000);
    EXPECT_EQ(dlg.m_messages, (std::vector<std::string>{kMsgTotalCapped, kMsgErrorWriting}));
    EXPECT_EQ(dlg.m_file[1].nTotal, kMaxTotalSeconds);
}

} // namespace
