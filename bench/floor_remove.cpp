// The floor of the removal: each entry of a list read once, in the list's
// order, with the per-entry work of the uninstaller's passes and nothing
// else (no passes, no checks, no integration, no script).
//
//   floor_remove.exe <list> <folder ending in a backslash>
#include <windows.h>

#include <cstdlib>
#include <cstring>

static void RemoveEntry(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    SetFileAttributesA(path, 0);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        RemoveDirectoryA(path);
    else
        DeleteFileA(path);
}

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HANDLE list = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (list == INVALID_HANDLE_VALUE)
        return 3;
    DWORD size = GetFileSize(list, nullptr);
    char* text = static_cast<char*>(malloc(size + 1));
    DWORD got = 0;
    bool read = text && ReadFile(list, text, size, &got, nullptr) && got == size;
    CloseHandle(list);
    if (!read) {
        free(text);
        return 4;
    }
    text[size] = 0;
    char path[1024];
    size_t folder = strlen(argv[2]);
    if (folder >= sizeof(path)) {
        free(text);
        return 5;
    }
    memcpy(path, argv[2], folder);
    for (char* line = text; *line;) {
        char* end = strchr(line, '\n');
        char* next = end ? end + 1 : line + strlen(line);
        if (!end)
            end = next;
        while (end > line && (end[-1] == '\r' || end[-1] == ' ' || end[-1] == '\t'))
            end--;
        size_t n = static_cast<size_t>(end - line);
        if (n > 0 && folder + n < sizeof(path)) {
            memcpy(path + folder, line, n);
            path[folder + n] = 0;
            RemoveEntry(path);
        }
        line = next;
    }
    free(text);
    return 0;
}
