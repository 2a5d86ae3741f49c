// Desktop, Start-menu and program-group links.
#pragma once

#include "setup/settings.h"

// `groupFolder` is a 1024-byte buffer or null; it receives the user's
// program-group folder when the group is chosen.
void ApplyShortcuts(const IntegrationSettings* settings, char* groupFolder);
bool CreateShortcut(const char* target, const char* linkFile, const char* description,
                    const char* arguments, const char* iconFile);
// Path of the user's desktop folder; `size` is at least MAX_PATH.
bool GetDesktopFolder(char* buffer, size_t size);
// Deletes a folder with everything in it. `size` is the buffer's size: the
// path needs room for a second terminating zero.
bool RemoveFolder(char* path, size_t size);
