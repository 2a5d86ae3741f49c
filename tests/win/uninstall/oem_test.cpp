// Under code page 1252 the command interpreter reads the script in code page
// 850: a path with a letter outside ASCII is written in its OEM form, and a
// path with a character that code page 850 lacks by its short name.
#include "fixture.h"

#include <gtest/gtest.h>

#include <string>

using testutil::Ansi;

namespace {

// Uninstalls `folder` (a fresh installation with one listed file) and
// returns the script's bytes; with `interpreter` false the script stays.
std::string Uninstall(const std::string& folder, bool interpreter) {
    testutil::RemoveTree(folder);
    CreateDirectoryA("C:\\mvxtest", nullptr);
    fixture::InstallIn(folder, false);
    fixture::MakeFile(folder + "\\Molvex.exe");
    EXPECT_TRUE(testutil::WriteFileBytes(folder + "\\Uninstall.lst", "Molvex.exe\r\n"));
    fixture::RemoveScript();
    std::string bytes;
    {
        fixture::ScopedEnvironment comspec("COMSPEC", interpreter ? "C:\\windows\\system32\\cmd.exe"
                                                                  : fixture::kMissingInterpreter);
        testutil::Process p = fixture::StartAndAnswer(folder, IDYES);
        EXPECT_EQ(fixture::Finish(p), 0);
        if (!interpreter)
            testutil::ReadFileBytes(fixture::ScriptPath(), &bytes);
    }
    EXPECT_FALSE(fixture::Exists(folder + "\\Molvex.exe"));
    return bytes;
}

} // namespace

TEST(OemScript, CodePages) {
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(GetOEMCP(), 850u);
}

TEST(OemScript, AccentedLetterInOemForm) {
    std::string folder = Ansi("C:\\mvxtest\\Résumé");
    ASSERT_EQ(folder, "C:\\mvxtest\\R\xE9sum\xE9");
    std::string bytes = Uninstall(folder, false);
    // "é" is E9 in code page 1252 and 82 in code page 850.
    std::string oem = "C:\\mvxtest\\R\x82sum\x82";
    EXPECT_EQ(bytes, fixture::ExpectedScript(testutil::Family9x(), oem + "\\uninstall.exe", oem,
                                             fixture::ScriptPath()));
}

TEST(OemScript, CharacterWithoutOemFormByShortName) {
    // "€" is 80 in code page 1252; code page 850 has no euro sign.
    std::string folder = Ansi("C:\\mvxtest\\Preis €");
    std::string bytes = Uninstall(folder, false);
    char shortFolder[MAX_PATH];
    char shortProgram[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(folder.c_str(), shortFolder, sizeof(shortFolder)), 0u);
    ASSERT_NE(
        GetShortPathNameA((folder + "\\uninstall.exe").c_str(), shortProgram, sizeof(shortProgram)),
        0u);
    EXPECT_NE(std::string(shortFolder), folder);
    EXPECT_EQ(bytes, fixture::ExpectedScript(testutil::Family9x(), shortProgram, shortFolder,
                                             fixture::ScriptPath()));
}

TEST(OemScript, ProgramAndFolderDisappear) {
    if (testutil::Family9x())
        GTEST_SKIP() << "Wine has no interpreter of the 9x family";
    for (const char* utf8 : {"C:\\mvxtest\\Résumé", "C:\\mvxtest\\Preis €"}) {
        std::string folder = Ansi(utf8);
        SCOPED_TRACE(folder);
        Uninstall(folder, true);
        EXPECT_TRUE(fixture::WaitUntilGone(
            {folder + "\\uninstall.exe", folder, fixture::ScriptPath()}, 30000));
    }
}
