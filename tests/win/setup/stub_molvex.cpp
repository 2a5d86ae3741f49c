// Stands in for the archiver: records how it was started in
// C:\mvxtest\started.txt (command line, a line feed, current directory).
#include <windows.h>

#include <string>

int main() {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(directory), directory);
    std::string record = std::string(GetCommandLineA()) + "\n" + directory;
    HANDLE file = CreateFileA("C:\\mvxtest\\started.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
