// Localization of dialogs and the message routing shared by all dialogs.
#pragma once

#include <windows.h>

#include "lang/scale.h"

// Every dialog procedure calls this first, for every message. `page` marks
// a property-sheet page (bit 0); `helpId` 0 means no help topic.
void RouteDialogMessage(HWND dialog, UINT message, WPARAM wParam, unsigned char page, int helpId,
                        const char* name, LPARAM lParam);
void LocalizeDialog(HWND dialog, const char* name, unsigned char page);
DialogScale GetDialogScale(const char* name);
void SetRtlStyle(HWND window);
