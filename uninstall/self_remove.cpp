#include "uninstall/self_remove.h"

#include "app/system.h"
#include "app/text.h"
#include "uninstall/script_text.h"

#include <windows.h>

#include <cstring>

// ANSI text to the OEM code page through UTF-16. False when a character has
// no OEM form: a best-fit or default substitute would name another file.
static bool AnsiToOem(char* dst, int size, const char* text) {
    wchar_t wide[1024];
    wchar_t back[1024];
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(dimof(wide)));
    if (n <= 0)
        return false;
    BOOL usedDefault = FALSE;
    int m = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, dst, size, nullptr, &usedDefault);
    if (m <= 0 || usedDefault)
        return false;
    int k = MultiByteToWideChar(CP_OEMCP, 0, dst, -1, back, static_cast<int>(dimof(back)));
    return k == n && memcmp(wide, back, static_cast<size_t>(n) * sizeof(wchar_t)) == 0;
}

// The path as the command interpreter reads it: in the OEM code page, or as
// the path's short name where the OEM code page lacks one of its characters.
// False when neither form names it.
static bool InterpreterPath(char* dst, size_t size, const char* path) {
    if (GetACP() == GetOEMCP())
        return StrCopy(dst, size, path);
    if (AnsiToOem(dst, static_cast<int>(size), path))
        return true;
    char shortPath[1024];
    DWORD n = GetShortPathNameA(path, shortPath, dimof(shortPath));
    if (n == 0 || n >= dimof(shortPath))
        return false;
    return AnsiToOem(dst, static_cast<int>(size), shortPath);
}

static bool WriteScript(HANDLE file, const char* programPath, const char* programFolder,
                        const char* scriptPath) {
    char program[1024];
    char folder[1024];
    char script[1024];
    if (!InterpreterPath(program, dimof(program), programPath) ||
        !InterpreterPath(folder, dimof(folder), programFolder) ||
        !InterpreterPath(script, dimof(script), scriptPath))
        return false;
    char text[kScriptMaxSize];
    size_t length =
        BuildRemovalScript(text, dimof(text), NtMajorVersion() == 0, program, folder, script);
    if (length == 0)
        return false;
    DWORD written = 0;
    return WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) &&
           written == length;
}

[[noreturn]] static void StartInterpreter(const char* scriptPath) {
    char comspec[1024];
    comspec[0] = 0;
    DWORD n = GetEnvironmentVariableA("COMSPEC", comspec, dimof(comspec));
    if (n >= dimof(comspec))
        comspec[0] = 0;
    // A cut command line could start another program: then none is started.
    char command[512];
    bool composed =
        comspec[0] && StrFormat(command, dimof(command), "%s /c \"%s\"", comspec, scriptPath);

    bool nt = NtMajorVersion() != 0;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    HANDLE nul = INVALID_HANDLE_VALUE;
    if (nt) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    } else {
        // The handle must be inheritable to be the interpreter's too.
        SECURITY_ATTRIBUTES inherit = {};
        inherit.nLength = sizeof(inherit);
        inherit.bInheritHandle = TRUE;
        nul =
            CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nul;
        startup.hStdOutput = nul;
        startup.hStdError = nul;
    }
    // The interpreter inherits the parent folder, so that no process keeps
    // the program folder as its current directory.
    SetCurrentDirectoryA("..");
    PROCESS_INFORMATION process = {};
    if (composed &&
        CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, nt ? 0 : DETACHED_PROCESS, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    ExitProcess(0);
}

void RunRemovalScript(const char* programPath) {
    char scriptPath[1024];
    DWORD n = GetTempPathA(dimof(scriptPath), scriptPath);
    if (n == 0 || n >= dimof(scriptPath) ||
        !StrAppend(scriptPath, dimof(scriptPath), "Uninstall.Mvx.Bat"))
        return;
    char folder[1024];
    n = GetCurrentDirectoryA(dimof(folder), folder);
    if (n == 0 || n >= dimof(folder))
        return;
    HANDLE file = CreateFileA(scriptPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // The script's short name exists only once the file does.
    bool written = WriteScript(file, programPath, folder, scriptPath);
    CloseHandle(file);
    if (!written) {
        // A script that names other paths than these must not run.
        DeleteFileA(scriptPath);
        return;
    }
    StartInterpreter(scriptPath);
}
