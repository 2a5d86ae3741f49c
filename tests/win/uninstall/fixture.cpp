#include "fixture.h"

#include <gtest/gtest.h>

namespace fixture {

void InstallIn(const std::string& folder, bool withModule) {
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(testutil::CopyFileTo(testutil::Dist("uninstall.exe"), folder + "\\uninstall.exe"))
        << folder;
    if (withModule) {
        ASSERT_TRUE(testutil::CopyFileTo(testutil::Dist("mvxlng.dll"), folder + "\\mvxlng.dll"));
    }
}

std::string Install(const char* name, bool withModule) {
    std::string folder = testutil::FreshFolder(name);
    InstallIn(folder, withModule);
    return folder;
}

void MakeFile(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(testutil::WriteFileBytes(path, "molvex test file\r\n")) << path;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
}

void MakeFolder(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ScriptPath() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "Uninstall.Mvx.Bat";
}

void RemoveScript() {
    std::string script = ScriptPath();
    SetFileAttributesA(script.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(script.c_str());
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : Name(name) {
    char old[4096];
    DWORD n = GetEnvironmentVariableA(name, old, sizeof(old));
    HadOld = n > 0 && n < sizeof(old);
    if (HadOld)
        Old = old;
    SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(Name.c_str(), HadOld ? Old.c_str() : nullptr);
}

testutil::Process StartAndAnswer(const std::string& folder, int answer, std::string* caption,
                                 std::string* text) {
    testutil::Process p = testutil::Start("\"" + folder + "\\uninstall.exe\"", "C:\\");
    EXPECT_TRUE(p.Handle) << folder;
    if (!p.Handle)
        return p;
    HWND box = testutil::WaitForWindow("#32770", nullptr, kWindowWait, p.Id);
    EXPECT_TRUE(box) << "no confirmation from " << folder;
    if (!box)
        return p;
    EXPECT_TRUE(GetDlgItem(box, IDYES));
    EXPECT_TRUE(GetDlgItem(box, IDNO));
    if (caption)
        *caption = testutil::WindowText(box);
    if (text)
        *text = testutil::MessageBoxText(box);
    testutil::PressButton(box, answer);
    return p;
}

long Finish(testutil::Process& p, DWORD timeoutMs) {
    DWORD code = 0;
    return testutil::Wait(p, timeoutMs, &code) ? static_cast<long>(code) : -1;
}

bool WaitUntilGone(const std::vector<std::string>& paths, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        bool any = false;
        for (const std::string& path : paths)
            any = any || Exists(path);
        if (!any)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(100);
    }
}

std::string ExpectedScript(bool family9x, const std::string& program, const std::string& folder,
                           const std::string& script) {
    std::string text =
        family9x ? "start /wait \"" + program + "\" /wait\r\n" : "\"" + program + "\" /wait\r\n";
    for (int attempt = 0; attempt < 5; attempt++) {
        text += "del \"" + program + "\"\r\n";
        text += "rd \"" + folder + "\"\r\n";
        text += "if not exist \"" + program + "\" goto done\r\n";
    }
    text += ":done\r\n";
    text += "if exist \"" + program + "\" \"" + program + "\" /warning\r\n";
    text += "del \"" + script + "\"";
    return text;
}

} // namespace fixture
