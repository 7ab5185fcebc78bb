// Creating a project in a hand-edited file: the new record follows a final line end directly,
// and a name that is not one line is refused with the reason.
#include "scene.h"

using namespace e2e;

E2E_CASE("create.adding_after_a_final_line_end_adds_no_empty_project") {
    Scratch scratch;
    scratch.WriteProjectFile(ThreeProjectsFile() + "\r\n"); // as most editors save it
    App app(scratch.ExePath(), scratch.WorkDir());
    const HWND main = StartIdle(app);
    CreateProject(app, main, "Gamma");
    CHECK_FILE(scratch, ThreeProjectsFile() + "\r\nGamma\r\n000:00:00");
    CheckProjectBoxUnselected(main, {"Zeta", "alpha", "B\xFCro & Verwaltung", "Gamma"});
}

// The edit control stops a paste at LF, but a CR alone comes through.
E2E_ROW("create.a_pasted_line_break_is_refused_with_the_reason", RefusesName, L"Two\rlines",
        "A project name must be one line: please remove the line break");
