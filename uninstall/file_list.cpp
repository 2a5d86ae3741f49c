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

// True when the entry's file or folder was removed. `clearedFolder` tells
// that the entry is a folder whose attributes an earlier pass cleared; it
// becomes true when this pass clears a folder's.
static bool RemoveEntry(const char* path, bool& clearedFolder) {
    if (clearedFolder)
        return RemoveDirectoryA(path) != 0;
    DWORD attributes = GetFileAttributesA(path);
    bool cleared = SetFileAttributesA(path, 0) != 0;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        clearedFolder = cleared;
        return RemoveDirectoryA(path) != 0;
    }
    return DeleteFileA(path) != 0;
}

// One bit for each of the list's entries, by their place among them.
// Entries past the table's end never have their bit set.
class EntryBits {
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

// Nothing brings a removed file or folder back during the passes, and
// nothing but the passes touches the attributes of the entries:
// - an entry an earlier pass removed would only fail again, so it is passed
//   over;
// - a folder that stays because it is not yet empty (every folder listed
//   before its contents) would have its attributes read and cleared again
//   to the same result, so only its removal is tried again.
// What is removed, and when the passes end, stay the same.
int RemoveListedEntries(HANDLE list, const char* folder) {
    EntryBits done;
    EntryBits clearedFolders;
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
            bool clearedFolder = clearedFolders.Has(entry);
            if (RemoveEntry(path, clearedFolder)) {
                done.Add(entry);
                removed++;
            } else if (clearedFolder) {
                clearedFolders.Add(entry);
            }
        }
        // Every pass but the last removes at least one of the entries, so
        // more passes than entries would mean a file system that reports
        // removals it did not make.
        if (removed == 0 || passes > entries)
            return passes;
    }
}
