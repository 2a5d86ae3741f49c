// Shell links to the archiver on the desktop, in the Start menu and in the
// program groups.
#include "setup/shortcuts.h"

#include "app/frame.h"
#include "app/system.h"
#include "app/text.h"
#include "res/resource.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

static const char kDescription[] = "Molvex";
static const char kLinkName[] = "Molvex.lnk";
static const char kGroupName[] = "Molvex";
// Size of the caller's program-group buffer, as shortcuts.h gives it.
static const size_t kGroupFolderSize = 1024;
static_assert(sizeof(ProgramGroupFolder) == kGroupFolderSize, "the setup passes this buffer");

struct GroupLink {
    int NameId; // 0: the fixed name below
    const char* Name;
    const char* Target;
};

static const GroupLink kGroupLinks[] = {
    {0, "Molvex", "Molvex.exe"},
    {IDS_HELP_LINK, nullptr, "Molvex.hlp"},
    {IDS_MANUAL_LINK, nullptr, "Mvx.txt"},
};

// Path of a shell special folder; false (and an empty buffer) when the
// system does not know the folder or its path does not fit.
static bool SpecialFolderPath(IMalloc* allocator, int csidl, char* buffer, size_t size) {
    buffer[0] = 0;
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list)
        return false;
    char path[MAX_PATH];
    bool ok = SHGetPathFromIDListA(list, path) && path[0] && StrCopy(buffer, size, path);
    if (allocator)
        allocator->Free(list);
    if (!ok)
        buffer[0] = 0;
    return ok;
}

bool GetDesktopFolder(char* buffer, size_t size) {
    IMalloc* allocator = nullptr;
    SHGetMalloc(&allocator);
    bool ok = SpecialFolderPath(allocator, CSIDL_DESKTOPDIRECTORY, buffer, size);
    if (allocator)
        allocator->Release();
    return ok;
}

bool CreateShortcut(const char* target, const char* linkFile, const char* description,
                    const char* arguments, const char* iconFile) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(target);
    link->SetDescription(description);
    if (iconFile)
        link->SetIconLocation(iconFile, 0);
    if (arguments)
        link->SetArguments(arguments);
    bool saved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wide, static_cast<int>(dimof(wide))) > 0)
            saved = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

bool RemoveFolder(char* path, size_t size) {
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return false;
    // The shell takes a list of names closed by a second zero; without room
    // for it the list would run on into whatever follows the buffer.
    size_t length = strlen(path);
    if (length + 2 > size)
        return false;
    path[length + 1] = 0;
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = path;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    return SHFileOperationA(&operation) == 0;
}

// `folder` with a backslash and `name`; false when it does not fit, so that
// no link is written or deleted under a cut name.
static bool JoinPath(char* buffer, size_t size, const char* folder, const char* name) {
    return StrCopy(buffer, size, folder) && AppendSlash(buffer, size) &&
           StrAppend(buffer, size, name);
}

// A translated link name is a file name, not a path: separators and drive
// colons become "_" so that the link stays inside its group folder.
static void MakeFileName(char* name) {
    for (char* p = name; *p; p = const_cast<char*>(NextChar(g_LeadBytes, p))) {
        if (IsPathSeparator(*p) || IsDriveColon(*p))
            *p = '_';
    }
}

// `archiver` is empty when the program's own path could not be formed.
static void ApplySingleLink(const char* folder, bool wanted, const char* archiver) {
    char link[1024];
    if (!JoinPath(link, sizeof(link), folder, kLinkName))
        return;
    if (!wanted)
        DeleteFileA(link);
    else if (archiver[0])
        CreateShortcut(archiver, link, kDescription, nullptr, nullptr);
}

static void ApplyGroup(const char* programs, bool wanted, char (&names)[dimof(kGroupLinks)][256],
                       char* groupFolder) {
    char group[1024];
    if (!JoinPath(group, sizeof(group), programs, kGroupName))
        return;
    if (!wanted) {
        RemoveFolder(group, sizeof(group));
        return;
    }
    if (groupFolder)
        StrCopy(groupFolder, kGroupFolderSize, group);
    CreateDirectoryA(group, nullptr);
    for (size_t i = 0; i < dimof(kGroupLinks); i++) {
        char link[1024];
        char target[1024];
        if (JoinPath(link, sizeof(link), group, names[i]) &&
            StrAppend(link, sizeof(link), ".lnk") &&
            ProgramFolderFile(target, sizeof(target), kGroupLinks[i].Target))
            CreateShortcut(target, link, kDescription, nullptr, nullptr);
    }
}

void ApplyShortcuts(const IntegrationSettings* settings, char* groupFolder) {
    IMalloc* allocator = nullptr;
    SHGetMalloc(&allocator);

    char archiver[1024];
    if (!ProgramFolderFile(archiver, sizeof(archiver), "Molvex.exe"))
        archiver[0] = 0;
    char folder[MAX_PATH];
    // A folder the system cannot name is skipped with its links: with an
    // empty folder the link path would fall back to the current directory.
    if (GetDesktopFolder(folder, sizeof(folder)))
        ApplySingleLink(folder, settings->LinkOnDesktop != 0, archiver);
    if (SpecialFolderPath(allocator, CSIDL_STARTMENU, folder, sizeof(folder)))
        ApplySingleLink(folder, settings->LinkInStartMenu != 0, archiver);

    char names[dimof(kGroupLinks)][256];
    for (size_t i = 0; i < dimof(kGroupLinks); i++) {
        const GroupLink& entry = kGroupLinks[i];
        StrCopy(names[i], sizeof(names[i]),
                entry.NameId ? GetMessageText(entry.NameId) : entry.Name);
        MakeFileName(names[i]);
    }
    bool wanted = settings->CreateProgramGroup != 0;
    if (SpecialFolderPath(allocator, CSIDL_PROGRAMS, folder, sizeof(folder)))
        ApplyGroup(folder, wanted, names, groupFolder);
    if (NtMajorVersion() != 0 &&
        SpecialFolderPath(allocator, CSIDL_COMMON_PROGRAMS, folder, sizeof(folder)))
        ApplyGroup(folder, wanted, names, nullptr);

    if (allocator)
        allocator->Release();
}
