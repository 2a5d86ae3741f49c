// The process-wide record of the most significant error so far, and the
// memory-failure exit. No <windows.h>: shared with the host build.
#pragma once

class ErrorState {
  public:
    int ErrorCode = 0;
    int ErrorCount = 0;
    bool ExitOn255 = true;

    // Records a code: 1 and 255 only replace 0, 2 replaces 0 or 1, anything
    // else always replaces the current code.
    static void SetErrorCode(int code);
    // Records the code and throws it as an int; nothing in the program
    // catches it. Returns only for 255 while ExitOn255 is off.
    static void Exit(int code);
    [[noreturn]] static void MemoryError();
    // Notifications of file failures: this program records and shows nothing.
    static void CloseError(const char* fileName);
    static void ReadError(const char* fileName);
    static void SeekError(const char* fileName);
    static bool AskRetry(const char* fileName);
};

// Defined first among the process-wide objects (app/globals.cpp).
extern ErrorState g_ErrorState;
