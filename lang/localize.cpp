// Placeholder until dialog localization lands.
#include "lang/localize.h"

void RouteDialogMessage(HWND, UINT, WPARAM, unsigned char, int, const char*, LPARAM) {}
void LocalizeDialog(HWND, const char*, unsigned char) {}
DialogScale GetDialogScale(const char*) { return {100, 100, false}; }
void SetRtlStyle(HWND) {}
