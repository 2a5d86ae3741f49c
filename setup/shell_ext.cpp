// Registration of the shell extension "mvxext.dll", the App Paths entry of
// the archiver and the Add/Remove Programs entry.
#include "setup/shell_ext.h"

#include "app/frame.h"
#include "app/text.h"
#include "registry/registry.h"
#include "res/resource.h"

#define MVX_CLSID "{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}"

static const char kClassKey[] = "CLSID\\" MVX_CLSID;
static const char kServerKey[] = "CLSID\\" MVX_CLSID "\\InProcServer32";
static const char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
static const char kAppPathKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Molvex.exe";
static const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Molvex archiver";

// The handler registrations under HKEY_CLASSES_ROOT, in the order they are
// written. Below our own ProgIDs and "exefile" the key is named after the
// class id and holds an empty default; the drop handlers and the shell's
// common classes name the class id as their default value instead. On
// removal those shared keys are only emptied, since other programs' handlers
// may live beside them.
struct HandlerRow {
    const char* Key;
    const char* Data;
    bool KeepKey;
};

static const HandlerRow kHandlerRows[] = {
    {"Molvex\\shellex\\ContextMenuHandlers\\" MVX_CLSID, "", false},
    {"Molvex\\shellex\\PropertySheetHandlers\\" MVX_CLSID, "", false},
    {"Molvex.ZIP\\shellex\\ContextMenuHandlers\\" MVX_CLSID, "", false},
    {"Molvex.ZIP\\shellex\\PropertySheetHandlers\\" MVX_CLSID, "", false},
    {"exefile\\shellex\\PropertySheetHandlers\\" MVX_CLSID, "", false},
    {"Molvex\\shellex\\DropHandler", MVX_CLSID, false},
    {"Molvex.ZIP\\shellex\\DropHandler", MVX_CLSID, false},
    {"*\\shellex\\ContextMenuHandlers\\Molvex", MVX_CLSID, true},
    {"Folder\\shellex\\ContextMenuHandlers\\Molvex", MVX_CLSID, true},
    {"Folder\\shellex\\DragDropHandlers\\Molvex", MVX_CLSID, true},
    {"Drive\\shellex\\DragDropHandlers\\Molvex", MVX_CLSID, true},
    {"Directory\\shellex\\ContextMenuHandlers\\Molvex", MVX_CLSID, true},
    {"Directory\\shellex\\DragDropHandlers\\Molvex", MVX_CLSID, true},
};

static void RegisterShellExtension() {
    // Without the program's own path there is no library to point at, and a
    // bare "mvxext.dll" would be looked for in the current directory.
    char library[1024];
    if (ProgramFolderFile(library, sizeof(library), "mvxext.dll") &&
        GetFileAttributesA(library) != INVALID_FILE_ATTRIBUTES) {
        SetRegString(HKEY_CLASSES_ROOT, kClassKey, "", "Molvex");
        SetRegString(HKEY_CLASSES_ROOT, kServerKey, "", library);
        SetRegString(HKEY_CLASSES_ROOT, kServerKey, "ThreadingModel", "Apartment");
    }
    for (const HandlerRow& row : kHandlerRows)
        SetRegString(HKEY_CLASSES_ROOT, row.Key, "", row.Data);
    SetRegString(HKEY_LOCAL_MACHINE, kApprovedKey, MVX_CLSID, "Molvex shell extension");
}

static void UnregisterShellExtension() {
    DeleteRegKey(HKEY_CLASSES_ROOT, kServerKey);
    DeleteRegKey(HKEY_CLASSES_ROOT, kClassKey);
    for (const HandlerRow& row : kHandlerRows) {
        if (!row.KeepKey)
            DeleteRegKey(HKEY_CLASSES_ROOT, row.Key);
    }
    for (const HandlerRow& row : kHandlerRows) {
        if (row.KeepKey)
            DeleteRegValue(HKEY_CLASSES_ROOT, row.Key, "");
    }
    DeleteRegValue(HKEY_LOCAL_MACHINE, kApprovedKey, MVX_CLSID);
}

void ApplyShellExtension(const IntegrationSettings* settings) {
    if (settings->IntegrateShell)
        RegisterShellExtension();
    else
        UnregisterShellExtension();
}

void RegisterAppPath() {
    // A path cut to fit would name another file or folder: such a value is
    // not written at all.
    char archiver[1024];
    if (ProgramFolderFile(archiver, sizeof(archiver), "Molvex.exe"))
        SetRegString(HKEY_LOCAL_MACHINE, kAppPathKey, "", archiver);
    char current[1024];
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(dimof(current)), current);
    if (n != 0 && n < dimof(current))
        SetRegString(HKEY_LOCAL_MACHINE, kAppPathKey, "Path", current);
}

void RegisterUninstallEntry() {
    SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName",
                 GetMessageText(IDS_DISPLAY_NAME));
    char program[1024];
    if (GetProgramPath(program, sizeof(program)))
        SetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", program);
}
