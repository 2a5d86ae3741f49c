// Stands in for the command interpreter: records how it was started (its
// command line, current directory, startup flags and standard output) in
// C:\mvxtest\comspec.log, one item a line, and runs nothing.
#include <windows.h>

#include <cstdio>

int main() {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(directory), directory);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD type = output && output != INVALID_HANDLE_VALUE ? GetFileType(output) : 0;
    FILE* log = fopen("C:\\mvxtest\\comspec.log", "wb");
    if (!log)
        return 1;
    fprintf(log, "%s\n%s\n%lu\n%u\n%lu\n", GetCommandLineA(), directory, startup.dwFlags,
            startup.wShowWindow, type);
    fclose(log);
    return 0;
}
