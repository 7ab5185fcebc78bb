// A running count is saved every five seconds and at once when Windows announces sleep. A failed
// checkpoint opens no message box: a line under the run counter tells of it until one succeeds.
#include "scene.h"

using namespace e2e;

E2E_CASE("counting.a_running_count_is_saved_every_five_seconds_and_before_sleep") {
    auto [scratch, records, original, app, main] = Scene(0);
    StartCount(app, main);

    const long late = WaitForShownAtLeast(main, 7, 15000);
    const auto saved = scratch.ReadProjectFile();
    REQUIRE(saved.has_value() && saved->size() == original.size());
    const long checkpoint = ParseTimeLine(saved->substr(6, 9)) - kZetaSeconds;
    CHECK(checkpoint >= 5 && checkpoint <= late);
    CHECK_EQ(*saved, WithTotal(records, 0, kZetaSeconds + checkpoint));
    CHECK_EQ(SaveStatus(main), "");
    {
        FileLock lock(scratch.ProjectFilePath());
        WaitFor(
            "the failed checkpoint to be told", [&] { return !SaveStatus(main).empty(); }, 15000);
        CHECK(SaveStatus(main).rfind("Not saved since ", 0) == 0);
        CHECK(OpenMessages(app).empty());
    }
    CHECK(Eventually([&] { return SaveStatus(main).empty(); }, 15000));

    // Windows announces sleep: the run so far is in the file before the answer.
    const long shown = ShownSeconds(main);
    CHECK(Ask(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0) != 0);
    CHECK_SAVED_RUN(scratch, records, 0, kZetaSeconds, shown);

    const long held = PauseAndStop(app, main);

    CHECK_FILE(scratch, WithTotal(records, 0, kZetaSeconds + held));
}
