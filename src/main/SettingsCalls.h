// The settings as the program uses them: Quillet.ini beside the executable.
#pragma once

// The away limit in minutes, 1 to 240, or 0 when the away check is off; the default when the
// file is missing, unreadable or holds no valid value.
int GetAwayMinutes();
// Writes the away limit; false, with the file unchanged, when it cannot be written.
bool SetAwayMinutes(int nMinutes);
