// The setup dialog, the completion dialog and the context-menu items dialog
// of "/setup".
#include "setup/dialogs.h"

#include "app/frame.h"
#include "app/system.h"
#include "app/text.h"
#include "lang/localize.h"
#include "registry/registry.h"
#include "res/resource.h"
#include "setup/associations.h"
#include "setup/shell_ext.h"
#include "setup/shortcuts.h"

#include <richedit.h>
#include <shellapi.h>

static const char kHomePage[] = "https://www.molvex.example/";
static const char kMenuItemsKey[] = "Setup\\MenuItems";

// The commands the shell extension may show in Explorer's context menu, in
// the order of their check boxes 101-109.
static const char* const kMenuItems[] = {
    "ExtrTo", "ExtrHere", "Extr", "ExtrSep", "OpenSFX", "AddTo", "AddArc", "EmailArc", "EmailOpt",
};

void ApplyIntegration(const IntegrationSettings* settings, char* groupFolder) {
    RegisterAppPath();
    ApplyShellExtension(settings);
    ApplyAssociations(settings);
    RegisterProgIds();
    ApplyShortcuts(settings, groupFolder);
}

void ShowContextItems(HWND owner) {
    DialogBoxParamA(g_ResourceModule, "CONTEXTITEMS", owner, ContextItemsDialogProc, 0);
}

static void InitSetupDialog(HWND dialog) {
    IntegrationSettings settings = {};
    ReadIntegrationSettings(&settings);
    SettingsToDialog(dialog, &settings);
    SetForegroundWindow(dialog);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_ProgramIcon));
    SendDlgItemMessageA(dialog, IDC_DESCRIPTION, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    if (g_Silent)
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

static void ConfirmSetup(HWND dialog) {
    IntegrationSettings settings = {};
    SettingsFromDialog(dialog, &settings);
    SaveIntegrationSettings(&settings);
    ApplyIntegration(&settings, ProgramGroupFolder);
    RegisterUninstallEntry();
    EndDialog(dialog, 1);
}

// 5117 and 5118 follow 5116: a record round trip re-derives their state.
static void FollowShellBox(HWND dialog) {
    IntegrationSettings settings = {};
    SettingsFromDialog(dialog, &settings);
    SettingsToDialog(dialog, &settings);
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    RouteDialogMessage(dialog, message, wParam, 0, 268, "SETUPDLG", lParam);
    switch (message) {
    case WM_INITDIALOG:
        InitSetupDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            ConfirmSetup(dialog);
            break;
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
        case IDC_SHELL:
            FollowShellBox(dialog);
            break;
        case IDC_SELECT_ALL:
            SelectAllGroups(dialog);
            break;
        case IDC_CONTEXT_ITEMS:
            ShowContextItems(dialog);
            break;
        }
        return TRUE;
    }
    return FALSE;
}

// `fileName` in the current directory, the installation folder of setup
// mode; false when it does not fit, so that nothing is opened or started
// under a cut path.
static bool InstalledFile(char* buffer, size_t size, const char* fileName) {
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
    return n != 0 && n < size && AppendSlash(buffer, size) && StrAppend(buffer, size, fileName);
}

static void RunArchiver() {
    char path[1024];
    if (!InstalledFile(path, sizeof(path), "Molvex.exe"))
        return;
    // Quoted, so that a folder with blanks ("C:\Program Files\...") cannot
    // make the system start "C:\Program.exe" instead.
    char commandLine[sizeof(path) + 2];
    if (StrFormat(commandLine, sizeof(commandLine), "\"%s\"", path))
        RunProgram(commandLine, nullptr, 0);
}

static void OpenInstalledFile(const char* fileName) {
    char path[1024];
    if (InstalledFile(path, sizeof(path), fileName))
        ShellExecuteA(nullptr, "open", path, nullptr, "", SW_SHOWNORMAL);
}

static void InitDoneDialog(HWND dialog) {
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_ProgramIcon));
    SendDlgItemMessageA(dialog, IDC_THANKS, WM_SETFONT, reinterpret_cast<WPARAM>(g_BoldFont), 0);
    char folder[1024];
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(dimof(folder)), folder);
    if (n == 0 || n >= dimof(folder))
        folder[0] = 0;
    SetDlgItemTextA(dialog, IDC_FOLDER, folder);
    if (g_Silent)
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

INT_PTR CALLBACK DoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    RouteDialogMessage(dialog, message, wParam, 0, 0, "DONEDLG", lParam);
    switch (message) {
    case WM_INITDIALOG:
        InitDoneDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, 1);
            break;
        case IDC_RUN:
            RunArchiver();
            break;
        case IDC_READ_HELP:
            WinHelpA(dialog, "molvex.hlp", HELP_FINDER, 0);
            break;
        case IDC_LICENSE:
            OpenInstalledFile("license.txt");
            break;
        case IDC_ORDER:
            OpenInstalledFile("order.txt");
            break;
        case IDC_HOMEPAGE:
            ShellExecuteA(nullptr, "open", kHomePage, nullptr, "", SW_SHOWNORMAL);
            break;
        }
        return TRUE;
    }
    return FALSE;
}

static void InitContextItems(HWND dialog) {
    for (size_t i = 0; i < dimof(kMenuItems); i++) {
        DWORD shown = GetUserDword(kMenuItemsKey, kMenuItems[i], 1);
        CheckDlgButton(dialog, IDC_ITEM_FIRST + static_cast<int>(i), shown);
    }
}

static void StoreContextItems(HWND dialog) {
    // A stored value other than 0 or 1 may show as a third state; whatever
    // the box shows, only 0 or 1 is ever written back.
    for (size_t i = 0; i < dimof(kMenuItems); i++) {
        UINT state = IsDlgButtonChecked(dialog, IDC_ITEM_FIRST + static_cast<int>(i));
        SetUserDword(kMenuItemsKey, kMenuItems[i], state == BST_UNCHECKED ? 0 : 1);
    }
}

INT_PTR CALLBACK ContextItemsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    RouteDialogMessage(dialog, message, wParam, 0, 310, "CONTEXTITEMS", lParam);
    switch (message) {
    case WM_HELP:
        // Answered by the router with context 310; it must not reach the
        // setup dialog, which would open 268 as well.
        return TRUE;
    case WM_INITDIALOG:
        InitContextItems(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreContextItems(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
