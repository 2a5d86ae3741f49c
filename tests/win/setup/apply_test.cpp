// Applying the integration: "/setup /s" run as the real program on a new
// user, and the shortcut and shell-extension operations called directly.
#include "links.h"
#include "testutil.h"

#include "app/frame.h"
#include "setup/dialogs.h"
#include "setup/shell_ext.h"
#include "setup/shortcuts.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

using namespace testutil;
using setuptest::FolderEntries;
using setuptest::LinkInfo;
using setuptest::ReadLink;
using setuptest::SpecialFolder;

#define CLSID_TEXT "{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}"

static const char kApproved[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
static const char kAppPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Molvex.exe";
static const char kUninstall[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Molvex archiver";
static const char kSettings[] = "Software\\Molvex";

// Handler keys under HKEY_CLASSES_ROOT and their default value; `Shared`
// keys are emptied, not deleted, when the extension is unregistered.
struct HandlerKey {
    const char* Key;
    const char* Data;
    bool Shared;
};
static const HandlerKey kHandlerKeys[] = {
    {"Molvex\\shellex\\ContextMenuHandlers\\" CLSID_TEXT, "", false},
    {"Molvex\\shellex\\PropertySheetHandlers\\" CLSID_TEXT, "", false},
    {"Molvex.ZIP\\shellex\\ContextMenuHandlers\\" CLSID_TEXT, "", false},
    {"Molvex.ZIP\\shellex\\PropertySheetHandlers\\" CLSID_TEXT, "", false},
    {"exefile\\shellex\\PropertySheetHandlers\\" CLSID_TEXT, "", false},
    {"Molvex\\shellex\\DropHandler", CLSID_TEXT, false},
    {"Molvex.ZIP\\shellex\\DropHandler", CLSID_TEXT, false},
    {"*\\shellex\\ContextMenuHandlers\\Molvex", CLSID_TEXT, true},
    {"Folder\\shellex\\ContextMenuHandlers\\Molvex", CLSID_TEXT, true},
    {"Folder\\shellex\\DragDropHandlers\\Molvex", CLSID_TEXT, true},
    {"Drive\\shellex\\DragDropHandlers\\Molvex", CLSID_TEXT, true},
    {"Directory\\shellex\\ContextMenuHandlers\\Molvex", CLSID_TEXT, true},
    {"Directory\\shellex\\DragDropHandlers\\Molvex", CLSID_TEXT, true},
};

// Association groups: every extension with the ProgID it gets and the
// settings key of its group.
struct Extension {
    const char* Name;
    const char* ProgId;
    const char* GroupKey;
};
static const Extension kExtensions[] = {
    {".mvx", "Molvex", ".mvx"}, {".zip", "Molvex.ZIP", ".zip"}, {".cab", "Molvex", ".cab"},
    {".arj", "Molvex", ".arj"}, {".lzh", "Molvex", ".lzh"},     {".lha", "Molvex", ".lzh"},
    {".ace", "Molvex", ".ace"}, {".tar", "Molvex", ".tar"},     {".gz", "Molvex", ".gz"},
    {".tgz", "Molvex", ".gz"},  {".uue", "Molvex", ".uue"},     {".xxe", "Molvex", ".uue"},
    {".uu", "Molvex", ".uue"},  {".bz2", "Molvex", ".bz2"},     {".tbz2", "Molvex", ".bz2"},
    {".bz", "Molvex", ".bz2"},  {".tbz", "Molvex", ".bz2"},     {".jar", "Molvex", ".jar"},
    {".iso", "Molvex", ".iso"},
};

static std::string Str(HKEY root, const std::string& key, const char* name) {
    std::string text;
    if (!RegString(root, key.c_str(), name, &text))
        return "<missing>";
    return text;
}

static long Dword(HKEY root, const std::string& key, const char* name) {
    DWORD value = 0;
    if (!RegDword(root, key.c_str(), name, &value))
        return -1;
    return static_cast<long>(value);
}

static std::string UserKey(const std::string& subkey) {
    return std::string(kSettings) + "\\" + subkey;
}

static std::string InstallFolder(const char* name, bool withExtension) {
    std::string folder = FreshFolder(name);
    EXPECT_TRUE(CopyFileTo(Dist("uninstall.exe"), folder + "\\uninstall.exe"));
    if (withExtension) {
        EXPECT_TRUE(WriteFileBytes(folder + "\\mvxext.dll", "MZ"));
    }
    return folder;
}

static void RunSilentSetup(const std::string& folder) {
    EXPECT_EQ(Run("\"" + folder + "\\uninstall.exe\" /setup /s", folder, 60000), 0);
    setuptest::CloseExplorerWindows();
}

static void ClearShellRows() {
    RegRemoveTree(HKEY_CLASSES_ROOT, "CLSID\\" CLSID_TEXT);
    for (const HandlerKey& row : kHandlerKeys)
        RegRemoveTree(HKEY_CLASSES_ROOT, row.Key);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApproved, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, CLSID_TEXT);
        RegCloseKey(key);
    }
}

static void ExpectShellRegistered(const std::string& folder, bool withClass) {
    const std::string clsid = "CLSID\\" CLSID_TEXT;
    const std::string server = clsid + "\\InProcServer32";
    if (withClass) {
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, clsid, ""), "Molvex");
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, server, ""), folder + "\\mvxext.dll");
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, server, "ThreadingModel"), "Apartment");
    } else {
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, clsid.c_str()));
    }
    for (const HandlerKey& row : kHandlerKeys) {
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, row.Key, ""), row.Data) << row.Key;
        EXPECT_EQ(RegValueNames(HKEY_CLASSES_ROOT, row.Key).size(), 1u) << row.Key;
    }
    EXPECT_EQ(Str(HKEY_LOCAL_MACHINE, kApproved, CLSID_TEXT), "Molvex shell extension");
}

static void ExpectShellUnregistered() {
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "CLSID\\" CLSID_TEXT));
    for (const HandlerKey& row : kHandlerKeys) {
        EXPECT_EQ(RegKeyExists(HKEY_CLASSES_ROOT, row.Key), row.Shared) << row.Key;
        EXPECT_TRUE(RegValueNames(HKEY_CLASSES_ROOT, row.Key).empty()) << row.Key;
    }
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kApproved, CLSID_TEXT));
}

// Program groups: the user's, and on the NT family also the common one.
static std::vector<std::string> GroupFolders() {
    std::vector<std::string> groups = {SpecialFolder(CSIDL_PROGRAMS) + "\\Molvex"};
    if (!Family9x())
        groups.push_back(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Molvex");
    return groups;
}

static void ExpectLink(const std::string& link, const std::string& target) {
    LinkInfo info = ReadLink(link);
    ASSERT_TRUE(info.Loaded) << link;
    EXPECT_EQ(info.Target, target) << link;
    EXPECT_EQ(info.Description, "Molvex") << link;
    EXPECT_EQ(info.Arguments, "") << link;
    EXPECT_EQ(info.WorkingDirectory, "") << link;
    EXPECT_EQ(info.IconFile, "") << link;
    EXPECT_EQ(info.HotKey, 0) << link;
}

static void ExpectGroups(const std::string& folder, const std::string& helpName,
                         const std::string& manualName = Ansi("控制台 MVX 手册")) {
    const std::string manual = manualName + ".lnk";
    for (const std::string& group : GroupFolders()) {
        std::vector<std::string> expected = {"Molvex.lnk", helpName + ".lnk", manual};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FolderEntries(group), expected) << group;
        ExpectLink(group + "\\Molvex.lnk", folder + "\\Molvex.exe");
        ExpectLink(group + "\\" + helpName + ".lnk", folder + "\\Molvex.hlp");
        ExpectLink(group + "\\" + manual, folder + "\\Mvx.txt");
    }
    if (Family9x()) {
        EXPECT_FALSE(DirectoryExists(SpecialFolder(CSIDL_COMMON_PROGRAMS) + "\\Molvex"));
    }
}

// What an extension looked like before Molvex took it over.
struct Owner {
    bool Existed;
    std::string Type;
    std::string Content;
};

static std::map<std::string, Owner> ReadOwners() {
    std::map<std::string, Owner> owners;
    for (const Extension& e : kExtensions) {
        Owner& o = owners[e.Name];
        o.Existed = RegKeyExists(HKEY_CLASSES_ROOT, e.Name);
        if (!RegString(HKEY_CLASSES_ROOT, e.Name, "", &o.Type))
            o.Type.clear();
        if (!RegString(HKEY_CLASSES_ROOT, e.Name, "Content Type", &o.Content))
            o.Content.clear();
    }
    return owners;
}

static void ExpectAssociations(const std::string& folder,
                               const std::map<std::string, Owner>& owners) {
    for (const Extension& e : kExtensions) {
        const Owner& o = owners.at(e.Name);
        // ISO is not proposed while another program owns it.
        bool taken = strcmp(e.Name, ".iso") != 0 || o.Type.empty();
        if (!taken)
            continue;
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, e.Name, ""), e.ProgId) << e.Name;
        EXPECT_FALSE(RegValueExists(HKEY_CLASSES_ROOT, e.Name, "Content Type")) << e.Name;
        std::string backup = UserKey(std::string("Setup\\") + e.Name);
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, backup, "Exist"), o.Existed ? 1 : 0) << e.Name;
        EXPECT_EQ(Str(HKEY_CURRENT_USER, backup, "Type"), o.Type) << e.Name;
        EXPECT_EQ(Str(HKEY_CURRENT_USER, backup, "Content"), o.Content) << e.Name;
        EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, backup.c_str(), "ShellNew")) << e.Name;
    }
    int volumes = Family9x() ? 100 : 30;
    for (int j = 0; j < 100; j++) {
        char name[8];
        snprintf(name, sizeof(name), ".m%02d", j);
        if (j < volumes)
            EXPECT_EQ(Str(HKEY_CLASSES_ROOT, name, ""), "Molvex") << name;
        else
            EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, name)) << name;
    }
    // The archive template is checked by its signature and size; its header
    // belongs to the association code's own tests.
    struct Template {
        const char* Extension;
        const char* File;
        std::string Start;
        size_t Size;
    };
    const Template templates[] = {
        {".mvx", "mvxnew.dat", std::string("Mvx!\x1A\x07\x00", 7), 20},
        {".zip", "zipnew.dat", std::string("PK\x05\x06", 4) + std::string(18, '\0'), 22},
    };
    for (const Template& t : templates) {
        std::string shellNew = std::string(t.Extension) + "\\ShellNew";
        std::string path = folder + "\\" + t.File;
        std::string bytes;
        if (Family9x()) {
            DWORD type = 0;
            EXPECT_TRUE(RegRead(HKEY_CLASSES_ROOT, shellNew.c_str(), "Data", &type, &bytes));
            EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
            EXPECT_FALSE(FileExists(path));
        } else {
            EXPECT_EQ(Str(HKEY_CLASSES_ROOT, shellNew, "FileName"), path);
            EXPECT_TRUE(ReadFileBytes(path, &bytes));
        }
        EXPECT_EQ(bytes.size(), t.Size) << t.File;
        EXPECT_EQ(bytes.substr(0, t.Start.size()), t.Start) << t.File;
    }
    const std::string archiver = folder + "\\Molvex.exe";
    const std::string open = "\"" + archiver + "\" \"%1\"";
    struct ProgId {
        const char* Name;
        std::string Description;
        std::string Icon;
    };
    const ProgId progIds[] = {
        {"Molvex", Ansi("Molvex 档案文件"), archiver + ",0"},
        {"Molvex.ZIP", Ansi("Molvex ZIP 档案文件"), archiver + ",0"},
        {"Molvex.REV", Ansi("MVX 恢复卷"), archiver + ",1"},
    };
    for (const ProgId& p : progIds) {
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, p.Name, ""), p.Description) << p.Name;
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, std::string(p.Name) + "\\shell\\open\\command", ""), open);
        EXPECT_EQ(Str(HKEY_CLASSES_ROOT, std::string(p.Name) + "\\DefaultIcon", ""), p.Icon);
    }
    EXPECT_EQ(Str(HKEY_CLASSES_ROOT, ".rev", ""), "Molvex.REV");
}

// The seventeen stored choices of a new user, and nothing for ISO.
static void ExpectDefaultChoices(bool isoTaken) {
    for (const char* group :
         {".mvx", ".zip", ".cab", ".arj", ".lzh", ".ace", ".tar", ".gz", ".uue", ".bz2", ".jar"})
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, UserKey(std::string("Setup\\") + group), "Set"), 1)
            << group;
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, UserKey("Setup\\.iso").c_str(), "Set"));
    if (!isoTaken) {
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, UserKey("Setup\\.iso").c_str()));
    }
    struct Choice {
        const char* Key;
        const char* Name;
        long Value;
    };
    const Choice choices[] = {
        {"Setup\\Links", "Desktop", 0},  {"Setup\\Links", "StartMenu", 0},
        {"Setup\\Links", "Programs", 1}, {"Setup", "ShellExt", 1},
        {"Setup", "CascadedMenu", 0},    {"Setup", "MenuIcons", 1},
    };
    for (const Choice& c : choices)
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, UserKey(c.Key), c.Name), c.Value) << c.Name;
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, UserKey("Setup\\MenuItems").c_str()));
}

static void ExpectSystemEntries(const std::string& folder) {
    EXPECT_EQ(Str(HKEY_LOCAL_MACHINE, kAppPath, ""), folder + "\\Molvex.exe");
    EXPECT_EQ(Str(HKEY_LOCAL_MACHINE, kAppPath, "Path"), folder);
    EXPECT_EQ(Str(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName"), Ansi("Molvex 压缩专家"));
    // Blanks and all, without quotes.
    EXPECT_EQ(Str(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString"), folder + "\\uninstall.exe");
}

// Every value below the keys setup writes, as one text, for "same state" checks.
static void DumpKey(HKEY root, const std::string& key, std::string* out) {
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return;
    RegCloseKey(k);
    for (const std::string& name : RegValueNames(root, key.c_str())) {
        DWORD type = 0;
        std::string data;
        RegRead(root, key.c_str(), name.c_str(), &type, &data);
        *out += key + "|" + name + "|" + std::to_string(type) + "|" + data + "\n";
    }
    for (const std::string& child : RegSubkeyNames(root, key.c_str()))
        DumpKey(root, key + "\\" + child, out);
}

static std::string IntegrationState() {
    std::string out;
    DumpKey(HKEY_CURRENT_USER, kSettings, &out);
    DumpKey(HKEY_LOCAL_MACHINE, kAppPath, &out);
    DumpKey(HKEY_LOCAL_MACHINE, kUninstall, &out);
    DumpKey(HKEY_LOCAL_MACHINE, kApproved, &out);
    for (const char* key : {"CLSID\\" CLSID_TEXT, "Molvex", "Molvex.ZIP", "Molvex.REV", ".rev"})
        DumpKey(HKEY_CLASSES_ROOT, key, &out);
    for (const HandlerKey& row : kHandlerKeys)
        DumpKey(HKEY_CLASSES_ROOT, row.Key, &out);
    for (const Extension& e : kExtensions)
        DumpKey(HKEY_CLASSES_ROOT, e.Name, &out);
    for (const std::string& group : GroupFolders()) {
        for (const std::string& name : FolderEntries(group))
            out += group + "\\" + name + "\n";
    }
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU}) {
        for (const std::string& name : FolderEntries(SpecialFolder(csidl)))
            out += std::to_string(csidl) + "\\" + name + "\n";
    }
    return out;
}

class Setup : public ::testing::Test {
  protected:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};

TEST_F(Setup, SilentSetupOfNewUserWritesEverything) {
    ASSERT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSettings));
    std::map<std::string, Owner> owners = ReadOwners();
    std::string folder = InstallFolder("Molvex Setup", true);
    RunSilentSetup(folder);

    ExpectShellRegistered(folder, true);
    ExpectSystemEntries(folder);
    ExpectDefaultChoices(owners[".iso"].Type.empty());
    ExpectAssociations(folder, owners);
    ExpectGroups(folder, Ansi("Molvex 帮助"));
    EXPECT_FALSE(FileExists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Molvex.lnk"));
    EXPECT_FALSE(FileExists(SpecialFolder(CSIDL_STARTMENU) + "\\Molvex.lnk"));
}

TEST_F(Setup, SecondRunLeavesTheSameState) {
    std::string folder = InstallFolder("Molvex Again", true);
    RunSilentSetup(folder);
    std::string first = IntegrationState();
    RunSilentSetup(folder);
    EXPECT_EQ(IntegrationState(), first);
    ExpectGroups(folder, Ansi("Molvex 帮助"));
}

TEST_F(Setup, WithoutExtensionLibraryOnlyTheHandlersAreWritten) {
    ClearShellRows();
    std::string folder = InstallFolder("Molvex NoExt", false);
    RunSilentSetup(folder);
    ExpectShellRegistered(folder, false);
}

TEST_F(Setup, ClearedChoicesTakeEverythingBack) {
    std::string folder = InstallFolder("Molvex Clear", true);
    RegPutDword(HKEY_CURRENT_USER, UserKey("Setup\\Links").c_str(), "Desktop", 1);
    RegPutDword(HKEY_CURRENT_USER, UserKey("Setup\\Links").c_str(), "StartMenu", 1);
    RunSilentSetup(folder);
    const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Molvex.lnk";
    const std::string startMenu = SpecialFolder(CSIDL_STARTMENU) + "\\Molvex.lnk";
    ExpectLink(desktop, folder + "\\Molvex.exe");
    ExpectLink(startMenu, folder + "\\Molvex.exe");
    for (const std::string& group : GroupFolders()) {
        CreateDirectoryA((group + "\\Extras").c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(group + "\\Extras\\notes.txt", "mine"));
    }

    for (const char* name : {"Desktop", "StartMenu", "Programs"})
        RegPutDword(HKEY_CURRENT_USER, UserKey("Setup\\Links").c_str(), name, 0);
    RegPutDword(HKEY_CURRENT_USER, UserKey("Setup").c_str(), "ShellExt", 0);
    RunSilentSetup(folder);

    ExpectShellUnregistered();
    EXPECT_FALSE(FileExists(desktop));
    EXPECT_FALSE(FileExists(startMenu));
    for (const std::string& group : GroupFolders())
        EXPECT_FALSE(DirectoryExists(group)) << group;
    // The App Paths and uninstall entries are written by every setup.
    ExpectSystemEntries(folder);
}

// CRC-32 key of a message text, as a language file writes it.
static std::string MessageKey(const std::string& text) {
    std::string bytes = "s" + text;
    unsigned crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    char key[9];
    snprintf(key, sizeof(key), "%08x", ~crc);
    return key;
}

TEST_F(Setup, TranslatedMessagesNameTheHelpLinkAndTheEntry) {
    RegPutDword(HKEY_CURRENT_USER, UserKey("Setup\\Links").c_str(), "Programs", 1);
    std::string folder = InstallFolder("Molvex Lng", true);
    const std::string help = Ansi("Molvex 帮助文件");
    const std::string display = Ansi("Molvex 压缩专家 (测试)");
    // A name is a file name: separators and colons cannot lead out of the group.
    const std::string manual = Ansi("C:\\控制台/MVX 手册");
    std::string file = "Translation for the setup tests\r\n***messages***\r\n" +
                       MessageKey(Ansi("Molvex 帮助")) + "=\"" + help + "\"\r\n" +
                       MessageKey(Ansi("Molvex 压缩专家")) + "=\"" + display + "\"\r\n" +
                       MessageKey(Ansi("控制台 MVX 手册")) + "=\"" + manual + "\"\r\n";
    ASSERT_TRUE(WriteFileBytes(folder + "\\uninstall.lng", file));
    RunSilentSetup(folder);
    ExpectGroups(folder, help, Ansi("C__控制台_MVX 手册"));
    EXPECT_EQ(Str(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName"), display);
}

TEST_F(Setup, CreateShortcutSavesOnlyTargetAndDescription) {
    std::string folder = FreshFolder("links");
    std::string link = folder + "\\a.lnk";
    ASSERT_TRUE(CreateShortcut("C:\\nowhere\\x.exe", link.c_str(), "Molvex", nullptr, nullptr));
    ExpectLink(link, "C:\\nowhere\\x.exe");
    // An existing link is overwritten in place.
    ASSERT_TRUE(CreateShortcut("C:\\nowhere\\y.exe", link.c_str(), "Molvex", nullptr, nullptr));
    ExpectLink(link, "C:\\nowhere\\y.exe");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"a.lnk"});

    ASSERT_TRUE(CreateShortcut("C:\\x.exe", link.c_str(), "d", "/a b", "C:\\i.ico"));
    LinkInfo info = ReadLink(link);
    EXPECT_EQ(info.Arguments, "/a b");
    EXPECT_EQ(info.IconFile, "C:\\i.ico");

    EXPECT_FALSE(CreateShortcut("C:\\x.exe", (folder + "\\missing\\b.lnk").c_str(), "Molvex",
                                nullptr, nullptr));
    // 260 wide characters with the terminator do not fit the conversion.
    std::string longLink = folder + "\\" + std::string(300 - folder.size(), 'n') + ".lnk";
    EXPECT_FALSE(CreateShortcut("C:\\x.exe", longLink.c_str(), "Molvex", nullptr, nullptr));
}

TEST_F(Setup, RemoveFolderDeletesEverythingBelowIt) {
    std::string folder = FreshFolder("remove");
    CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(folder + "\\sub\\f.txt", "x"));
    ASSERT_TRUE(WriteFileBytes(folder + "\\g.txt", "y"));

    // No room for the closing second zero: refused, nothing deleted.
    std::vector<char> tight(folder.begin(), folder.end());
    tight.push_back(0);
    EXPECT_FALSE(RemoveFolder(tight.data(), tight.size()));
    EXPECT_TRUE(FileExists(folder + "\\sub\\f.txt"));

    char path[1024];
    snprintf(path, sizeof(path), "%s", folder.c_str());
    EXPECT_TRUE(RemoveFolder(path, sizeof(path)));
    EXPECT_FALSE(DirectoryExists(folder));
    snprintf(path, sizeof(path), "%s", folder.c_str());
    EXPECT_FALSE(RemoveFolder(path, sizeof(path)));
}

TEST_F(Setup, GroupPathIsHandedBackOnlyWhenTheGroupIsChosen) {
    char desktop[MAX_PATH];
    ASSERT_TRUE(GetDesktopFolder(desktop, sizeof(desktop)));
    EXPECT_EQ(std::string(desktop), SpecialFolder(CSIDL_DESKTOPDIRECTORY));

    const std::string userGroup = SpecialFolder(CSIDL_PROGRAMS) + "\\Molvex";
    IntegrationSettings settings = {};
    settings.CreateProgramGroup = 1;
    char buffer[1024] = "earlier";
    ApplyShortcuts(&settings, buffer);
    EXPECT_EQ(std::string(buffer), userGroup);
    EXPECT_TRUE(DirectoryExists(userGroup));

    settings.CreateProgramGroup = 0;
    snprintf(buffer, sizeof(buffer), "earlier");
    ApplyShortcuts(&settings, buffer);
    EXPECT_STREQ(buffer, "earlier");
    EXPECT_FALSE(DirectoryExists(userGroup));

    buffer[0] = 0;
    ApplyShortcuts(&settings, buffer);
    EXPECT_STREQ(buffer, "");

    // The uninstallation passes no buffer at all.
    settings.CreateProgramGroup = 1;
    ApplyShortcuts(&settings, nullptr);
    EXPECT_TRUE(DirectoryExists(userGroup));
    settings = {};
    ApplyShortcuts(&settings, nullptr);
    for (const std::string& group : GroupFolders())
        EXPECT_FALSE(DirectoryExists(group)) << group;
}

TEST_F(Setup, UnregisteringWhatWasNeverRegisteredCreatesNothing) {
    ClearShellRows();
    IntegrationSettings settings = {};
    ApplyShellExtension(&settings);
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "CLSID\\" CLSID_TEXT));
    for (const HandlerKey& row : kHandlerKeys)
        EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, row.Key)) << row.Key;
}

// Both dialogs carry the program icon; the completion dialog's closing line
// has the bold font. Created here, in this process, to ask them directly.
TEST_F(Setup, DialogsCarryTheIconAndTheBoldFont) {
    HMODULE richEdit = LoadLibraryA("riched32.dll");
    ASSERT_TRUE(richEdit);
    g_ResourceModule = g_ProgramInstance = GetModuleHandleA(nullptr);
    g_ProgramIcon = LoadIconA(g_ResourceModule, "MVXICON");
    ASSERT_TRUE(g_ProgramIcon);
    g_BoldFont = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "\xCB\xCE\xCC\xE5");
    struct Case {
        const char* Name;
        DLGPROC Procedure;
    };
    for (const Case& c : {Case{"SETUPDLG", SetupDialogProc}, Case{"DONEDLG", DoneDialogProc}}) {
        HWND dialog = CreateDialogParamA(g_ResourceModule, c.Name, nullptr, c.Procedure, 0);
        ASSERT_TRUE(dialog) << c.Name;
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)),
                  g_ProgramIcon)
            << c.Name;
        if (c.Procedure == DoneDialogProc) {
            EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, 5107, WM_GETFONT, 0, 0)),
                      g_BoldFont);
        }
        DestroyWindow(dialog);
    }
    DeleteObject(g_BoldFont);
    FreeLibrary(richEdit);
}
