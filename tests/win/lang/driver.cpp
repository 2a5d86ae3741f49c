#include "driver.h"

#include "lang/translate.h"

#include <cstring>

using namespace testutil;

namespace langtest {

DialogState ReadDialog(HWND dialog) {
    DialogState s;
    s.Window = dialog;
    s.Title = WindowText(dialog);
    GetWindowRect(dialog, &s.Screen);
    GetClientRect(dialog, &s.Client);
    s.ExStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        Control c;
        c.Id = GetDlgCtrlID(child);
        char name[256] = "";
        GetClassNameA(child, name, sizeof(name));
        c.ClassName = name;
        c.Text = WindowText(child);
        GetWindowRect(child, &c.Screen);
        c.Client = c.Screen;
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c.Client), 2);
        s.Controls.push_back(c);
    }
    return s;
}

std::string Install(const char* name, const std::string& lng, const std::string& module) {
    std::string folder = FreshFolder(name);
    CopyFileTo(Dist("uninstall.exe"), folder + "\\uninstall.exe");
    if (!lng.empty())
        WriteFileBytes(folder + "\\uninstall.lng", lng);
    if (!module.empty())
        CopyFileTo(module, folder + "\\mvxlng.dll");
    return folder;
}

Session StartSetup(const std::string& folder) {
    Session run;
    run.Process = Start("\"" + folder + "\\uninstall.exe\" /setup", folder);
    if (run.Process.Handle)
        run.Dialog = WaitForWindow("#32770", nullptr, 20000, run.Process.Id);
    // Let the dialog finish its initialisation before anyone reads it.
    Pump(300);
    return run;
}

bool Finish(Session& run, int button) {
    if (run.Dialog)
        PressButton(run.Dialog, button);
    return Wait(run.Process, 20000);
}

static const char kHelpClass[] = "MS_WINHELP";

static LRESULT CALLBACK HelpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* self = reinterpret_cast<HelpWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        // The request as user32 packs it: size, command, data, reserved,
        // file-name offset, data offset, then the file name.
        const unsigned char* p = static_cast<const unsigned char*>(data->lpData);
        if (self && p && data->cbData >= 16) {
            HelpRequest r;
            WORD command, ofsFilename;
            LONG value;
            memcpy(&command, p + 2, 2);
            memcpy(&value, p + 4, 4);
            memcpy(&ofsFilename, p + 12, 2);
            r.Command = command;
            r.Data = value;
            if (ofsFilename && ofsFilename < data->cbData)
                r.File.assign(reinterpret_cast<const char*>(p + ofsFilename),
                              strnlen(reinterpret_cast<const char*>(p + ofsFilename),
                                      data->cbData - ofsFilename));
            self->Requests.push_back(r);
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HelpWindow::HelpWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HelpProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHelpClass;
    RegisterClassA(&wc);
    Window = CreateWindowA(kHelpClass, "help", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           wc.hInstance, nullptr);
    SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HelpWindow::~HelpWindow() {
    DestroyWindow(Window);
}

bool HelpWindow::WaitForRequest(DWORD ms) {
    DWORD start = GetTickCount();
    while (Requests.empty() && GetTickCount() - start < ms)
        Pump(20);
    return !Requests.empty();
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

std::string LanguageFile(const std::vector<std::string>& lines) {
    std::string file = "test language file\r\n***messages**\r\n";
    for (const std::string& line : lines)
        file += line + "\r\n";
    return file;
}

std::string KeyLine(int kind, const char* context, const std::string& text,
                    const std::string& value) {
    char key[9];
    FormTranslationKey(key, context, text.c_str(), kind);
    return std::string(key) + "=\"" + value + "\"";
}

} // namespace langtest
