// Helpers for the Windows tests: starting the real program, waiting for its
// windows, and reading what it left in the registry and on disk. Checks
// report the caller's file and line through GoogleTest.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testutil {

// Windows path of a shipped file in dist/ (MVX_DIST_W), e.g. Dist("uninstall.exe").
std::string Dist(const char* name);
// Windows path below the source tree (MVX_SOURCE_W) and the build tree (MVX_BUILD_W).
std::string Source(const char* relative);
std::string Build(const char* relative);
bool Family9x();

// A fresh empty folder C:\mvxtest\<name> (removed first when present).
std::string FreshFolder(const char* name);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool ReadFileBytes(const std::string& path, std::string* bytes);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
// Deletes a folder with everything in it; true when it is gone.
bool RemoveTree(const std::string& path);

struct Process {
    HANDLE Handle = nullptr;
    DWORD Id = 0;
};
// Starts a command line in `directory` (empty: the caller's).
Process Start(const std::string& commandLine, const std::string& directory = "");
// Waits for the process; false on timeout (the process is then killed).
bool Wait(Process& p, DWORD timeoutMs, DWORD* exitCode = nullptr);
// Start, wait, return the exit code (or -1 on timeout / start failure).
long Run(const std::string& commandLine, const std::string& directory = "",
         DWORD timeoutMs = 30000);

// Top-level visible window of the given class (null: any) whose caption
// equals `caption` (null: any), owned by process `pid` (0: any); waits.
HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD pid = 0);
// True when no such window appears within `ms`.
bool NoWindowFor(const char* className, const char* caption, DWORD ms, DWORD pid = 0);
std::string WindowText(HWND window);
// The static text of a message box (the control with id 0xFFFF).
std::string MessageBoxText(HWND box);
// Presses a button of a dialog or message box by id (posted, so the
// caller is not blocked by what the button does).
void PressButton(HWND dialog, int id);

// Registry reads straight through advapi32 (not the program's layer).
bool RegRead(HKEY root, const char* key, const char* name, DWORD* type, std::string* data);
bool RegString(HKEY root, const char* key, const char* name, std::string* text);
bool RegDword(HKEY root, const char* key, const char* name, DWORD* value);
bool RegKeyExists(HKEY root, const char* key);
bool RegValueExists(HKEY root, const char* key, const char* name);
void RegPutString(HKEY root, const char* key, const char* name, const char* text);
void RegPutDword(HKEY root, const char* key, const char* name, DWORD value);
void RegRemoveTree(HKEY root, const char* key);
// All names of a key's values and subkeys, for "nothing else" checks.
std::vector<std::string> RegValueNames(HKEY root, const char* key);
std::vector<std::string> RegSubkeyNames(HKEY root, const char* key);

// Text in the ANSI code page from UTF-8 source literals.
std::string Ansi(const char* utf8);

} // namespace testutil
