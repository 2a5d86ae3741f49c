#include "lang/localize.h"

#include "app/system.h"
#include "app/text.h"
#include "lang/language.h"
#include "lang/translate.h"

#include <commctrl.h>
#include <prsht.h>

static const char kHelpFile[] = "molvex.hlp";
static const int kChildLimit = 512;

#ifndef WS_EX_LAYOUTRTL
#define WS_EX_LAYOUTRTL 0x00400000L
#endif

DialogScale GetDialogScale(const char* name) {
    char entry[512];
    TranslateText(entry, dimof(entry), "", name, kDialogText);
    return ParseScaleEntry(entry);
}

void SetRtlStyle(HWND window) {
    if (!g_Language.RightToLeft || !window)
        return;
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYOUTRTL);
}

static void TranslateWindowText(HWND window, const char* name, bool evenEmpty) {
    char text[1024];
    text[0] = 0;
    GetWindowTextA(window, text, dimof(text));
    if (!text[0] && !evenEmpty)
        return;
    TranslateText(text, dimof(text), text, name, kDialogText);
    SetWindowTextA(window, text);
}

static bool IsDropDownCombo(HWND child) {
    char className[1024];
    className[0] = 0;
    GetClassNameA(child, className, dimof(className));
    if (CompareNoCase(className, "COMBOBOX") != 0)
        return false;
    return (GetWindowLongA(child, GWL_STYLE) & 3) != CBS_SIMPLE;
}

static void ScaleChild(HWND child, const RECT& dialogRect, int frameW, int frameH2,
                       const DialogScale& scale) {
    RECT r;
    if (!GetWindowRect(child, &r))
        return;
    int x = ScaleBy(r.left - dialogRect.left - frameW / 2, scale.Width);
    int y = ScaleBy(r.top - dialogRect.top - frameH2, scale.Height);
    int cx = ScaleBy(r.right - r.left + 1, scale.Width);
    int cy = ScaleBy(r.bottom - r.top + 1, scale.Height);
    if (IsDropDownCombo(child)) {
        RECT dropped = {};
        SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        cy += ScaleBy(dropped.bottom - dropped.top + 1, scale.Height);
    }
    SetWindowPos(child, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void LocalizeDialog(HWND dialog, const char* name, unsigned char page) {
    bool isPage = (page & 1) != 0;
    DialogScale scale = GetDialogScale(name);
    RECT wr = {};
    RECT cr = {};
    GetWindowRect(dialog, &wr);
    GetClientRect(dialog, &cr);
    int frameW = wr.right - wr.left + 1 - cr.right;
    int frameH = wr.bottom - wr.top + 1 - cr.bottom;
    if (scale.On && !isPage) {
        SetWindowPos(dialog, nullptr, 0, 0, ScaleBy(cr.right, scale.Width) + frameW,
                     ScaleBy(cr.bottom, scale.Height) + frameH,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    if (!isPage)
        TranslateWindowText(dialog, name, true);
    int frameH2 = frameH - GetSystemMetrics(SM_CYDLGFRAME);

    HWND first = GetWindow(dialog, GW_CHILD);
    HWND child = first;
    for (int count = 0; child && count < kChildLimit; count++) {
        TranslateWindowText(child, name, false);
        if (scale.On)
            ScaleChild(child, wr, frameW, frameH2, scale);
        child = GetWindow(child, GW_HWNDNEXT);
        if (child == first)
            break;
    }
}

static void OpenHelp(HWND dialog, int helpId) {
    WinHelpA(dialog, kHelpFile, HELP_CONTEXT, static_cast<ULONG_PTR>(static_cast<DWORD>(helpId)));
}

void RouteDialogMessage(HWND dialog, UINT message, WPARAM wParam, unsigned char page, int helpId,
                        const char* name, LPARAM lParam) {
    bool isPage = (page & 1) != 0;
    switch (message) {
    case WM_SETFONT:
        if (isPage && g_Language.RightToLeft) {
            HWND sheet = GetParent(dialog);
            HWND tabs = sheet ? reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0))
                              : nullptr;
            SetRtlStyle(sheet);
            if (sheet && tabs) {
                SetRtlStyle(tabs);
                InvalidateRect(tabs, nullptr, TRUE);
            }
        }
        SetRtlStyle(dialog);
        break;
    case WM_INITDIALOG:
        LocalizeDialog(dialog, name, page);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDHELP && helpId != 0)
            OpenHelp(dialog, helpId);
        break;
    case WM_HELP:
        if (helpId != 0)
            OpenHelp(dialog, helpId);
        break;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (isPage && header && header->code == static_cast<UINT>(PSN_HELP))
            OpenHelp(dialog, helpId);
        break;
    }
    default:
        break;
    }
}
