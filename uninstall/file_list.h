// The removal passes over the installation's file list.
#pragma once

#include <windows.h>

// Deletes the files and removes the folders that the open list names below
// `folder` (which ends in a backslash), pass after pass until a pass removes
// nothing. Entries that would leave the folder, lines that are too long and
// full paths over 1023 bytes are skipped. Returns the number of passes.
int RemoveListedEntries(HANDLE list, const char* folder);
