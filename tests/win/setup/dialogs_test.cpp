// Works the setup, context-menu items and completion dialogs of the real
// program as a user would, from this second process.
#include "links.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

using namespace testutil;
using setuptest::SpecialFolder;

static const char* const kMenuItems[] = {
    "ExtrTo", "ExtrHere", "Extr", "ExtrSep", "OpenSFX", "AddTo", "AddArc", "EmailArc", "EmailOpt",
};
static const char kMenuItemsKey[] = "Software\\Molvex\\Setup\\MenuItems";
static const char kAppPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Molvex.exe";
static const char kUninstall[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Molvex archiver";
static const char kClassKey[] = "CLSID\\{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}";

static bool Checked(HWND dialog, int id) {
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
static bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}
// A real click on a check box: the box toggles itself and tells the dialog.
static void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
// For buttons that open a modal dialog, which would block a sent click.
static void ClickLater(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
static void PressEscape(HWND dialog) {
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

static bool WaitGone(HWND window, DWORD ms) {
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(50);
    }
    return true;
}

struct DialogSearch {
    std::string Caption;
    DWORD Pid;
    HWND Except;
    HWND Found;
};

static BOOL CALLBACK FindDialog(HWND window, LPARAM lParam) {
    DialogSearch* s = reinterpret_cast<DialogSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64];
    GetClassNameA(window, name, sizeof(name));
    if (window != s->Except && pid == s->Pid && IsWindowVisible(window) &&
        strcmp(name, "#32770") == 0 && WindowText(window) == s->Caption) {
        s->Found = window;
        return FALSE;
    }
    return TRUE;
}

// A dialog of the program with this caption, other than `except`.
static HWND WaitForDialog(const char* captionUtf8, DWORD pid, HWND except = nullptr) {
    DialogSearch search = {Ansi(captionUtf8), pid, except, nullptr};
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50)) {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.Found)
            return search.Found;
    }
    return nullptr;
}

static BOOL CALLBACK ListWindow(HWND window, LPARAM lParam) {
    char name[256];
    GetClassNameA(window, name, sizeof(name));
    if (IsWindowVisible(window))
        *reinterpret_cast<std::string*>(lParam) +=
            std::string(name) + ": " + WindowText(window) + "\n";
    return TRUE;
}

// The visible top-level windows, to explain a window that did not appear.
static std::string TopWindows() {
    std::string list;
    EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

// What the archiver's stand-in recorded, once it has run; "" after 10 s.
static std::string WaitStarted() {
    std::string started;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(100)) {
        if (ReadFileBytes("C:\\mvxtest\\started.txt", &started) && !started.empty())
            break;
    }
    DeleteFileA("C:\\mvxtest\\started.txt");
    return started;
}

static std::string InstallFolder(const char* name) {
    std::string folder = FreshFolder(name);
    EXPECT_TRUE(CopyFileTo(Dist("uninstall.exe"), folder + "\\uninstall.exe"));
    return folder;
}

static Process StartSetup(const std::string& folder) {
    return Start("\"" + folder + "\\uninstall.exe\" /setup", folder);
}

static long Dword(HKEY root, const std::string& key, const char* name) {
    DWORD value = 0;
    return RegDword(root, key.c_str(), name, &value) ? static_cast<long>(value) : -1;
}

// The nine stored items, 1 unless listed in `cleared`; exactly these values.
static void ExpectMenuItems(std::initializer_list<const char*> cleared) {
    std::vector<std::string> names = RegValueNames(HKEY_CURRENT_USER, kMenuItemsKey);
    std::vector<std::string> expected(std::begin(kMenuItems), std::end(kMenuItems));
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    for (const char* item : kMenuItems) {
        bool off = std::find_if(cleared.begin(), cleared.end(), [&](const char* c) {
                       return strcmp(c, item) == 0;
                   }) != cleared.end();
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, kMenuItemsKey, item), off ? 0 : 1) << item;
    }
}

static HWND OpenContextItems(HWND setup, DWORD pid) {
    ClickLater(setup, 5121);
    HWND items = WaitForDialog("关联菜单项目", pid);
    if (items) {
        EXPECT_EQ(GetWindow(items, GW_OWNER), setup);
        EXPECT_FALSE(IsWindowEnabled(setup));
    }
    return items;
}

TEST(SetupDialogs, CancelStoresOnlyConfirmedMenuItems) {
    std::string folder = InstallFolder("Cancel");
    Process p = StartSetup(folder);
    HWND setup = WaitForDialog("Molvex 安装", p.Id);
    ASSERT_TRUE(setup);

    HWND items = OpenContextItems(setup, p.Id);
    ASSERT_TRUE(items) << TopWindows();
    for (int id = 101; id <= 109; id++)
        EXPECT_TRUE(Checked(items, id)) << id;
    Click(items, 103);
    PressButton(items, IDOK);
    ASSERT_TRUE(WaitGone(items, 5000));
    ExpectMenuItems({"Extr"});

    PressEscape(setup);
    DWORD code = 1;
    ASSERT_TRUE(Wait(p, 10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup"),
              std::vector<std::string>{"MenuItems"});
    EXPECT_TRUE(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup").empty());
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kAppPath));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstall));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "Molvex"));
    std::string owner;
    EXPECT_FALSE(RegString(HKEY_CLASSES_ROOT, ".mvx", "", &owner) && owner == "Molvex");
    EXPECT_FALSE(DirectoryExists(SpecialFolder(CSIDL_PROGRAMS) + "\\Molvex"));
}

TEST(SetupDialogs, ChoicesAreWorkedStoredAndApplied) {
    RegRemoveTree(HKEY_CURRENT_USER, "Software\\Molvex");
    std::string folder = InstallFolder("Worked");
    ASSERT_TRUE(
        CopyFileTo(Build("tests\\win\\setup\\mvx_stub_molvex.exe"), folder + "\\Molvex.exe"));
    ASSERT_TRUE(WriteFileBytes(folder + "\\license.txt", "Molvex licence\r\n"));
    ASSERT_TRUE(WriteFileBytes(folder + "\\order.txt", "Molvex prices\r\n"));
    DeleteFileA("C:\\mvxtest\\started.txt");
    std::string iso;
    bool isoFree = !RegString(HKEY_CLASSES_ROOT, ".iso", "", &iso) || iso.empty();

    Process p = StartSetup(folder);
    HWND setup = WaitForDialog("Molvex 安装", p.Id);
    ASSERT_TRUE(setup);

    // A new user's proposal.
    for (int id = 5101; id <= 5111; id++)
        EXPECT_TRUE(Checked(setup, id)) << id;
    EXPECT_EQ(Checked(setup, 5112), isoFree);
    const bool initial[] = {false, false, true, true, false, true}; // 5113-5118
    for (int k = 0; k < 6; k++)
        EXPECT_EQ(Checked(setup, 5113 + k), initial[k]) << 5113 + k;
    EXPECT_TRUE(Enabled(setup, 5117));
    EXPECT_TRUE(Enabled(setup, 5118));

    // The description box has the colour of the dialog face.
    RECT box;
    GetWindowRect(GetDlgItem(setup, 5120), &box);
    HDC screen = GetDC(nullptr);
    COLORREF pixel = GetPixel(screen, box.left + 3, box.bottom - 3);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixel, GetSysColor(COLOR_BTNFACE));

    // Select all checks the twelve group boxes and nothing else.
    Click(setup, 5103);
    Click(setup, 5112);
    Click(setup, 5113);
    Click(setup, 5119);
    for (int id = 5101; id <= 5112; id++)
        EXPECT_TRUE(Checked(setup, id)) << id;
    const bool afterSelect[] = {true, false, true, true, false, true};
    for (int k = 0; k < 6; k++)
        EXPECT_EQ(Checked(setup, 5113 + k), afterSelect[k]) << 5113 + k;

    // 5116 only enables or disables 5117 and 5118; their marks stay.
    Click(setup, 5116);
    EXPECT_FALSE(Checked(setup, 5116));
    EXPECT_FALSE(Enabled(setup, 5117));
    EXPECT_FALSE(Enabled(setup, 5118));
    EXPECT_FALSE(Checked(setup, 5117));
    EXPECT_TRUE(Checked(setup, 5118));
    for (int id = 5101; id <= 5115; id++)
        EXPECT_EQ(Checked(setup, id), id != 5114) << id;
    Click(setup, 5116);
    EXPECT_TRUE(Enabled(setup, 5117));
    EXPECT_TRUE(Enabled(setup, 5118));
    Click(setup, 5116);
    Click(setup, 5105);

    // Two items cleared and confirmed, then a change cancelled.
    HWND items = OpenContextItems(setup, p.Id);
    ASSERT_TRUE(items) << TopWindows();
    Click(items, 102);
    Click(items, 108);
    PressButton(items, IDOK);
    ASSERT_TRUE(WaitGone(items, 5000));
    ExpectMenuItems({"ExtrHere", "EmailArc"});
    items = OpenContextItems(setup, p.Id);
    ASSERT_TRUE(items) << TopWindows();
    for (int id = 101; id <= 109; id++)
        EXPECT_EQ(Checked(items, id), id != 102 && id != 108) << id;
    Click(items, 101);
    PressButton(items, IDCANCEL);
    ASSERT_TRUE(WaitGone(items, 5000));
    ExpectMenuItems({"ExtrHere", "EmailArc"});
    // Nothing of the setup dialog itself is stored before OK.
    EXPECT_TRUE(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup").empty());

    PressButton(setup, IDOK);
    ASSERT_TRUE(WaitGone(setup, 30000));
    HWND done = WaitForDialog("Molvex 安装", p.Id, setup);
    ASSERT_TRUE(done) << TopWindows();

    // Stored as chosen...
    const std::string user = "Software\\Molvex\\Setup";
    for (const char* group :
         {".mvx", ".zip", ".cab", ".arj", ".ace", ".tar", ".gz", ".uue", ".bz2", ".jar"})
        EXPECT_EQ(Dword(HKEY_CURRENT_USER, user + "\\" + group, "Set"), 1) << group;
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user + "\\.lzh", "Set"), 0);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user + "\\Links", "Desktop"), 1);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user + "\\Links", "StartMenu"), 0);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user + "\\Links", "Programs"), 1);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user, "ShellExt"), 0);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user, "CascadedMenu"), 0);
    EXPECT_EQ(Dword(HKEY_CURRENT_USER, user, "MenuIcons"), 1);
    // ...and applied.
    std::string text;
    EXPECT_TRUE(RegString(HKEY_CLASSES_ROOT, ".mvx", "", &text) && text == "Molvex");
    EXPECT_FALSE(RegString(HKEY_CLASSES_ROOT, ".lzh", "", &text) && text == "Molvex");
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_TRUE(RegString(HKEY_LOCAL_MACHINE, kAppPath, "Path", &text) && text == folder);
    EXPECT_TRUE(RegString(HKEY_LOCAL_MACHINE, kUninstall, "UninstallString", &text) &&
                text == folder + "\\uninstall.exe");
    EXPECT_TRUE(FileExists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\Molvex.lnk"));
    EXPECT_TRUE(FileExists(SpecialFolder(CSIDL_PROGRAMS) + "\\Molvex\\Molvex.lnk"));

    // The completion dialog: the folder, the bold closing line, its buttons.
    EXPECT_EQ(WindowText(GetDlgItem(done, 5101)), folder);
    PressButton(done, 5102);
    EXPECT_EQ(WaitStarted(), "\"" + folder + "\\Molvex.exe\"\n" + folder);
    // The documents open through their association, here the stand-in.
    RegPutString(HKEY_CLASSES_ROOT, ".txt", "", "MvxTest.Text");
    RegPutString(HKEY_CLASSES_ROOT, "MvxTest.Text\\shell\\open\\command", "",
                 ("\"" + folder + "\\Molvex.exe\" \"%1\"").c_str());
    for (int id : {5104, 5105}) {
        PressButton(done, id);
        std::string started = WaitStarted();
        const char* document = id == 5104 ? "\\license.txt\"" : "\\order.txt\"";
        EXPECT_NE(started.find(document), std::string::npos) << started;
    }

    // Esc ends the completion dialog like its Done button.
    PressEscape(done);
    DWORD code = 1;
    ASSERT_TRUE(Wait(p, 15000, &code));
    EXPECT_EQ(code, 0u);
    setuptest::CloseExplorerWindows();
}
