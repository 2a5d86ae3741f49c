#include "roundtrip.h"
#include "snapshot.h"

#include "fixture.h"
#include "setup/links.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

using setuptest::SpecialFolder;
using testutil::RegPutDword;
using testutil::RegPutString;

namespace roundtrip {
namespace {

const char kFolder[] = "C:\\Program Files\\Molvex";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Molvex archiver";
const DWORD kRemovalWait = 30000;
const DWORD kExplorerWait = 15000;

// Everything setup and uninstall may touch in the registry.
struct Tree {
    HKEY Root;
    const char* RootName;
    const char* Path;
};
const Tree kTrees[] = {
    {HKEY_CLASSES_ROOT, "HKCR", ""},
    {HKEY_LOCAL_MACHINE, "HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths"},
    {HKEY_LOCAL_MACHINE, "HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {HKEY_LOCAL_MACHINE, "HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions"},
    {HKEY_CURRENT_USER, "HKCU", "Software"},
};

// The user's and the common shell folders that links go to, and the
// folder the installation lives in.
const int kFolders[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_COMMON_DESKTOPDIRECTORY,
                        CSIDL_COMMON_STARTMENU, CSIDL_PROGRAM_FILES};

Snapshot Record() {
    Snapshot s;
    for (const Tree& t : kTrees)
        RecordTree(t.Root, t.RootName, t.Path, &s);
    for (int csidl : kFolders) {
        std::string folder = SpecialFolder(csidl);
        EXPECT_FALSE(folder.empty()) << csidl;
        if (!folder.empty())
            RecordFolder(folder, "csidl" + std::to_string(csidl), &s);
    }
    return s;
}

// The handler keys of the shell extension below the shell's common classes.
const char* const kSharedHandlerKeys[] = {
    "HKCR\\*\\shellex\\ContextMenuHandlers\\Molvex",
    "HKCR\\Folder\\shellex\\ContextMenuHandlers\\Molvex",
    "HKCR\\Folder\\shellex\\DragDropHandlers\\Molvex",
    "HKCR\\Drive\\shellex\\DragDropHandlers\\Molvex",
    "HKCR\\Directory\\shellex\\ContextMenuHandlers\\Molvex",
    "HKCR\\Directory\\shellex\\DragDropHandlers\\Molvex",
};
const char kExeHandlersKey[] = "HKCR\\exefile\\shellex\\PropertySheetHandlers";

// An added key that is `key` or one of its parents.
bool IsKeyOrParent(const Difference& d, const char* key) {
    std::string k = Lower(key);
    return d.Kind == Change::KeyAdded &&
           (d.Path == k || k.compare(0, d.Path.size() + 1, d.Path + "\\") == 0);
}

// What uninstalling leaves behind by design. Any other difference from the
// recorded state is a fault.
bool IsResidue(const Difference& d, const Variant& v, const Snapshot& after) {
    if (v.Shell) {
        // Unregistering the shell extension only empties these handler
        // keys, since other programs' handlers live beside ours there; they
        // stay, and with them the parents that setup created.
        for (const char* key : kSharedHandlerKeys) {
            if (IsKeyOrParent(d, key))
                return true;
        }
        // The executables' handler key is deleted as a single key; the
        // parents that setup created for it stay.
        if (IsKeyOrParent(d, kExeHandlersKey))
            return true;
    }
    if (v.TakesGz && d.Kind == Change::ValueAdded && d.Path == "hkcr\\.gz" && d.Value.empty()) {
        // ".gz" existed without a default value. Its owner comes back from
        // a backup that cannot tell "none" from "empty", so the extension
        // gets an empty default value.
        const ValueState& value = after.Keys.at(d.Path).Values.at("");
        return value.Type == REG_SZ && value.Data == std::string(1, '\0');
    }
    return false;
}

struct ExplorerSearch {
    HWND Found;
};

BOOL CALLBACK FindExplorer(HWND window, LPARAM lp) {
    char name[64];
    GetClassNameA(window, name, sizeof(name));
    if (IsWindowVisible(window) &&
        (strcmp(name, "ExplorerWClass") == 0 || strcmp(name, "CabinetWClass") == 0)) {
        reinterpret_cast<ExplorerSearch*>(lp)->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForExplorer(DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        ExplorerSearch search = {nullptr};
        EnumWindows(FindExplorer, reinterpret_cast<LPARAM>(&search));
        if (search.Found || GetTickCount() - start > timeoutMs)
            return search.Found;
        Sleep(100);
    }
}

void CloseExplorer() {
    DWORD start = GetTickCount();
    while (WaitForExplorer(0) && GetTickCount() - start < kExplorerWait) {
        setuptest::CloseExplorerWindows();
        Sleep(200);
    }
    EXPECT_EQ(WaitForExplorer(0), nullptr) << "the shell window stayed open";
}

// A prefix that other programs and the user have lived in: ".zip" with its
// owner, content type and New-menu entry, ".iso" and ".cab" with theirs,
// ".gz" without an owner, no ".tar" or ".mvx", settings of other programs, and the user's files in
// the shell folders and beside the installation.
void MakeLivedIn() {
    RegPutString(HKEY_CLASSES_ROOT, ".zip", "", "Zipper.Archive");
    RegPutString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-zip-compressed");
    RegPutString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile", "");
    RegPutString(HKEY_CLASSES_ROOT, ".zip\\OpenWithProgids", "Zipper.Archive", "");
    RegPutString(HKEY_CLASSES_ROOT, "Zipper.Archive", "", "Zipper archive");
    RegPutString(HKEY_CLASSES_ROOT, "Zipper.Archive\\shell\\open\\command", "",
                 "\"C:\\Program Files\\Zipper\\zipper.exe\" \"%1\"");
    RegPutString(HKEY_CLASSES_ROOT, ".iso", "", "Burner.Image");
    RegPutString(HKEY_CLASSES_ROOT, ".iso", "Content Type", "application/x-iso9660-image");
    RegPutString(HKEY_CLASSES_ROOT, ".cab", "", "CabView.Cabinet");
    RegPutString(HKEY_CLASSES_ROOT, ".cab", "Content Type", "application/vnd.ms-cab-compressed");
    // Known to the shell through another program's list, without an owner.
    testutil::RegRemoveTree(HKEY_CLASSES_ROOT, ".gz");
    RegPutString(HKEY_CLASSES_ROOT, ".gz\\OpenWithProgids", "Zipper.Archive", "");
    for (const char* absent : {".tar", ".mvx", ".rev"})
        testutil::RegRemoveTree(HKEY_CLASSES_ROOT, absent);
    // A name that begins like the settings root but is another program's.
    RegPutDword(HKEY_CURRENT_USER, "Software\\Molvex Tools", "Version", 3);
    RegPutString(HKEY_CURRENT_USER, "Software\\Contoso\\Notes", "LastFile", "C:\\notes.txt");

    const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string programs = SpecialFolder(CSIDL_PROGRAMS);
    const std::string common = SpecialFolder(CSIDL_COMMON_PROGRAMS);
    CreateDirectoryA((programs + "\\Contoso").c_str(), nullptr);
    CreateDirectoryA((common + "\\Zipper").c_str(), nullptr);
    CreateDirectoryA("C:\\Program Files\\Molvex Tools", nullptr);
    struct UserFile {
        std::string Path;
        const char* Bytes;
    };
    const UserFile files[] = {
        {desktop + "\\notes.txt", "my notes\r\n"},
        {desktop + "\\holiday.zip", "PK\x05\x06 not really"},
        {programs + "\\readme.txt", "read me\r\n"},
        {programs + "\\Contoso\\Contoso Notes.lnk", "not a real link"},
        {common + "\\Zipper\\Zipper.lnk", "not a real link either"},
        {"C:\\Program Files\\Molvex Tools\\tools.txt", "another program's file"},
    };
    for (const UserFile& f : files)
        ASSERT_TRUE(testutil::WriteFileBytes(f.Path, f.Bytes)) << f.Path;
    // The user has browsed folders before, so the shell's own settings
    // exist already and opening the program group adds none.
    ShellExecuteA(nullptr, "open", programs.c_str(), nullptr, "", SW_SHOWNORMAL);
    ASSERT_TRUE(WaitForExplorer(kExplorerWait)) << "no shell window";
    CloseExplorer();
}

// What the installer puts into the program folder, and its file list,
// which names every file and folder but the program itself (the removal
// script takes that) and includes the two template files setup may write.
void LayOut() {
    testutil::RemoveTree(kFolder);
    fixture::InstallIn(kFolder, true);
    const std::string folder = kFolder;
    fixture::MakeFolder(folder + "\\Formats");
    for (const char* name : {"Molvex.exe", "mvxext.dll", "Molvex.hlp", "Mvx.txt", "license.txt",
                             "order.txt", "Formats\\zip.fmt", "Formats\\tar.fmt"})
        fixture::MakeFile(folder + "\\" + name);
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", "Formats\r\n"
                                                                     "Formats\\zip.fmt\r\n"
                                                                     "Formats\\tar.fmt\r\n"
                                                                     "Molvex.exe\r\n"
                                                                     "mvxext.dll\r\n"
                                                                     "mvxlng.dll\r\n"
                                                                     "Molvex.hlp\r\n"
                                                                     "Mvx.txt\r\n"
                                                                     "license.txt\r\n"
                                                                     "order.txt\r\n"
                                                                     "mvxnew.dat\r\n"
                                                                     "zipnew.dat\r\n"));
}

// A silent setup with a program group opens it in the shell once it has
// ended; without one nothing is opened.
void RunSilentSetup(bool opensGroup) {
    const std::string program = std::string(kFolder) + "\\uninstall.exe";
    ASSERT_EQ(testutil::Run("\"" + program + "\" /setup /s", kFolder, 60000), 0);
    if (!opensGroup) {
        EXPECT_EQ(WaitForExplorer(3000), nullptr) << "a folder was opened";
        return;
    }
    HWND explorer = WaitForExplorer(kExplorerWait);
    EXPECT_TRUE(explorer) << "the program group was not opened";
    // Closed before anything else happens, so that no window holds on to
    // the group folder while it is removed.
    CloseExplorer();
}

// Starts the uninstaller as Add/Remove Programs does, with the command
// setup registered (or by its path when setup never ran), and answers its
// question with Yes.
void Uninstall(bool registered) {
    const std::string program = std::string(kFolder) + "\\uninstall.exe";
    std::string command = "\"" + program + "\"";
    if (registered) {
        ASSERT_TRUE(
            testutil::RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", &command));
        EXPECT_EQ(command, program);
    }
    testutil::Process p = testutil::Start(command, "C:\\");
    ASSERT_TRUE(p.Handle) << command;
    HWND box = testutil::WaitForWindow("#32770", nullptr, fixture::kWindowWait, p.Id);
    ASSERT_TRUE(box) << "no confirmation";
    ASSERT_TRUE(GetDlgItem(box, IDYES));
    testutil::PressButton(box, IDYES);
    EXPECT_EQ(fixture::Finish(p), 0);
}

void ExpectSetUp(const Variant& v) {
    std::string text;
    EXPECT_TRUE(testutil::RegString(HKEY_CLASSES_ROOT, ".mvx", "", &text) && text == "Molvex");
    EXPECT_TRUE(testutil::RegString(HKEY_CLASSES_ROOT, ".zip", "", &text));
    EXPECT_EQ(text, v.TakesZip ? "Molvex.ZIP" : "Zipper.Archive");
    EXPECT_TRUE(testutil::RegString(HKEY_CLASSES_ROOT, ".iso", "", &text) &&
                text == "Burner.Image");
    EXPECT_EQ(testutil::DirectoryExists(SpecialFolder(CSIDL_PROGRAMS) + "\\Molvex"),
              v.ProgramGroup);
    EXPECT_EQ(testutil::FileExists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Molvex.lnk"),
              v.SingleLinks);
    EXPECT_EQ(
        testutil::RegValueExists(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Molvex", ""),
        v.Shell);
}

// Nothing of Molvex may be there before setup, or a leftover of an earlier
// round trip in the same prefix would hide in the recorded state.
void ExpectNoMolvex() {
    const char* const classes[] = {"Molvex",     "Molvex.ZIP",
                                   "Molvex.REV", ".mvx",
                                   ".m00",       "CLSID\\{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}"};
    for (const char* key : classes)
        EXPECT_FALSE(testutil::RegKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_FALSE(testutil::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(testutil::RegKeyExists(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Molvex.exe"));
    EXPECT_FALSE(testutil::RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
        EXPECT_FALSE(testutil::DirectoryExists(SpecialFolder(csidl) + "\\Molvex")) << csidl;
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU})
        EXPECT_FALSE(testutil::FileExists(SpecialFolder(csidl) + "\\Molvex.lnk")) << csidl;
}

// Records another program's value in the expected state as well.
void PutForeignValue(const ForeignValue& f, Snapshot* expected) {
    RegPutString(HKEY_CLASSES_ROOT, f.Key, f.Name, f.Text);
    std::string path = std::string("HKCR\\") + f.Key;
    KeyState& key = expected->Keys[Lower(path)];
    if (key.Path.empty())
        key.Path = path;
    ValueState& value = key.Values[Lower(f.Name)];
    value.Name = f.Name;
    value.Type = REG_SZ;
    value.Data = std::string(f.Text) + std::string(1, '\0');
}

struct OleScope {
    OleScope() { OleInitialize(nullptr); }
    ~OleScope() { OleUninitialize(); }
};

} // namespace

void RoundTrip(const Variant& v) {
    OleScope ole;
    ExpectNoMolvex();
    if (::testing::Test::HasFailure())
        return;
    ASSERT_NO_FATAL_FAILURE(MakeLivedIn());
    Snapshot expected = Record();
    ASSERT_FALSE(expected.Keys.empty());

    ASSERT_NO_FATAL_FAILURE(LayOut());
    for (const Choice& c : v.Choices)
        RegPutDword(HKEY_CURRENT_USER, (std::string("Software\\Molvex\\") + c.Key).c_str(), c.Name,
                    c.Value);
    for (int run = 0; run < v.SetupRuns; run++)
        ASSERT_NO_FATAL_FAILURE(RunSilentSetup(v.ProgramGroup));
    if (v.SetupRuns > 0)
        ExpectSetUp(v);
    for (const ForeignValue& f : v.AfterSetup)
        PutForeignValue(f, &expected);

    fixture::RemoveScript();
    {
        // Wine's interpreter cannot run the 9x script: it hangs on the first
        // line's "start /wait". So there the interpreter is kept from
        // starting, and the script stays behind with the program file.
        std::optional<fixture::ScopedEnvironment> comspec;
        if (testutil::Family9x())
            comspec.emplace("COMSPEC", fixture::kMissingInterpreter);
        ASSERT_NO_FATAL_FAILURE(Uninstall(v.SetupRuns > 0));
    }
    const std::string folder = kFolder;
    if (testutil::Family9x()) {
        EXPECT_EQ(setuptest::FolderEntries(folder), std::vector<std::string>{"uninstall.exe"});
        std::string script;
        EXPECT_TRUE(testutil::ReadFileBytes(fixture::ScriptPath(), &script));
        EXPECT_EQ(script, fixture::ExpectedScript(true, folder + "\\uninstall.exe", folder,
                                                  fixture::ScriptPath()));
        EXPECT_TRUE(testutil::RemoveTree(folder));
        fixture::RemoveScript();
    } else {
        EXPECT_TRUE(fixture::WaitUntilGone({folder, fixture::ScriptPath()}, kRemovalWait))
            << "the program folder or the script stayed";
    }

    const Snapshot after = Record();
    for (const Difference& d : Compare(expected, after)) {
        if (!IsResidue(d, v, after))
            ADD_FAILURE() << d.Text;
    }

    // The file types another program owns are its own again, down to the
    // New-menu entry; the shared handler keys are left empty.
    std::string text;
    EXPECT_TRUE(testutil::RegString(HKEY_CLASSES_ROOT, ".zip", "", &text) &&
                text == "Zipper.Archive");
    EXPECT_TRUE(testutil::RegString(HKEY_CLASSES_ROOT, ".zip", "Content Type", &text) &&
                text == "application/x-zip-compressed");
    EXPECT_EQ(testutil::RegValueNames(HKEY_CLASSES_ROOT, ".zip\\ShellNew"),
              std::vector<std::string>{"NullFile"});
    DWORD type = 0;
    EXPECT_EQ(testutil::RegRead(HKEY_CLASSES_ROOT, ".gz", "", &type, &text), v.TakesGz);
    for (const char* residue : kSharedHandlerKeys) {
        std::string key = std::string(residue).substr(5);
        if (v.Shell) {
            EXPECT_TRUE(testutil::RegKeyExists(HKEY_CLASSES_ROOT, key.c_str())) << key;
        }
        EXPECT_TRUE(testutil::RegValueNames(HKEY_CLASSES_ROOT, key.c_str()).empty()) << key;
    }
}

} // namespace roundtrip
