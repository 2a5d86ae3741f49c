#include "app/frame.h"

#include "app/cmdline.h"
#include "app/text.h"
#include "lang/language.h"
#include "lang/translate.h"
#include "res/resource.h"
#include "setup/dialogs.h"
#include "uninstall/uninstall.h"

#include <shellapi.h>

#include <cstring>

HINSTANCE g_ResourceModule;
HINSTANCE g_ProgramInstance;
bool g_Silent;
HICON g_ProgramIcon;
HFONT g_BoldFont;
char ProgramGroupFolder[1024];

bool GetProgramPath(char* buffer, DWORD size) {
    DWORD n = GetModuleFileNameA(nullptr, buffer, size);
    if (n == 0 || n >= size) {
        buffer[0] = 0;
        return false;
    }
    return true;
}

bool ProgramFolderFile(char* buffer, size_t size, const char* fileName) {
    if (!GetProgramPath(buffer, static_cast<DWORD>(size)))
        return false;
    char* name = NameStart(buffer);
    size_t used = static_cast<size_t>(name - buffer);
    return StrCopy(name, size - used, fileName);
}

void ExtResource::Load(HINSTANCE instance, const char* path) {
    Free();
    char module[1024];
    bool ok = path ? StrCopy(module, sizeof(module), path) : GetProgramPath(module, sizeof(module));
    char* name = NameStart(module);
    ok = ok && StrCopy(name, sizeof(module) - static_cast<size_t>(name - module), "mvxlng.dll");
    HMODULE library = ok ? LoadLibraryA(module) : nullptr;
    if (library) {
        g_ResourceModule = library;
        Loaded = true;
    } else {
        g_ResourceModule = instance;
        Loaded = false;
    }
    g_ProgramInstance = instance;
}

void ExtResource::Free() {
    if (!Loaded)
        return;
    FreeLibrary(g_ResourceModule);
    g_ResourceModule = g_ProgramInstance;
    Loaded = false;
}

const char* GetMessageText(int id) {
    static char ring[8][256];
    static int position;
    if (++position == 8)
        position = 0;
    char* text = ring[position];
    text[0] = 0;
    // While a language file is loaded it translates the program's own texts,
    // so the module's strings must not be consulted.
    if (g_Language.IsLoaded()) {
        LoadStringA(g_ProgramInstance, id, text, dimof(ring[0]));
    } else if (LoadStringA(g_ResourceModule, id, text, dimof(ring[0])) == 0) {
        LoadStringA(g_ProgramInstance, id, text, dimof(ring[0]));
    }
    TranslateText(text, dimof(ring[0]), text, nullptr, kMessageText);
    return text;
}

static void ShowWarning() {
    char path[1024];
    GetProgramPath(path, dimof(path));
    // A long path cuts the text at 511 bytes, at a character start.
    char text[512];
    StrFormat(text, dimof(text), "%s\n", GetMessageText(IDS_DONE));
    size_t used = strlen(text);
    FormatWithText(text + used, dimof(text) - used, GetMessageText(IDS_DELETE_MANUALLY), path);
    MessageBoxA(nullptr, text, GetMessageText(IDS_CAPTION),
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

static void RunSetup() {
    if (DialogBoxParamA(g_ResourceModule, "SETUPDLG", nullptr, SetupDialogProc, 0) == 0)
        return;
    DialogBoxParamA(g_ResourceModule, "DONEDLG", nullptr, DoneDialogProc, 0);
    if (ProgramGroupFolder[0])
        ShellExecuteA(nullptr, "open", ProgramGroupFolder, nullptr, "", SW_SHOWNORMAL);
}

void RunCommandLine(const char* tail) {
    CommandLine command = ParseCommandLine(tail);
    if (command.Silent)
        g_Silent = true;
    switch (command.Mode) {
    case RunMode::Uninstall:
        RunUninstall();
        break;
    case RunMode::Setup:
        RunSetup();
        break;
    case RunMode::Wait:
        Sleep(2000);
        break;
    case RunMode::Warning:
        ShowWarning();
        break;
    case RunMode::Clean:
    case RunMode::Nothing:
        break;
    }
}
