// The settings as the program uses them: Quillet.ini beside the executable.
#pragma once

#include <string>

// The away limit in minutes, 1 to 240, or 0 when the away check is off; the default when the
// file is missing, unreadable or holds no valid value.
int GetAwayMinutes();
// Writes the away limit; false, with the file unchanged, when it cannot be written.
bool SetAwayMinutes(int nMinutes);
// Away time that a count left out and nobody was asked about (the session ended, the program
// was ended); nMinutes 0 clears it.
void SetAwayNote(const std::string& strProject, int nMinutes);
// The note once: true, with what it says, when there was one; it is cleared then.
bool TakeAwayNote(std::string& strProject, int& nMinutes);
