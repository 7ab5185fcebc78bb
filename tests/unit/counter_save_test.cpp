// Saving a count's total: a failed save holds the count instead of dropping it, the save
// follows a project that another program moved, and the session end never claims a failed
// save as done.
#include "counter_support.h"

using namespace counter_test;

namespace {

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

TEST(CounterTotal, TheCapNoticeComesOncePerRunAlsoAcrossAFailedStop) {
    CFakeClockDlg dlg;
    LoadTotal(999, 99, 99);
    dlg.m_bSaveSucceeds = false;
    dlg.At(3500, [&] { dlg.OnStop(); });
    dlg.OnStart();
    ASSERT_TRUE(dlg.HoldsUnsavedCount());
    dlg.m_bSaveSucceeds = true;
    dlg.At(dlg.Elapsed() + 3000, [&] {
        EXPECT_TRUE(dlg.IsRunning()); // the held count resumed, no longer unsaved
        EXPECT_FALSE(dlg.HoldsUnsavedCount());
        dlg.OnStop();
    });
    dlg.OnStart();
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

} // namespace
