// Drives dist/uninstall.exe under Wine: a private folder with the program and
// an optional language file and module, the dialogs' texts and rectangles,
// and a stand-in help window that records the program's help requests.
#pragma once

#include "support/testutil.h"

#include <string>
#include <vector>

namespace langtest {

struct Control {
    int Id;
    std::string ClassName;
    std::string Text;
    RECT Screen; // GetWindowRect
    RECT Client; // the same in the dialog's client coordinates
};

struct DialogState {
    HWND Window = nullptr;
    std::string Title;
    RECT Screen = {};
    RECT Client = {}; // GetClientRect
    LONG ExStyle = 0;
    std::vector<Control> Controls;
};

DialogState ReadDialog(HWND dialog);

// C:\mvxtest\<name> holding uninstall.exe, and uninstall.lng when `lng` is
// not empty, and `module` as mvxlng.dll when given.
std::string Install(const char* name, const std::string& lng, const std::string& module = "");

// Starts the program in `folder` and waits for its first dialog.
struct Session {
    testutil::Process Process;
    HWND Dialog = nullptr;
};
Session StartSetup(const std::string& folder);
// Presses Cancel (or OK) and waits for the program to end.
bool Finish(Session& run, int button = IDCANCEL);

// A window of the class that WinHelpA hands its requests to; records them.
struct HelpRequest {
    unsigned Command;
    long Data;
    std::string File;
};
class HelpWindow {
  public:
    HelpWindow();
    ~HelpWindow();
    // Processes messages for up to `ms`, until a request has come.
    bool WaitForRequest(DWORD ms);
    std::vector<HelpRequest> Requests;
    HWND Window = nullptr;
};

// Processes this thread's messages for `ms` milliseconds.
void Pump(DWORD ms);

// A language file: the marker, then the lines.
std::string LanguageFile(const std::vector<std::string>& lines);
std::string KeyLine(int kind, const char* context, const std::string& text,
                    const std::string& value);

} // namespace langtest
