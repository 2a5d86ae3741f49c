#include "uninstall/file_list.h"

#include "app/text.h"
#include "uninstall/list_reader.h"
#include "uninstall/path_text.h"

static int ReadFromHandle(void* context, char* buffer, int count) {
    DWORD n = 0;
    if (!ReadFile(static_cast<HANDLE>(context), buffer, static_cast<DWORD>(count), &n, nullptr))
        return -1;
    return static_cast<int>(n);
}

// True when the entry's file or folder was removed.
static bool RemoveEntry(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    SetFileAttributesA(path, 0);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return RemoveDirectoryA(path) != 0;
    return DeleteFileA(path) != 0;
}

int RemoveListedEntries(HANDLE list, const char* folder) {
    int passes = 0;
    for (;;) {
        passes++;
        if (SetFilePointer(list, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
            return passes;
        ListReader reader(ReadFromHandle, list);
        char line[kListLineSize];
        int entries = 0;
        int removed = 0;
        for (ListLine kind; (kind = reader.Next(line, dimof(line))) != ListLine::End;) {
            if (kind != ListLine::Entry || !IsEntryInsideFolder(line, g_LeadBytes))
                continue;
            char path[1024];
            if (!StrCopy(path, dimof(path), folder) || !StrAppend(path, dimof(path), line))
                continue;
            entries++;
            if (RemoveEntry(path))
                removed++;
        }
        // Every pass but the last removes at least one of the entries, so
        // more passes than entries would mean a file system that reports
        // removals it did not make.
        if (removed == 0 || passes > entries)
            return passes;
    }
}
