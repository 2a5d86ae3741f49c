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

// Entries that an earlier pass removed, by their place among the list's
// entries. Nothing brings a removed file or folder back during the passes,
// so a later pass would only fail on it again: it is passed over instead,
// and what is removed, and when the passes end, stay the same. Entries
// past the table's end are simply tried in every pass.
class RemovedEntries {
  public:
    bool Has(int entry) const {
        return entry < kCount && (Bits[entry / 8] & (1u << (entry % 8))) != 0;
    }
    void Add(int entry) {
        if (entry < kCount)
            Bits[entry / 8] = static_cast<unsigned char>(Bits[entry / 8] | (1u << (entry % 8)));
    }

  private:
    static constexpr int kCount = 131072;
    unsigned char Bits[kCount / 8] = {};
};

int RemoveListedEntries(HANDLE list, const char* folder) {
    RemovedEntries done;
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
            int entry = entries++;
            if (done.Has(entry))
                continue;
            if (RemoveEntry(path)) {
                done.Add(entry);
                removed++;
            }
        }
        // Every pass but the last removes at least one of the entries, so
        // more passes than entries would mean a file system that reports
        // removals it did not make.
        if (removed == 0 || passes > entries)
            return passes;
    }
}
