#include "io/error_state.h"

void ErrorState::SetErrorCode(int code) {
    ErrorState& s = g_ErrorState;
    bool take;
    if (code == 1 || code == 255)
        take = s.ErrorCode == 0;
    else if (code == 2)
        take = s.ErrorCode == 0 || s.ErrorCode == 1;
    else
        take = true;
    if (take)
        s.ErrorCode = code;
    s.ErrorCount++;
}

void ErrorState::Exit(int code) {
    if (code == 255 && !g_ErrorState.ExitOn255)
        return;
    SetErrorCode(code);
    throw static_cast<int>(code);
}

void ErrorState::MemoryError() {
    Exit(8);
    throw 8; // not reached: 8 is never the exempt code
}

void ErrorState::CloseError(const char*) {}
void ErrorState::ReadError(const char*) {}
void ErrorState::SeekError(const char*) {}
bool ErrorState::AskRetry(const char*) { return false; }
