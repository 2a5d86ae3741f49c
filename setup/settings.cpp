#include "setup/settings.h"

#include "app/system.h"
#include "app/text.h"
#include "registry/registry.h"
#include "res/resource.h"

// Primary extension of each association group, in record order. It names the
// group's settings key "Setup\<ext>" and is the extension the ISO rule tests.
static const char* const kPrimaryExtensions[kGroupCount] = {
    ".mvx", ".zip", ".cab", ".arj", ".lzh", ".ace", ".tar", ".gz", ".uue", ".bz2", ".jar", ".iso",
};

static const char* const kOwnProgIds[] = {"Molvex", "Molvex.ZIP"};

// The link and shell choices: record position, settings key, value, default.
struct StoredChoice {
    int Position;
    const char* Subkey;
    const char* Name;
    DWORD Default;
};

static const StoredChoice kStoredChoices[] = {
    {20, "Setup\\Links", "Desktop", 0},  {21, "Setup\\Links", "StartMenu", 0},
    {22, "Setup\\Links", "Programs", 1}, {23, "Setup", "ShellExt", 1},
    {24, "Setup", "CascadedMenu", 0},    {25, "Setup", "MenuIcons", 1},
};

enum { kFirstChoice = 20, kChoiceCount = 6 };

// The default value of an extension under HKEY_CLASSES_ROOT in an 80-byte
// buffer; a value that does not fit, terminator included, reads as "".
static void ReadClassDefault(const char* extension, char (&text)[80]) {
    GetRegString(HKEY_CLASSES_ROOT, extension, "", text, "", sizeof(text));
}

static bool GroupKey(int group, char (&key)[256]) {
    return StrFormat(key, sizeof(key), "Setup\\%s", kPrimaryExtensions[group]);
}

bool IsOwnAssociation(const char* extension) {
    char text[80];
    ReadClassDefault(extension, text);
    for (const char* id : kOwnProgIds) {
        if (CompareAsciiNoCase(text, id) == 0)
            return true;
    }
    return false;
}

void ReadIntegrationSettings(IntegrationSettings* settings) {
    unsigned char* bytes = settings->Bytes();
    for (int group = 0; group < kGroupCount; group++) {
        char key[256];
        DWORD set = GroupKey(group, key) ? GetUserDword(key, "Set", 1) : 1;
        bytes[group] = set != 0 ? 1 : 0;
        // ISO is proposed only while nobody else owns ".iso".
        if (group == kIsoGroup && !IsOwnAssociation(kPrimaryExtensions[group])) {
            char owner[80];
            ReadClassDefault(kPrimaryExtensions[group], owner);
            if (owner[0])
                bytes[group] = 0;
        }
    }
    for (const StoredChoice& choice : kStoredChoices)
        bytes[choice.Position] = GetUserDword(choice.Subkey, choice.Name, choice.Default) ? 1 : 0;
}

void SaveIntegrationSettings(const IntegrationSettings* settings) {
    const unsigned char* bytes = settings->Bytes();
    // The ISO choice is never stored: each run proposes it afresh.
    for (int group = 0; group < kIsoGroup; group++) {
        char key[256];
        if (GroupKey(group, key))
            SetUserDword(key, "Set", bytes[group] ? 1 : 0);
    }
    for (const StoredChoice& choice : kStoredChoices)
        SetUserDword(choice.Subkey, choice.Name, bytes[choice.Position] ? 1 : 0);
}

void SettingsToDialog(HWND dialog, const IntegrationSettings* settings) {
    const unsigned char* bytes = settings->Bytes();
    for (int group = 0; group < kGroupCount; group++)
        CheckDlgButton(dialog, IDC_GROUP_FIRST + group, bytes[group] ? BST_CHECKED : BST_UNCHECKED);
    for (int j = 0; j < kChoiceCount; j++)
        CheckDlgButton(dialog, IDC_LINK_DESKTOP + j,
                       bytes[kFirstChoice + j] ? BST_CHECKED : BST_UNCHECKED);
    unsigned char shell = settings->IntegrateShell ? 1 : 0;
    EnableItem(dialog, IDC_CASCADE, shell);
    EnableItem(dialog, IDC_MENU_ICONS, shell);
}

void SettingsFromDialog(HWND dialog, IntegrationSettings* settings) {
    unsigned char* bytes = settings->Bytes();
    for (int group = 0; group < kGroupCount; group++)
        bytes[group] = IsDlgButtonChecked(dialog, IDC_GROUP_FIRST + group) ? 1 : 0;
    for (int j = 0; j < kChoiceCount; j++)
        bytes[kFirstChoice + j] = IsDlgButtonChecked(dialog, IDC_LINK_DESKTOP + j) ? 1 : 0;
}

void SelectAllGroups(HWND dialog) {
    for (int group = 0; group < kGroupCount; group++)
        CheckDlgButton(dialog, IDC_GROUP_FIRST + group, BST_CHECKED);
}
