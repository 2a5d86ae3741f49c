// The whole uninstall run on the NT family, with the script run by the real
// command interpreter: the program file and its folder disappear after the
// program has ended.
#include "fixture.h"

#include <gtest/gtest.h>

#include <string>

using fixture::Exists;
using fixture::MakeFile;
using testutil::Ansi;

namespace {

const DWORD kRemovalWait = 30000;

// Installs into `folder` with a list of two files and a folder, and runs
// the uninstaller with Yes.
void InstallAndUninstall(const std::string& folder) {
    fixture::InstallIn(folder, true);
    fixture::MakeFolder(folder + "\\docs");
    MakeFile(folder + "\\docs\\readme.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(folder + "\\Molvex.exe");
    ASSERT_TRUE(testutil::WriteFileBytes(
        folder + "\\Uninstall.lst", "docs\r\ndocs\\readme.txt\r\nMolvex.exe\r\nmvxlng.dll\r\n"));
    fixture::RemoveScript();
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES);
    EXPECT_EQ(fixture::Finish(p), 0);
}

} // namespace

TEST(SelfRemoval, ProgramAndFolderDisappear) {
    const char* folders[] = {
        "C:\\mvxtest\\plain",
        "C:\\mvxtest\\Program Files\\Molvex",
        // "乗" ends in the byte 5C; "%PATH%" would expand if not doubled.
        "C:\\mvxtest\\a%PATH%b %c& ^\xE4\xB9\x97",
    };
    for (const char* utf8 : folders) {
        std::string folder = Ansi(utf8);
        SCOPED_TRACE(folder);
        CreateDirectoryA("C:\\mvxtest", nullptr);
        CreateDirectoryA("C:\\mvxtest\\Program Files", nullptr);
        testutil::RemoveTree(folder);
        InstallAndUninstall(folder);
        EXPECT_TRUE(fixture::WaitUntilGone(
            {folder + "\\uninstall.exe", folder, fixture::ScriptPath()}, kRemovalWait));
        EXPECT_TRUE(testutil::DirectoryExists("C:\\mvxtest"));
    }
}

TEST(SelfRemoval, ProgramInDriveRoot) {
    // The "rd" of the drive root fails harmlessly; the program file goes.
    MakeFile("C:\\mvxroot.txt");
    fixture::InstallIn("C:", false);
    ASSERT_TRUE(testutil::WriteFileBytes("C:\\Uninstall.lst", "mvxroot.txt\r\n"));
    fixture::RemoveScript();
    testutil::Process p = fixture::StartAndAnswer("C:", IDYES);
    EXPECT_EQ(fixture::Finish(p), 0);
    EXPECT_TRUE(fixture::WaitUntilGone(
        {"C:\\uninstall.exe", "C:\\mvxroot.txt", "C:\\Uninstall.lst", fixture::ScriptPath()},
        kRemovalWait));
    EXPECT_TRUE(testutil::DirectoryExists("C:\\windows"));
}

TEST(SelfRemoval, UnlistedFileKeepsFolderWithoutWarning) {
    std::string folder = testutil::FreshFolder("userfile");
    MakeFile(folder + "\\my archive.mvx");
    InstallAndUninstall(folder);
    EXPECT_TRUE(
        fixture::WaitUntilGone({folder + "\\uninstall.exe", fixture::ScriptPath()}, kRemovalWait));
    EXPECT_TRUE(testutil::FileExists(folder + "\\my archive.mvx"));
    EXPECT_FALSE(Exists(folder + "\\Molvex.exe"));
    EXPECT_TRUE(testutil::NoWindowFor("#32770", nullptr, 2000));
}

TEST(SelfRemoval, LockedProgramShowsWarning) {
    std::string folder = testutil::FreshFolder("locked");
    std::string program = folder + "\\uninstall.exe";
    fixture::InstallIn(folder, false);
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", "\r\n"));
    // Open without delete sharing: every "del" of the script fails.
    HANDLE lock = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    fixture::RemoveScript();
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES);
    EXPECT_EQ(fixture::Finish(p), 0);

    HWND box = testutil::WaitForWindow("#32770", Ansi("卸载 Molvex").c_str(), kRemovalWait);
    ASSERT_TRUE(box) << "no warning";
    EXPECT_EQ(testutil::MessageBoxText(box), Ansi("卸载已经完成\n你应该手动删除 ") + program);
    testutil::PressButton(box, IDOK);
    EXPECT_TRUE(fixture::WaitUntilGone({fixture::ScriptPath()}, kRemovalWait));
    CloseHandle(lock);
    EXPECT_TRUE(testutil::FileExists(program));
}
