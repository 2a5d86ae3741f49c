#include "app/system.h"

static LONG g_PlatformId = -1;
static DWORD g_MajorVersion;

int NtMajorVersion() {
    if (g_PlatformId == -1) {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        GetVersionExA(&info);
        g_PlatformId = static_cast<LONG>(info.dwPlatformId);
        g_MajorVersion = info.dwMajorVersion;
    }
    return g_PlatformId == VER_PLATFORM_WIN32_NT ? static_cast<int>(g_MajorVersion) : 0;
}

bool RunProgram(char* commandLine, const char* currentDirectory, DWORD waitMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory, &startup, &process))
        return false;
    if (waitMs != 0)
        WaitForSingleObject(process.hProcess, waitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void EnableItem(HWND dialog, int id, unsigned char enable) {
    EnableWindow(GetDlgItem(dialog, id), enable);
}

int CompareNoCase(const char* a, const char* b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) -
           2;
}
