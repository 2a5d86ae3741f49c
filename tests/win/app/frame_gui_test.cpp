// Drives the real uninstall.exe: its message box and dialogs under Xvfb.
#include "app/system.h"
#include "res/resource.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <string>

using testutil::Ansi;

namespace {

const DWORD kWindowWait = 20000;

// A copy of the program named `exeName` in a fresh folder, with `module`
// beside it as mvxlng.dll unless `module` is empty.
std::string Install(const char* folderName, const std::string& exeName, const std::string& module) {
    std::string folder = testutil::FreshFolder(folderName);
    std::string exe = folder + "\\" + exeName;
    EXPECT_TRUE(testutil::CopyFileTo(testutil::Dist("uninstall.exe"), exe));
    if (!module.empty()) {
        EXPECT_TRUE(testutil::CopyFileTo(module, folder + "\\mvxlng.dll"));
    }
    return exe;
}

std::string Replace(std::string format, const std::string& path) {
    size_t at = format.find("%s");
    if (at != std::string::npos)
        format.replace(at, 2, path);
    return format;
}

long RunToEnd(testutil::Process& p, DWORD timeoutMs = 20000) {
    DWORD code = 0;
    return testutil::Wait(p, timeoutMs, &code) ? static_cast<long>(code) : -1;
}

// Shows the warning of `exe` and answers it; returns caption and text.
void ShowWarning(const std::string& exe, std::string* caption, std::string* text) {
    testutil::Process p = testutil::Start("\"" + exe + "\" /warning");
    ASSERT_TRUE(p.Handle);
    HWND box = testutil::WaitForWindow("#32770", nullptr, kWindowWait, p.Id);
    ASSERT_TRUE(box) << "no message box from " << exe;
    *caption = testutil::WindowText(box);
    *text = testutil::MessageBoxText(box);
    // An information box with OK only.
    EXPECT_TRUE(GetDlgItem(box, IDOK));
    EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
    testutil::PressButton(box, IDOK);
    EXPECT_EQ(RunToEnd(p), 0);
}

TEST(Warning, TextsByResourceModule) {
    const std::string jou = "\x81\x5C"; // 乗, second byte 5C
    struct Case {
        std::string Exe;
        std::string Caption;
        std::string Done;
        std::string DeleteFormat;
    } cases[] = {
        // The program alone: its own table, in code page 936.
        {Install("alone", "uninstall.exe", ""), Ansi("卸载 Molvex"), Ansi("卸载已经完成"),
         Ansi("你应该手动删除 %s")},
        // As shipped, beside the English module.
        {testutil::Dist("uninstall.exe"), "Uninstall Molvex", "Uninstallation has been completed",
         "You should delete %s manually"},
        // A module lacking 5105; the program's name ends in the byte 5C, which
        // must not count as the separator before the module's name.
        {Install("partial", jou + ".exe", testutil::Build("tests\\win\\app\\partial_lng.dll")),
         "Partial caption", Ansi("卸载已经完成"), "Partial: remove %s by hand"},
    };
    for (const Case& c : cases) {
        std::string caption, text;
        ShowWarning(c.Exe, &caption, &text);
        EXPECT_EQ(caption, c.Caption) << c.Exe;
        // A lone line feed between the two lines.
        EXPECT_EQ(text, c.Done + "\n" + Replace(c.DeleteFormat, c.Exe)) << c.Exe;
    }
}

TEST(Warning, OverlongTextIsCutAtACharacterStart) {
    std::string exe =
        Install("long", "uninstall.exe", testutil::Build("tests\\win\\app\\long_lng.dll"));
    std::string caption, text;
    ShowWarning(exe, &caption, &text);
    EXPECT_EQ(caption, Ansi("卸载 Molvex"));
    std::string done;
    for (int i = 0; i < 125; i++)
        done += Ansi("甲");
    std::string expected = done + "\n" + exe;
    // 511 bytes at most, and never half of a double-byte character.
    while (expected.size() + 2 <= 511)
        expected += Ansi("乙");
    EXPECT_EQ(text, expected);
}

TEST(Modes, IdleSwitchesShowNothingAndEnd) {
    std::string exe = Install("idle", "uninstall.exe", "");
    for (const char* tail : {"/s", "/S", "/bogus", "/setup /s ", "/clean", "/warn"}) {
        testutil::Process p = testutil::Start("\"" + exe + "\" " + tail);
        ASSERT_TRUE(p.Handle);
        EXPECT_TRUE(testutil::NoWindowFor(nullptr, nullptr, 1500, p.Id)) << tail;
        EXPECT_EQ(RunToEnd(p), 0) << tail;
    }
}

TEST(Modes, WaitSleepsTwoSeconds) {
    std::string exe = Install("wait", "uninstall.exe", "");
    DWORD start = GetTickCount();
    EXPECT_EQ(testutil::Run("\"" + exe + "\" /WAITING"), 0);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1950u);
    EXPECT_LT(elapsed, 15000u);
}

bool IsSetupDialog(HWND w) {
    return GetDlgItem(w, IDC_CONTEXT_ITEMS) != nullptr;
}

TEST(Setup, CancelEndsWithoutTheCompletionDialog) {
    std::string exe = Install("cancel", "uninstall.exe", "");
    testutil::Process p = testutil::Start("\"" + exe + "\" /setup");
    HWND dialog = testutil::WaitForWindow("#32770", Ansi("Molvex 安装").c_str(), kWindowWait, p.Id);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsSetupDialog(dialog));
    // The Rich Edit box exists only when riched32.dll was loaded first.
    EXPECT_TRUE(GetDlgItem(dialog, IDC_DESCRIPTION));
    testutil::PressButton(dialog, IDCANCEL);
    // A completion dialog would wait for its button; the run ends by itself.
    EXPECT_EQ(RunToEnd(p, 10000), 0);
}

TEST(Setup, OkLeadsToTheCompletionDialog) {
    std::string exe = Install("ok", "uninstall.exe", "");
    testutil::Process p = testutil::Start("\"" + exe + "\" /SETUP");
    HWND dialog = testutil::WaitForWindow("#32770", Ansi("Molvex 安装").c_str(), kWindowWait, p.Id);
    ASSERT_TRUE(dialog);
    testutil::PressButton(dialog, IDOK);
    HWND done = nullptr;
    for (DWORD start = GetTickCount(); !done && GetTickCount() - start < kWindowWait; Sleep(50)) {
        HWND w = testutil::WaitForWindow("#32770", Ansi("Molvex 安装").c_str(), 100, p.Id);
        if (w && !IsSetupDialog(w))
            done = w;
    }
    ASSERT_TRUE(done);
    EXPECT_TRUE(GetDlgItem(done, IDC_THANKS));
    testutil::PressButton(done, IDOK);
    EXPECT_EQ(RunToEnd(p, 30000), 0);
}

TEST(Helpers, EnableItem) {
    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    HWND child = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(77), nullptr, nullptr);
    ASSERT_TRUE(child);
    EnableItem(parent, 77, 0);
    EXPECT_FALSE(IsWindowEnabled(child));
    EnableItem(parent, 77, 1);
    EXPECT_TRUE(IsWindowEnabled(child));
    DestroyWindow(parent);
}

} // namespace
