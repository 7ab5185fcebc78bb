// SLOW (about 70 s): a running count is saved once a minute, so that a crash or power loss
// costs at most a minute. The save is silent and the count runs on undisturbed.
#include "cases_counting.h"

using namespace e2e;
using namespace e2e::counting;

E2E_CASE("counting.slow_a_running_count_is_saved_each_minute") {
    CountingScene scene(0);
    auto& [scratch, records, original, app, main] = scene;
    const long loaded = ParseTimeLine(records[0].second);
    StartCount(app, main);

    // Nothing is saved in the first minute.
    PumpMessages(50000);
    const long early = ShownSeconds(main);
    CHECK_EQ(scratch.ReadProjectFile(), std::optional<std::string>(original));

    // Past the minute, the file holds the total at the minute while the count still runs.
    const long late = WaitForShownAtLeast(main, 62, 30000);
    const auto saved = scratch.ReadProjectFile();
    REQUIRE(saved.has_value() && saved->size() == original.size());
    const long checkpoint = ParseTimeLine(saved->substr(6, 9)) - loaded;
    CHECK(early < 60);
    CHECK(checkpoint >= 60 && checkpoint <= late);
    CHECK_EQ(*saved, WithTotal(records, 0, loaded + checkpoint));
    CHECK(OpenMessages(app).empty());
    WaitForShownChange(main, ShownSeconds(main));

    const long held = PauseCount(main);
    Press(main, IDC_STOP);
    CHECK_EQ(scratch.ReadProjectFile(),
             std::optional<std::string>(WithTotal(records, 0, loaded + held)));
}
