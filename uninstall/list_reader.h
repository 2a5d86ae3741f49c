// Line-by-line reading of the installation's file list "Uninstall.lst".
// No <windows.h>: shared with the host build.
#pragma once

#include <cstddef>

// A list line holds at most this many bytes with its terminating zero.
constexpr size_t kListLineSize = 2048;

enum class ListLine {
    Entry,   // a whole line, trailing CR, LF, blanks and tabs removed, not empty
    Invalid, // a line longer than the limit or holding a zero byte: skipped whole
    End,
};

// Reads lines from a byte source. A line ends at a line feed; the last line
// needs none. Lines that are empty once trimmed are passed over.
class ListReader {
  public:
    // Fills `buffer` with up to `count` bytes; returns the number read, 0 at
    // the end, a negative number on a read error (which ends the list).
    using ReadFunction = int (*)(void* context, char* buffer, int count);

    ListReader(ReadFunction read, void* context);
    ListReader(const ListReader&) = delete;
    ListReader& operator=(const ListReader&) = delete;

    // The next line in `line` (`size` bytes, at most kListLineSize are used).
    // On Invalid and End `line` is the empty text.
    ListLine Next(char* line, size_t size);

  private:
    bool Fill();

    ReadFunction Read;
    void* Context;
    char Buffer[4096];
    size_t Start = 0;
    size_t Count = 0;
    bool AtEnd = false;
};
