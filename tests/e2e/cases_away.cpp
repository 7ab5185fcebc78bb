// Time away while counting (the limit one minute in Quillet.ini): held out of the file, asked
// about when the user is back, and told at the next start when nobody could be asked.
#include "scene.h"

using namespace e2e;

E2E_CASE("away.time_away_is_asked_about_and_never_kept_in_silence") {
    auto [scratch, records, original, app, main] =
        Scene({ThreeProjects(), 0, "app", "[Settings]\r\nAwayMinutes=1\r\n"});
    StartCount(app, main);

    // No input since the start: after a minute the user counts as away from the start on, and
    // the file holds the total as it was then; the run counter goes on.
    CHECK(Eventually(
        [&] { return ShownSeconds(main) > 60 && scratch.ReadProjectFile() == original; }, 90000));
    CHECK(OpenMessages(app).empty());

    // Back (the mouse moves): the dialog asks once; No takes the time away off the run.
    // (Somewhere the pointer is not, so the move is input whatever an earlier case left.)
    POINT at{};
    GetCursorPos(&at);
    MoveMouseTo(POINT{at.x == 5 ? 6 : 5, 5});
    const MessageBoxInfo question = WaitForQuestion(app, 15000);
    CHECK(question.text.rfind("You were away from ", 0) == 0);
    CHECK(question.text.find(" minutes) while Zeta was counting.\n\nKeep this time?") !=
          std::string::npos);
    Answer(question, IDNO);
    const long shown = WaitForShownChange(main, ShownSeconds(main));
    CHECK(shown < 20);

    // Locked, then ended without an answer: the away time stays out, and the next start says so.
    Ask(main, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    CHECK(Eventually([&] {
        const auto ini = ReadFileBytes(scratch.AppDir() + "\\Quillet.ini");
        return ini && ini->find("LeftOutMinutes=1") != std::string::npos;
    }));
    const auto held = scratch.ReadProjectFile();
    app.Kill();
    REQUIRE(held.has_value());
    const long kept = ParseTimeLine(held->substr(6, 9)) - kZetaSeconds;
    CHECK(kept >= shown && kept <= shown + 3);

    App again(scratch.ExePath(), scratch.WorkDir());
    AnswerMessage(again, "When Quillet last ended, you had been away for 1 minute while "
                         "Zeta was counting. That time was not added to the project.");
    CloseToExit(again, StartIdle(again));
    CHECK_EQ(scratch.ReadProjectFile(), held);
}
