#include "app/frame.h"
#include "app/system.h"
#include "app/text.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "乗" in code page 936: 81 5C, a second byte with the value of a backslash.
const std::string kJou = "\x81\x5C";

TEST(Helpers, FamilyMatchesPrefix) {
    EXPECT_EQ(NtMajorVersion() == 0, testutil::Family9x());
    if (!testutil::Family9x()) {
        EXPECT_GE(NtMajorVersion(), 4);
    }
}

TEST(Helpers, LeadByteTableIsTheSystemsCodePage) {
    ASSERT_EQ(GetACP(), 936u);
    CPINFO info = {};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(g_LeadBytes.MultiByte(), info.MaxCharSize > 1);
    EXPECT_TRUE(g_LeadBytes.MultiByte());
    for (int c = 0; c < 256; c++)
        EXPECT_EQ(g_LeadBytes.IsLead(static_cast<unsigned char>(c)),
                  IsDBCSLeadByte(static_cast<BYTE>(c)) != 0)
            << c;
    EXPECT_TRUE(g_LeadBytes.IsLead(0x81));
    EXPECT_FALSE(g_LeadBytes.IsLead('\\'));
}

TEST(Helpers, PathOperationsUnderCodePage936) {
    struct Case {
        std::string Path;
        std::string Name;
        std::string Slashed;
    } cases[] = {
        {"C:\\dir\\file", "file", "C:\\dir\\file\\"},
        {"C:\\dir\\", "", "C:\\dir\\"},
        {"C:file", "file", "C:file\\"},
        {"C:", "", "C:\\"},
        {"C:\\", "", "C:\\"},
        {"file", "file", "file\\"},
        {"dir/file", "file", "dir/file\\"},
        {"dir/", "", "dir/\\"},
        {"", "", ""},
        {"C:\\dir\\" + kJou, kJou, "C:\\dir\\" + kJou + "\\"},
        {kJou, kJou, kJou + "\\"},
        {"C:\\" + kJou + "\\" + kJou + "a", kJou + "a", "C:\\" + kJou + "\\" + kJou + "a\\"},
        {kJou + ":x", kJou + ":x", kJou + ":x\\"},
    };
    for (const Case& c : cases) {
        char path[1024];
        StrCopy(path, dimof(path), c.Path.c_str());
        EXPECT_EQ(NameStart(path), c.Name) << c.Path;
        EXPECT_TRUE(AppendSlash(path, dimof(path)));
        EXPECT_EQ(std::string(path), c.Slashed) << c.Path;
    }
    std::string last = "a" + kJou;
    EXPECT_EQ(LastChar(last.c_str()), last.c_str() + 1);
}

// The platform agrees: a folder named 乗 gets its separator, and a file
// made below it lands inside it.
TEST(Helpers, DoubleByteFolderOnDisk) {
    std::string base = testutil::FreshFolder("dbcs");
    char path[1024];
    StrFormat(path, dimof(path), "%s\\%s", base.c_str(), kJou.c_str());
    ASSERT_TRUE(CreateDirectoryA(path, nullptr));
    AppendSlash(path, dimof(path));
    StrAppend(path, dimof(path), "a.txt");
    ASSERT_TRUE(testutil::WriteFileBytes(path, "x"));
    EXPECT_STREQ(NameStart(path), "a.txt");
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((base + "\\" + kJou + "\\*.txt").c_str(), &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(found.cFileName, "a.txt");
    FindClose(h);
}

TEST(Helpers, CompareNoCase) {
    struct Case {
        const char* A;
        const char* B;
        int Result;
    } cases[] = {
        {"COMBOBOX", "ComboBox", 0}, {"abc", "abd", -1}, {"b", "A", 1}, {"", "", 0}, {"", "a", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareNoCase(c.A, c.B), c.Result) << c.A << " / " << c.B;
    std::string upper = testutil::Ansi("卸载 MOLVEX"), lower = testutil::Ansi("卸载 molvex");
    EXPECT_EQ(CompareNoCase(upper.c_str(), lower.c_str()), 0);
}

TEST(Helpers, RunProgram) {
    std::string folder = testutil::FreshFolder("run");
    char line[] = "cmd.exe /c echo ran> out.txt";
    ASSERT_TRUE(RunProgram(line, folder.c_str(), 20000));
    std::string out;
    ASSERT_TRUE(testutil::ReadFileBytes(folder + "\\out.txt", &out));
    EXPECT_EQ(out, "ran\r\n");
    char missing[] = "C:\\mvxtest\\no-such-program.exe";
    EXPECT_FALSE(RunProgram(missing, nullptr, 0));
}

// msvcrt's formatter leaves a cut text without its terminator; StrFormat
// must still end it inside the buffer.
TEST(Helpers, FormatCutsAndTerminates) {
    char small[5];
    memset(small, 'z', sizeof(small));
    EXPECT_FALSE(StrFormat(small, dimof(small), "%s-%d", "abc", 12));
    EXPECT_STREQ(small, "abc-");
    char gbk[6];
    std::string text = testutil::Ansi("卸载已经完成");
    EXPECT_FALSE(FormatWithText(gbk, dimof(gbk), "%s", text.c_str()));
    EXPECT_EQ(std::string(gbk), text.substr(0, 4));
}

// Around the text's own length: msvcrt returns the length when it fits,
// exactly `size` when only the terminator is missing, -1 when more is cut.
TEST(Helpers, FormatAtTheBufferEdge) {
    struct Case {
        size_t Size;
        const char* Expected;
        bool Fits;
    };
    const Case cases[] = {
        {8, "ab-12", true}, {7, "ab-12", true}, {6, "ab-12", true},
        {5, "ab-1", false}, {4, "ab-", false},  {1, "", false},
    };
    for (const Case& c : cases) {
        char buffer[10];
        memset(buffer, 'z', sizeof(buffer));
        EXPECT_EQ(StrFormat(buffer, c.Size, "%s-%d", "ab", 12), c.Fits) << c.Size;
        EXPECT_STREQ(buffer, c.Expected) << c.Size;
        EXPECT_EQ(buffer[c.Size], 'z') << c.Size;
    }
}

TEST(Helpers, ProgramPathAndFolderFile) {
    char path[1024];
    ASSERT_TRUE(GetProgramPath(path, dimof(path)));
    EXPECT_EQ(CompareNoCase(NameStart(path), "test_app_frame.exe"), 0);
    char file[1024];
    ASSERT_TRUE(ProgramFolderFile(file, dimof(file), "mvxlng.dll"));
    *NameStart(path) = 0;
    EXPECT_EQ(std::string(file), std::string(path) + "mvxlng.dll");
    char tiny[8];
    EXPECT_FALSE(GetProgramPath(tiny, dimof(tiny)));
    EXPECT_STREQ(tiny, "");
    char shortFile[1024];
    EXPECT_FALSE(ProgramFolderFile(shortFile, strlen(path) + 3, "mvxlng.dll"));
}

} // namespace
