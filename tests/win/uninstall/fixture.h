// A fake installation of Molvex in the test prefix, and the steps of one
// uninstall run of the real program: start it, answer its message box, wait
// for what it leaves behind.
#pragma once

#include "testutil.h"

#include <string>
#include <vector>

namespace fixture {

const DWORD kWindowWait = 20000;

// A fresh folder C:\mvxtest\<name> holding a copy of the shipped program
// (and of the English language module when `withModule`). Returns the folder.
std::string Install(const char* name, bool withModule);
// The same in any folder, which is created (not emptied) first.
void InstallIn(const std::string& folder, bool withModule);

// Creates `path` with a few bytes and the given attributes.
void MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
void MakeFolder(const std::string& path);
bool Exists(const std::string& path);

// The temporary folder's script "Uninstall.Mvx.Bat" (removed first by Fresh).
std::string ScriptPath();
void RemoveScript();

// Sets an environment variable of this process, which the program inherits,
// and puts the old value back at the end of the scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();

  private:
    std::string Name;
    std::string Old;
    bool HadOld;
};

// A COMSPEC that names no program: the script stays in the temporary folder.
const char* const kMissingInterpreter = "C:\\mvxtest-none\\cmd.exe";

// Starts `folder`\uninstall.exe without a switch, waits for its message box,
// checks that it is a Yes/No question, and answers it with `answer`.
// `caption` and `text` receive the box's texts when not null.
testutil::Process StartAndAnswer(const std::string& folder, int answer,
                                 std::string* caption = nullptr, std::string* text = nullptr);
// Waits for the process to end; its exit code, or -1 on timeout.
long Finish(testutil::Process& p, DWORD timeoutMs = 30000);
// Polls until none of the paths exists; false on timeout.
bool WaitUntilGone(const std::vector<std::string>& paths, DWORD timeoutMs);

// The script that the program should write, built here from its lines.
std::string ExpectedScript(bool family9x, const std::string& program, const std::string& folder,
                           const std::string& script);

} // namespace fixture
