#include "setup/associations.h"

#include "app/frame.h"
#include "app/system.h"
#include "app/text.h"
#include "registry/registry.h"
#include "res/resource.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

// The first bytes stay zero in the program file, so that it holds neither
// complete signature; ApplyAssociations puts them in.
unsigned char EmptyArchiveTemplate[20] = {
    0x00, 'v',  'x',  '!',  0x1A, 0x07, 0x00, 0xCF, 0x90, 0x73,
    0x00, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};
unsigned char EmptyZipTemplate[22] = {0x00, 0x4B, 0x05, 0x06};

struct AssociationGroup {
    const char* Extensions; // one or more, each beginning with a full stop
    const char* ProgId;
    bool HasVolumes;
    const char* TemplateFile; // New-menu template, or null
    const unsigned char* Template;
    DWORD TemplateSize;
};

static const AssociationGroup kGroups[kGroupCount] = {
    {".mvx", "Molvex", true, "mvxnew.dat", EmptyArchiveTemplate, sizeof(EmptyArchiveTemplate)},
    {".zip", "Molvex.ZIP", false, "zipnew.dat", EmptyZipTemplate, sizeof(EmptyZipTemplate)},
    {".cab", "Molvex", false, nullptr, nullptr, 0},
    {".arj", "Molvex", false, nullptr, nullptr, 0},
    {".lzh.lha", "Molvex", false, nullptr, nullptr, 0},
    {".ace", "Molvex", false, nullptr, nullptr, 0},
    {".tar", "Molvex", false, nullptr, nullptr, 0},
    {".gz.tgz", "Molvex", false, nullptr, nullptr, 0},
    {".uue.xxe.uu", "Molvex", false, nullptr, nullptr, 0},
    {".bz2.tbz2.bz.tbz", "Molvex", false, nullptr, nullptr, 0},
    {".jar", "Molvex", false, nullptr, nullptr, 0},
    {".iso", "Molvex", false, nullptr, nullptr, 0},
};

static const char* const kOwnProgIds[] = {"Molvex", "Molvex.ZIP"};

enum { kVolumeCount = 100, kNtVolumeCount = 30 };

// Reads a text value into `text`. The registry layer always terminates the
// text and treats a value that does not fit with its terminator as absent
// (""), so a previous owner's text of any length never runs past the buffer.
template <size_t N>
static bool ReadText(HKEY root, const char* subkey, const char* name, char (&text)[N]) {
    return GetRegString(root, subkey, name, text, "", N);
}

static bool IsOwnProgId(const char* text) {
    for (const char* id : kOwnProgIds) {
        if (CompareAsciiNoCase(text, id) == 0)
            return true;
    }
    return false;
}

// Whether the value holds exactly these bytes, no more and no fewer. The
// registry layer reports no length, so a second read one byte short tells
// the full value from a shorter one that the added terminator completes;
// that is exact for data ending in two zero bytes, as both templates do.
static bool HoldsBytes(const char* subkey, const char* name, const unsigned char* bytes,
                       DWORD size) {
    char data[32];
    if (size < 2 || size > sizeof(data))
        return false;
    if (!GetRegString(HKEY_CLASSES_ROOT, subkey, name, data, "", size) ||
        memcmp(data, bytes, size) != 0)
        return false;
    return !GetRegString(HKEY_CLASSES_ROOT, subkey, name, data, "", size - 1);
}

static void BackUpOwner(const char* extension, const char* shellNewKey, const char* backupKey) {
    char type[512];
    char content[512];
    char fileName[1024];
    char nullFile[10];
    ReadText(HKEY_CLASSES_ROOT, extension, "", type);
    ReadText(HKEY_CLASSES_ROOT, extension, "Content Type", content);
    ReadText(HKEY_CLASSES_ROOT, shellNewKey, "FileName", fileName);
    // Only the presence of "NullFile" matters, never its data.
    bool hasNullFile =
        GetRegString(HKEY_CLASSES_ROOT, shellNewKey, "NullFile", nullFile, "", sizeof(nullFile));
    bool existed = HasRegKey(HKEY_CLASSES_ROOT, extension);

    SetUserDword(backupKey, "Exist", existed ? 1 : 0);
    SetUserString(backupKey, "Type", type);
    SetUserString(backupKey, "Content", content);
    SetUserString(backupKey, "ShellNew", fileName[0] == 0 && hasNullFile ? "*" : fileName);
}

static void WriteTemplateFile(const char* path, const unsigned char* bytes, DWORD size) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return;
    FILE* file = fopen(path, "wb");
    if (!file)
        return;
    bool written = fwrite(bytes, 1, size, file) == size;
    written = fclose(file) == 0 && written;
    // A cut template would never be rewritten, since only a missing one is.
    if (!written)
        DeleteFileA(path);
}

static void WriteNewMenuEntry(const AssociationGroup& group, const char* shellNewKey) {
    DeleteRegKey(HKEY_CLASSES_ROOT, shellNewKey);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    // Windows Me and NT 5 read a template file; 95, 98 and NT 4 only the bytes.
    bool fileForm = version.dwMajorVersion > 4 || version.dwMinorVersion > 10;
    if (!fileForm) {
        SetRegBinary(HKEY_CLASSES_ROOT, shellNewKey, "Data", group.Template, group.TemplateSize);
        return;
    }
    char path[1024];
    if (!ProgramFolderFile(path, sizeof(path), group.TemplateFile))
        return;
    WriteTemplateFile(path, group.Template, group.TemplateSize);
    SetRegString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", path);
}

static bool VolumeExtension(int number, char (&extension)[16]) {
    return StrFormat(extension, sizeof(extension), ".m%02d", number);
}

static void TakeOver(const IntegrationSettings* settings, const AssociationGroup& group,
                     const char* extension, const char* shellNewKey, const char* backupKey) {
    // A backup is taken only from a foreign owner, so repeated setups keep
    // the owner from before Molvex.
    if (!IsOwnAssociation(extension))
        BackUpOwner(extension, shellNewKey, backupKey);
    SetRegString(HKEY_CLASSES_ROOT, extension, "", group.ProgId);
    DeleteRegValue(HKEY_CLASSES_ROOT, extension, "Content Type");

    if (group.HasVolumes) {
        int count = NtMajorVersion() != 0 ? kNtVolumeCount : kVolumeCount;
        for (int j = 0; j < count; j++) {
            char volume[16];
            if (!VolumeExtension(j, volume))
                continue;
            SetRegString(HKEY_CLASSES_ROOT, volume, "", group.ProgId);
            DeleteRegValue(HKEY_CLASSES_ROOT, volume, "Content Type");
        }
    }
    if (group.TemplateFile && settings->IntegrateShell)
        WriteNewMenuEntry(group, shellNewKey);
}

static void GiveBack(const AssociationGroup& group, const char* extension, const char* shellNewKey,
                     const char* backupKey) {
    if (!IsOwnAssociation(extension))
        return;
    DWORD existed = GetUserDword(backupKey, "Exist", 1);
    char type[512];
    char content[512];
    ReadText(HKEY_CURRENT_USER, backupKey, "Type", type);
    ReadText(HKEY_CURRENT_USER, backupKey, "Content", content);
    if (IsOwnProgId(type))
        type[0] = 0;

    if (existed != 0) {
        SetRegString(HKEY_CLASSES_ROOT, extension, "", type);
        if (content[0])
            SetRegString(HKEY_CLASSES_ROOT, extension, "Content Type", content);
        else
            DeleteRegValue(HKEY_CLASSES_ROOT, extension, "Content Type");
        char shellNew[1024];
        ReadText(HKEY_CURRENT_USER, backupKey, "ShellNew", shellNew);
        DeleteRegValue(HKEY_CLASSES_ROOT, shellNewKey, "FileName");
        // The binary New-menu entry is ours as much as the template file is;
        // left behind, the owner's New menu would create a Molvex archive.
        if (group.TemplateFile &&
            HoldsBytes(shellNewKey, "Data", group.Template, group.TemplateSize))
            DeleteRegValue(HKEY_CLASSES_ROOT, shellNewKey, "Data");
        if (shellNew[0] == '*')
            SetRegString(HKEY_CLASSES_ROOT, shellNewKey, "NullFile", "");
        else if (shellNew[0])
            SetRegString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", shellNew);
    } else {
        DeleteRegKey(HKEY_CLASSES_ROOT, shellNewKey);
        DeleteRegKey(HKEY_CLASSES_ROOT, extension);
    }

    if (!group.HasVolumes)
        return;
    for (int j = 0; j < kVolumeCount; j++) {
        char volume[16];
        // A volume extension another program has taken since is left to it.
        if (!VolumeExtension(j, volume) || !IsOwnAssociation(volume))
            continue;
        if (existed != 0 && type[0]) {
            SetRegString(HKEY_CLASSES_ROOT, volume, "", type);
            if (content[0])
                SetRegString(HKEY_CLASSES_ROOT, volume, "Content Type", content);
        } else {
            DeleteRegKey(HKEY_CLASSES_ROOT, volume);
        }
    }
}

void ApplyAssociations(const IntegrationSettings* settings) {
    EmptyArchiveTemplate[0] = 'M';
    EmptyZipTemplate[0] = 0x50;
    for (int g = 0; g < kGroupCount; g++) {
        const AssociationGroup& group = kGroups[g];
        const char* start = group.Extensions;
        while (*start == '.') {
            const char* end = strchr(start + 1, '.');
            size_t length = end ? static_cast<size_t>(end - start) : strlen(start);
            char extension[16];
            char shellNewKey[256];
            char backupKey[256];
            bool formed = length < sizeof(extension);
            if (formed) {
                memcpy(extension, start, length);
                extension[length] = 0;
                formed = StrFormat(shellNewKey, sizeof(shellNewKey), "%s\\ShellNew", extension) &&
                         StrFormat(backupKey, sizeof(backupKey), "Setup\\%s", extension);
            }
            if (formed) {
                if (settings->AssociateGroup[g])
                    TakeOver(settings, group, extension, shellNewKey, backupKey);
                else
                    GiveBack(group, extension, shellNewKey, backupKey);
            }
            start += length;
        }
    }
}

enum ProgIdSource { kDescription, kOpenCommand, kFirstIcon, kSecondIcon, kFixedText };

struct ProgIdRow {
    const char* Key;
    ProgIdSource Source;
    int MessageId;         // kDescription
    const char* FixedText; // kFixedText
};

static const ProgIdRow kProgIdRows[] = {
    {"Molvex", kDescription, IDS_ARCHIVE_TYPE, nullptr},
    {"Molvex\\shell\\open\\command", kOpenCommand, 0, nullptr},
    {"Molvex\\DefaultIcon", kFirstIcon, 0, nullptr},
    {"Molvex.ZIP", kDescription, IDS_ZIP_TYPE, nullptr},
    {"Molvex.ZIP\\shell\\open\\command", kOpenCommand, 0, nullptr},
    {"Molvex.ZIP\\DefaultIcon", kFirstIcon, 0, nullptr},
    {".rev", kFixedText, 0, "Molvex.REV"},
    {"Molvex.REV", kDescription, IDS_VOLUME_TYPE, nullptr},
    {"Molvex.REV\\shell\\open\\command", kOpenCommand, 0, nullptr},
    {"Molvex.REV\\DefaultIcon", kSecondIcon, 0, nullptr},
};

void RegisterProgIds() {
    char archiver[1024];
    char command[dimof(archiver) + 8];
    char firstIcon[dimof(archiver) + 4];
    char secondIcon[dimof(archiver) + 4];
    // Without the archiver's full path no command or icon is written: a cut
    // one would point at some other file.
    bool havePath = ProgramFolderFile(archiver, sizeof(archiver), "Molvex.exe") &&
                    StrFormat(command, sizeof(command), "\"%s\" \"%%1\"", archiver) &&
                    StrFormat(firstIcon, sizeof(firstIcon), "%s,0", archiver) &&
                    StrFormat(secondIcon, sizeof(secondIcon), "%s,1", archiver);
    for (const ProgIdRow& row : kProgIdRows) {
        const char* text = nullptr;
        switch (row.Source) {
        case kDescription:
            text = GetMessageText(row.MessageId);
            break;
        case kOpenCommand:
            text = havePath ? command : nullptr;
            break;
        case kFirstIcon:
            text = havePath ? firstIcon : nullptr;
            break;
        case kSecondIcon:
            text = havePath ? secondIcon : nullptr;
            break;
        case kFixedText:
            text = row.FixedText;
            break;
        }
        if (text)
            SetRegString(HKEY_CLASSES_ROOT, row.Key, "", text);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
