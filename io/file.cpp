#include "io/file.h"

#include "app/system.h"
#include "app/text.h"
#include "io/error_state.h"

#include <cstring>
#include <cwchar>

// Larger requests to a pipe or character device may be refused outright;
// such reads are retried once at this size, and standard input is always
// read in requests no larger than this.
static const int kDeviceReadSize = 20000;
static const int kRetryPieceSize = 512;

File::~File() {
    if (Handle == INVALID_HANDLE_VALUE || SkipClose)
        return;
    if (DeleteOnClose)
        Delete();
    else
        Close();
}

bool File::Open(const char* name, const wchar_t* wideName, bool forWrite, bool shareWrite) {
    NotFound = 0;
    bool heldOwned = Handle != INVALID_HANDLE_VALUE && !SkipClose && HandleType == 0;
    DWORD access = GENERIC_READ | (forWrite ? GENERIC_WRITE : 0);
    DWORD share = FILE_SHARE_READ | ((ShareWrite || shareWrite) ? FILE_SHARE_WRITE : 0);
    // A name the fields cannot hold whole would make a later Delete remove a
    // different (cut) name, so such names are refused.
    bool fits =
        strlen(name) < dimof(FileName) && (!wideName || wcslen(wideName) < dimof(FileNameW));
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (fits) {
        if (NtMajorVersion() != 0 && wideName && wideName[0])
            opened = CreateFileW(wideName, access, share, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        else
            opened = CreateFileA(name, access, share, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (opened == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
            NotFound = 1;
    } else {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    }
    HandleType = 0;
    if (opened == INVALID_HANDLE_VALUE) {
        // The flags of a handle still held stay with it; with none held they
        // are simply reset.
        if (Handle == INVALID_HANDLE_VALUE) {
            DeleteOnClose = false;
            SkipClose = false;
        }
        return false;
    }
    // A handle this object owned would otherwise be lost for good.
    if (heldOwned && !CloseHandle(Handle))
        ErrorState::CloseError(FileName);
    DeleteOnClose = false;
    SkipClose = false;
    Handle = opened;
    if (wideName)
        CopyWide(FileNameW, dimof(FileNameW), wideName);
    StrCopy(FileName, dimof(FileName), name);
    return true;
}

bool File::Close() {
    if (HandleType != 0) {
        // The standard-input handle is only borrowed for each read.
        HandleType = 0;
        Handle = INVALID_HANDLE_VALUE;
        return true;
    }
    if (Handle == INVALID_HANDLE_VALUE)
        return true;
    bool ok = true;
    if (!SkipClose) {
        ok = CloseHandle(Handle) != 0;
        if (!ok)
            ErrorState::CloseError(FileName);
    }
    Handle = INVALID_HANDLE_VALUE;
    return ok;
}

bool File::Delete() {
    if (HandleType != 0 || !AllowDelete)
        return false;
    if (Handle != INVALID_HANDLE_VALUE)
        Close();
    if (NtMajorVersion() != 0 && FileNameW[0])
        return DeleteFileW(FileNameW) != 0;
    return DeleteFileA(FileName) != 0;
}

int File::DirectRead(void* buffer, int count) {
    // A negative count would reach ReadFile as a size of nearly 4 GB.
    if (count < 0)
        return -1;
    if (HandleType == 1) {
        if (count > kDeviceReadSize)
            count = kDeviceReadSize;
        Handle = GetStdHandle(STD_INPUT_HANDLE);
    }
    DWORD read = 0;
    if (ReadFile(Handle, buffer, static_cast<DWORD>(count), &read, nullptr))
        return static_cast<int>(read);
    if (IsDevice() && count > kDeviceReadSize)
        return DirectRead(buffer, kDeviceReadSize);
    return -1;
}

int File::Read(void* buffer, int count) {
    int64_t start = IgnoreReadErrors ? Tell() : 0;
    for (;;) {
        int result = DirectRead(buffer, count);
        if (result != -1)
            return result;
        if (IgnoreReadErrors)
            break;
        if (HandleType == 0 && ErrorState::AskRetry(FileName))
            continue;
        ErrorState::ReadError(FileName);
        return -1;
    }
    // Skip what cannot be read, 512 bytes at a time; a failed piece counts
    // as read and keeps what the buffer held.
    char* bytes = static_cast<char*>(buffer);
    int total = 0;
    for (int offset = 0; offset < count; offset += kRetryPieceSize) {
        int piece = count - offset < kRetryPieceSize ? count - offset : kRetryPieceSize;
        Seek(FILE_BEGIN, start + offset);
        int n = DirectRead(bytes + offset, piece);
        total += n == -1 ? piece : n;
    }
    return total;
}

bool File::RawSeek(int method, int64_t distance) {
    if (Handle == INVALID_HANDLE_VALUE)
        return true;
    LONG high = static_cast<LONG>(static_cast<uint64_t>(distance) >> 32);
    // Some systems leave an old error behind on success.
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(Handle, static_cast<LONG>(distance & 0xFFFFFFFF), &high,
                               static_cast<DWORD>(method));
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

void File::Seek(int method, int64_t distance) {
    if (!RawSeek(method, distance))
        ErrorState::SeekError(FileName);
}

int64_t File::Tell() {
    LONG high = 0;
    SetLastError(NO_ERROR);
    DWORD low = SetFilePointer(Handle, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        ErrorState::SeekError(FileName);
    return static_cast<int64_t>((static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low);
}

bool File::IsDevice() {
    if (Handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD type = GetFileType(Handle);
    return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
}
