// Time away from the computer: no input for the limit or a locked session holds the file's total
// at the absence's beginning; back, the user is asked once, and an unanswered question never
// keeps the time in silence.
#include "counter_support.h"

using namespace counter_test;

namespace {

// Input at 20 s, then none: away from 20 s on, noticed at 80 s; back with input at 200 s.
TEST(CounterAway, TheTimeAwayIsHeldOutOfTheFileUntilTheAnswerSaysWhatToDoWithIt) {
    for (const bool bKeep : {false, true}) {
        CFakeClockDlg dlg;
        dlg.m_nAwayLimit = 1;
        dlg.m_bKeepAway = bKeep;
        dlg.OnStart();
        dlg.At(20000, [&] { dlg.Input(); });
        dlg.At(79500, [&] { EXPECT_EQ(dlg.m_file[1].nTotal, 75); });
        dlg.At(90500, [&] {
            EXPECT_EQ(dlg.m_file[1].nTotal, 20); // what was saved past 20 s is taken back
            EXPECT_EQ(dlg.Display(), "00:01:30"); // the count goes on
            EXPECT_EQ(dlg.m_strTotal, "000:00:20");
        });
        dlg.At(200000, [&] { dlg.Input(); });
        dlg.At(210500, [&] { dlg.OnStop(); });
        dlg.RunUntil(211000);
        ASSERT_EQ(dlg.m_questions.size(), 1u);
        EXPECT_EQ(dlg.m_questions[0].strProject, "Beta");
        EXPECT_EQ(dlg.m_questions[0].nBeganAgoMs, 180000);
        EXPECT_EQ(dlg.m_questions[0].nMinutes, 3);
        EXPECT_EQ(dlg.m_file[1].nTotal, bKeep ? 210 : 30) << bKeep;
        EXPECT_EQ(dlg.m_notes.back().second, -1); // answered: nothing left to tell
    }
}

// Locked, the user is away from the lock on, whatever the limit; the question waits for input
// after the unlock. Beneath it the count goes on, still holding the time away out of the file.
TEST(CounterAway, ALockedSessionCountsAsAwayFromTheLock) {
    CFakeClockDlg dlg;
    dlg.m_bKeepAway = true;
    dlg.OnStart();
    dlg.At(10500, [&] { dlg.OnSessionLock(true); });
    dlg.At(40000, [&] { dlg.OnSessionLock(false); });
    dlg.At(41000, [&] { EXPECT_TRUE(dlg.m_questions.empty()); });
    dlg.At(41200, [&] { dlg.Input(); });
    dlg.m_whileAsked = [&] {
        dlg.RunUntil(50000);
        EXPECT_EQ(dlg.Display(), "00:00:50");
        EXPECT_EQ(dlg.m_file[1].nTotal, 10);
    };
    dlg.RunUntil(52000);
    ASSERT_EQ(dlg.m_questions.size(), 1u);
    EXPECT_EQ(dlg.m_questions[0].nBeganAgoMs, 31500);
    EXPECT_EQ(dlg.m_file[1].nTotal, 50); // kept, saved at once
}

// The session ends while the user is away, or while the question stands: the away time stays
// out of the file, and the note tells the next start how much was left out.
TEST(CounterAway, AnUnansweredQuestionNeverKeepsTheTime) {
    CFakeClockDlg dlg;
    dlg.m_nAwayLimit = 1;
    dlg.OnStart();
    dlg.At(200500, [&] {
        EXPECT_TRUE(dlg.StopQuietly());
    });
    dlg.RunUntil(201000);
    EXPECT_TRUE(dlg.IsStopped());
    EXPECT_EQ(dlg.m_file[1].nTotal, 0);
    EXPECT_EQ(dlg.m_notes.back(), std::make_pair(std::string("Beta"), std::int64_t(4)));

    CFakeClockDlg asked;
    asked.m_nAwayLimit = 1;
    asked.m_bKeepAway = true;
    asked.OnStart();
    asked.At(130000, [&] { asked.Input(); });
    asked.m_whileAsked = [&] { EXPECT_TRUE(asked.StopQuietly()); };
    asked.RunUntil(132000);
    EXPECT_EQ(asked.m_questions.size(), 1u);
    EXPECT_TRUE(asked.IsStopped());
    EXPECT_EQ(asked.m_file[1].nTotal, 0);
    EXPECT_EQ(asked.m_notes.back().second, 3);
}

// A pause or a stop given while the user counts as away asks first: pressing it is coming back.
TEST(CounterAway, APauseWhileAwayAsksFirst) {
    CFakeClockDlg dlg;
    dlg.m_nAwayLimit = 1;
    dlg.OnStart();
    dlg.At(100500, [&] { dlg.OnPause(); });
    dlg.RunUntil(101000);
    EXPECT_EQ(dlg.m_questions.size(), 1u);
    EXPECT_EQ(dlg.GetState(), CountState::Paused);
    EXPECT_EQ(dlg.Display(), "00:00:00");
    EXPECT_EQ(dlg.m_file[1].nTotal, 0);
}

} // namespace
