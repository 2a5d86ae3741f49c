// The setup, completion and context-menu items dialogs.
#pragma once

#include "setup/settings.h"

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ContextItemsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void ShowContextItems(HWND owner);
// `groupFolder` is a 1024-byte buffer.
void ApplyIntegration(const IntegrationSettings* settings, char* groupFolder);
