// Placeholder procedures until the setup dialogs land: OK ends with 1,
// Cancel with 0.
#include "setup/dialogs.h"

#include "lang/localize.h"

static INT_PTR EndOnOkCancel(HWND dialog, UINT message, WPARAM wParam) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND) {
        WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL)
            EndDialog(dialog, id == IDOK ? 1 : 0);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    RouteDialogMessage(dialog, message, wParam, 0, 268, "SETUPDLG", lParam);
    return EndOnOkCancel(dialog, message, wParam);
}

INT_PTR CALLBACK DoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    RouteDialogMessage(dialog, message, wParam, 0, 0, "DONEDLG", lParam);
    return EndOnOkCancel(dialog, message, wParam);
}

INT_PTR CALLBACK ContextItemsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    RouteDialogMessage(dialog, message, wParam, 0, 310, "CONTEXTITEMS", lParam);
    return EndOnOkCancel(dialog, message, wParam);
}

void ShowContextItems(HWND) {}
void ApplyIntegration(const IntegrationSettings*, char*) {}
