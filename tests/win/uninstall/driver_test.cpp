// The uninstall run up to the start of the command interpreter, on both
// families: the confirmation, the file list and its passes, the help index
// files, and the script left behind when COMSPEC names no program.
#include "app/text.h"
#include "uninstall/file_list.h"
#include "uninstall/list_reader.h"

#include "fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using fixture::Exists;
using fixture::MakeFile;
using fixture::MakeFolder;
using testutil::Ansi;

namespace {

int RunPasses(const std::string& folder, const std::string& list) {
    std::string listPath = folder + "\\Uninstall.lst";
    EXPECT_TRUE(testutil::WriteFileBytes(listPath, list));
    HANDLE h = CreateFileA(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    int passes = RemoveListedEntries(h, (folder + "\\").c_str());
    CloseHandle(h);
    return passes;
}

std::vector<std::string> Remaining(const std::string& folder,
                                   const std::vector<std::string>& names) {
    std::vector<std::string> left;
    for (const std::string& name : names) {
        if (Exists(folder + "\\" + name))
            left.push_back(name);
    }
    return left;
}

} // namespace

TEST(Passes, RepeatUntilAPassRemovesNothing) {
    struct Case {
        const char* Name;
        const char* List;
        int Passes;
    } cases[] = {
        {"empty", "", 1},
        {"files", "a.txt\r\nsub\\b.txt\r\n", 2},
        {"folder first", "sub\\deep\r\nsub\\deep\\c.txt\r\n", 3},
        {"nested, outer first", "sub\nsub\\deep\nsub\\deep\\c.txt\nsub\\b.txt\na.txt\n", 4},
        {"nested, inner first", "sub\\deep\\c.txt\nsub\\deep\nsub\\b.txt\nsub\na.txt\n", 2},
        // The second line of a pair fails where the first removed the entry.
        {"file listed twice", "a.txt\na.txt\n", 2},
        {"folder listed twice, first", "sub\\deep\nsub\\deep\nsub\\deep\\c.txt\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string folder = testutil::FreshFolder("passes");
        MakeFile(folder + "\\a.txt");
        MakeFolder(folder + "\\sub");
        MakeFile(folder + "\\sub\\b.txt");
        MakeFolder(folder + "\\sub\\deep");
        MakeFile(folder + "\\sub\\deep\\c.txt");
        EXPECT_EQ(RunPasses(folder, c.List), c.Passes);
    }
    std::string folder = testutil::FreshFolder("passes");
    MakeFile(folder + "\\a.txt");
    EXPECT_EQ(RunPasses(folder, "a.txt"), 2);
    EXPECT_FALSE(Exists(folder + "\\a.txt"));
}

// Folders listed before their contents stay until a later pass; their
// attributes, cleared by the first attempt, must not hold them back then.
TEST(Passes, MarkedFoldersBeforeTheirContents) {
    std::string folder = testutil::FreshFolder("passes");
    MakeFolder(folder + "\\sub");
    MakeFolder(folder + "\\sub\\deep");
    MakeFile(folder + "\\sub\\deep\\c.txt", FILE_ATTRIBUTE_READONLY);
    const DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA((folder + "\\sub").c_str(), marks));
    ASSERT_TRUE(SetFileAttributesA((folder + "\\sub\\deep").c_str(), marks));
    EXPECT_EQ(RunPasses(folder, "sub\nsub\\deep\nsub\\deep\\c.txt\n"), 4);
    EXPECT_FALSE(Exists(folder + "\\sub"));
}

TEST(Passes, CutLinesNameNothing) {
    std::string folder = testutil::FreshFolder("cut");
    for (const char* name : {"victim.txt", "keep.txt", "gone.txt"})
        MakeFile(folder + "\\" + name);
    // A reader that returned the line in pieces would find "victim.txt" in
    // the second piece; one that stopped at the zero byte would find "keep.txt".
    std::string list = std::string(kListLineSize, 'x') + "victim.txt\r\n" +
                       std::string("keep.txt\0.bak\r\n", 15) + "gone.txt\r\n";
    EXPECT_EQ(RunPasses(folder, list), 2);
    EXPECT_EQ(Remaining(folder, {"victim.txt", "keep.txt", "gone.txt"}),
              (std::vector<std::string>{"victim.txt", "keep.txt"}));
}

namespace {

// Outside the installation: a file and an empty folder that hostile
// entries name.
struct Outside {
    std::string Folder = testutil::FreshFolder("outside");
    std::string File = Folder + "\\victim.txt";
    std::string EmptyFolder = Folder + "\\empty";

    Outside() {
        MakeFile(File);
        MakeFolder(EmptyFolder);
    }
    void ExpectIntact() const {
        EXPECT_TRUE(testutil::FileExists(File));
        EXPECT_TRUE(testutil::DirectoryExists(EmptyFolder));
    }
};

// Listed entries of the fake installation; folders before their files.
const char* const kListed[] = {"docs",       "docs\\deep", "docs\\deep\\a.txt", "docs\\readme.txt",
                               "hidden.dat", "Molvex.exe", "mvxlng.dll"};

// The list as an installer might write it, with lines that must change
// nothing outside.
std::string HostileList() {
    return "docs\r\n"
           "docs\\deep  \t\r\n"
           "\r\n"
           "docs\\deep\\a.txt\n"
           "docs\\readme.txt\t\n"
           "\n"
           "   \t\r\n"
           "hidden.dat\r\n"
           "missing.txt\r\n"
           "..\\outside\\victim.txt\r\n"
           "docs\\..\\..\\outside\\victim.txt\r\n"
           "../outside/empty\r\n"
           "..\r\n"
           "C:\\mvxtest\\outside\\victim.txt\r\n"
           "C:..\\outside\\victim.txt\r\n"
           "\\mvxtest\\outside\\victim.txt\r\n"
           "\\\\?\\C:\\mvxtest\\outside\\victim.txt\r\n"
           "\\\\.\\C:\\mvxtest\\outside\\empty\r\n"
           "Molvex.exe\r\n"
           "mvxlng.dll";
}

void MakeListedFiles(const std::string& folder) {
    MakeFolder(folder + "\\docs");
    MakeFolder(folder + "\\docs\\deep");
    MakeFile(folder + "\\docs\\deep\\a.txt");
    MakeFile(folder + "\\docs\\readme.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(folder + "\\hidden.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MakeFile(folder + "\\Molvex.exe");
    MakeFile(folder + "\\molvex.gid", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(folder + "\\molvex.fts", FILE_ATTRIBUTE_READONLY);
}

} // namespace

TEST(Uninstall, RemovesListedFilesAndLeavesScript) {
    Outside outside;
    std::string folder = fixture::Install("hostile", true);
    MakeListedFiles(folder);
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", HostileList()));
    std::string script = fixture::ScriptPath();
    // An old script of an earlier run is overwritten.
    ASSERT_TRUE(testutil::WriteFileBytes(script, std::string(9000, 'o')));

    fixture::ScopedEnvironment comspec("COMSPEC", fixture::kMissingInterpreter);
    std::string caption, text;
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES, &caption, &text);
    // The language module is loaded until the files are deleted.
    EXPECT_EQ(caption, "Uninstall Molvex");
    EXPECT_EQ(text, "Continue uninstalling Molvex?");
    EXPECT_EQ(fixture::Finish(p), 0);

    std::vector<std::string> all(std::begin(kListed), std::end(kListed));
    all.insert(all.end(), {"Uninstall.lst", "molvex.gid", "molvex.fts"});
    EXPECT_EQ(Remaining(folder, all), std::vector<std::string>());
    outside.ExpectIntact();
    // Without an interpreter the program and its folder stay, and so does
    // the script.
    EXPECT_TRUE(testutil::FileExists(folder + "\\uninstall.exe"));
    std::string bytes;
    ASSERT_TRUE(testutil::ReadFileBytes(script, &bytes));
    EXPECT_EQ(bytes, fixture::ExpectedScript(testutil::Family9x(), folder + "\\uninstall.exe",
                                             folder, script));
}

TEST(Uninstall, ScriptDoublesPercentAndKeepsOtherBytes) {
    // "乗" is 81 5C in code page 936; "%PATH%" would expand if not doubled.
    std::string folder = "C:\\mvxtest\\a%PATH%b %c& ^" + Ansi("乗");
    testutil::RemoveTree(folder);
    fixture::InstallIn(folder, false);
    MakeFile(folder + "\\Molvex.exe");
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", "Molvex.exe\r\n"));
    fixture::RemoveScript();

    fixture::ScopedEnvironment comspec("COMSPEC", fixture::kMissingInterpreter);
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES);
    EXPECT_EQ(fixture::Finish(p), 0);
    EXPECT_FALSE(Exists(folder + "\\Molvex.exe"));
    std::string bytes;
    ASSERT_TRUE(testutil::ReadFileBytes(fixture::ScriptPath(), &bytes));
    std::string escaped = "C:\\mvxtest\\a%%PATH%%b %%c& ^" + Ansi("乗");
    EXPECT_EQ(bytes, fixture::ExpectedScript(testutil::Family9x(), escaped + "\\uninstall.exe",
                                             escaped, fixture::ScriptPath()));
}

TEST(Uninstall, NoChangesNothing) {
    Outside outside;
    std::string folder = fixture::Install("declined", true);
    MakeListedFiles(folder);
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", HostileList()));
    fixture::RemoveScript();

    testutil::Process p = fixture::StartAndAnswer(folder, IDNO);
    EXPECT_EQ(fixture::Finish(p), 0);
    std::vector<std::string> all(std::begin(kListed), std::end(kListed));
    all.insert(all.end(), {"Uninstall.lst", "molvex.gid", "molvex.fts", "uninstall.exe"});
    EXPECT_EQ(Remaining(folder, all), all);
    EXPECT_FALSE(Exists(fixture::ScriptPath()));
}

// The confirmation goes away first; the failure is a box with OK only.
static HWND WaitForFailureBox(const testutil::Process& p) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < fixture::kWindowWait) {
        HWND w = testutil::WaitForWindow("#32770", nullptr, fixture::kWindowWait, p.Id);
        if (w && GetDlgItem(w, IDOK) && !GetDlgItem(w, IDYES))
            return w;
        Sleep(50);
    }
    return nullptr;
}

TEST(Uninstall, MissingListShowsMessageAndChangesNothing) {
    std::string folder = fixture::Install("nolist", false);
    MakeListedFiles(folder);
    fixture::RemoveScript();

    std::string caption;
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES, &caption);
    EXPECT_EQ(caption, Ansi("卸载 Molvex"));
    HWND box = WaitForFailureBox(p);
    ASSERT_TRUE(box);
    EXPECT_EQ(testutil::WindowText(box), Ansi("卸载 Molvex"));
    EXPECT_EQ(testutil::MessageBoxText(box), Ansi("无法打开列表文件 Uninstall.lst"));
    testutil::PressButton(box, IDOK);
    EXPECT_EQ(fixture::Finish(p), 0);

    std::vector<std::string> all = {"docs\\deep\\a.txt", "docs\\readme.txt", "hidden.dat",
                                    "molvex.gid",        "molvex.fts",       "uninstall.exe"};
    EXPECT_EQ(Remaining(folder, all), all);
    EXPECT_FALSE(Exists(fixture::ScriptPath()));
}

TEST(Uninstall, InterpreterStartedFromParentFolder) {
    std::string folder = fixture::Install("interpreter", false);
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", ""));
    std::string log = "C:\\mvxtest\\comspec.log";
    DeleteFileA(log.c_str());
    std::string interpreter = testutil::Build("tests\\win\\uninstall\\fake_comspec.exe");
    fixture::ScopedEnvironment comspec("COMSPEC", interpreter.c_str());
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES);
    EXPECT_EQ(fixture::Finish(p), 0);
    std::string bytes;
    DWORD start = GetTickCount();
    while (!testutil::ReadFileBytes(log, &bytes) && GetTickCount() - start < 20000)
        Sleep(100);
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = bytes.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(bytes.substr(at, end - at));
    ASSERT_EQ(lines.size(), 5u) << bytes;
    EXPECT_EQ(lines[0], interpreter + " /c \"" + fixture::ScriptPath() + "\"");
    // The interpreter keeps no process in the program folder.
    EXPECT_EQ(lines[1], "C:\\mvxtest");
    if (testutil::Family9x()) {
        // One inherited handle on the device "NUL" for all three.
        EXPECT_EQ(lines[2], std::to_string(STARTF_USESTDHANDLES));
        EXPECT_EQ(lines[4], std::to_string(FILE_TYPE_CHAR));
    } else {
        EXPECT_EQ(lines[2], std::to_string(STARTF_USESHOWWINDOW));
        EXPECT_EQ(lines[3], std::to_string(SW_HIDE));
    }
}

TEST(Uninstall, LongListFailureTextIsCutAtACharacter) {
    std::string folder = fixture::Install("longtext", false);
    ASSERT_TRUE(testutil::CopyFileTo(testutil::Build("tests\\win\\uninstall\\long_text_lng.dll"),
                                     folder + "\\mvxlng.dll"));
    testutil::Process p = fixture::StartAndAnswer(folder, IDYES);
    HWND box = WaitForFailureBox(p);
    ASSERT_TRUE(box);
    // 199 bytes would end in the first byte of the hundredth character.
    std::string expected;
    for (int i = 0; i < 99; i++)
        expected += Ansi("列");
    EXPECT_EQ(testutil::MessageBoxText(box), expected);
    testutil::PressButton(box, IDOK);
    EXPECT_EQ(fixture::Finish(p), 0);
}
