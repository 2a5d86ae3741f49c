// Small platform helpers of the program frame.
#pragma once

#include <windows.h>

// Major version on the NT family, 0 on the 9x family. Asks the system once.
int NtMajorVersion();
// Starts a program; waits `waitMs` milliseconds for it when not 0.
bool RunProgram(char* commandLine, const char* currentDirectory, DWORD waitMs);
void EnableItem(HWND dialog, int id, unsigned char enable);
// CompareStringA of the user's locale ignoring case: -1, 0, +1, or -2.
int CompareNoCase(const char* a, const char* b);
