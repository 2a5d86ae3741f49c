// A thin object over one system file handle.
#pragma once

#include <windows.h>

#include <cstdint>

class File {
  public:
    HANDLE Handle = INVALID_HANDLE_VALUE;
    int HandleType = 0; // 0: opened by Open; 1: the process's standard input
    bool SkipClose = false;
    bool IgnoreReadErrors = false;
    bool ShareWrite = false;
    bool DeleteOnClose = false;
    bool AllowDelete = true;
    char FileName[1024] = {};
    wchar_t FileNameW[1024] = {};
    int NotFound = 0;

    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    virtual ~File();

    // Opens an existing file for reading (and writing); never creates one.
    // The wide name is used on the NT family when it is not empty.
    bool Open(const char* name, const wchar_t* wideName, bool forWrite, bool shareWrite);
    bool Close();
    bool Delete();
    // Bytes read, or -1.
    int DirectRead(void* buffer, int count);
    int Read(void* buffer, int count);
    bool RawSeek(int method, int64_t distance);
    void Seek(int method, int64_t distance);
    int64_t Tell();
    bool IsDevice();
};
