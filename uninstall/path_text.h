// Byte-level path checks of the uninstaller, stepping through double-byte
// texts with a given lead-byte table. No <windows.h>: shared with the host
// build.
#pragma once

#include "app/text.h"

// The last backslash that starts a character, or null.
char* LastBackslash(char* path, const LeadByteTable& table);

// Whether a list entry names something inside the folder it is appended to:
// no leading separator, no drive or stream colon, no component made only of
// dots and blanks ("..", "...", ". ."), and no DOS device name ("NUL",
// "com1.txt"). The list is the installer's, but the uninstaller runs with
// the user's full rights, so a damaged or tampered list must not reach
// files outside the installation.
bool IsEntryInsideFolder(const char* entry, const LeadByteTable& table);

// Removes a lead byte left alone at the end of a text that was cut.
void DropPartialLastChar(char* text, const LeadByteTable& table);
