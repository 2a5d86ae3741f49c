#include "uninstall/uninstall.h"

#include "app/frame.h"
#include "app/text.h"
#include "res/resource.h"
#include "uninstall/file_list.h"
#include "uninstall/path_text.h"
#include "uninstall/remove_integration.h"
#include "uninstall/self_remove.h"

static const char kListName[] = "Uninstall.lst";

// The index files that the help engine makes beside "molvex.hlp".
static const char* const kHelpIndexFiles[] = {"molvex.gid", "molvex.fts"};

static void ShowListFailure() {
    char message[200];
    if (!FormatWithText(message, dimof(message), GetMessageText(IDS_NO_LIST), kListName))
        DropPartialLastChar(message, g_LeadBytes);
    MessageBoxA(nullptr, message, GetMessageText(IDS_CAPTION),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void RunUninstall() {
    char programPath[1024];
    if (!GetProgramPath(programPath, dimof(programPath)))
        return;
    char folder[1024];
    StrCopy(folder, dimof(folder), programPath);
    char* slash = LastBackslash(folder, g_LeadBytes);
    if (!slash)
        return;
    // A drive root keeps its backslash: "C:\" rather than the drive-relative "C:".
    if (slash != folder && slash[-1] == ':')
        slash[1] = 0;
    else
        *slash = 0;
    // The list, the help index files and the script's "rd" all rest on the
    // current directory: in any other folder they would name other files.
    if (!SetCurrentDirectoryA(folder) || !AppendSlash(folder, dimof(folder)))
        return;

    if (MessageBoxA(nullptr, GetMessageText(IDS_CONFIRM), GetMessageText(IDS_CAPTION),
                    MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDYES)
        return;
    HANDLE list = CreateFileA(kListName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (list == INVALID_HANDLE_VALUE) {
        ShowListFailure();
        return;
    }

    RemoveIntegration();
    // The language module is a listed file like any other.
    g_ExtResource.Free();
    for (const char* name : kHelpIndexFiles) {
        SetFileAttributesA(name, 0);
        DeleteFileA(name);
    }
    RemoveListedEntries(list, folder);
    CloseHandle(list);
    DeleteFileA(kListName);

    RunRemovalScript(programPath);
}
