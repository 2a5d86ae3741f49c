// The text of the self-removal script "Uninstall.Mvx.Bat". No <windows.h>:
// shared with the host build.
#pragma once

#include <cstddef>

// Each piece of the script (the first line, one attempt block, the tail) is
// made in a buffer of this size; the whole script never exceeds seven.
constexpr size_t kScriptPieceSize = 1024;
constexpr size_t kScriptMaxSize = 7 * kScriptPieceSize;

// Copies `text` with every "%" doubled, since a batch script reads "%" as the
// start of a variable. False (and the empty text) when it does not fit.
bool DoublePercent(char* dst, size_t size, const char* text);

// The whole script for the given paths, which are already in the code page
// that the interpreter reads: the first line of the family, five attempt
// blocks and the tail, CR LF between lines and none after the last. Returns
// its length, or 0 when a piece does not fit its buffer (nothing is cut).
size_t BuildRemovalScript(char* dst, size_t size, bool family9x, const char* programPath,
                          const char* programFolder, const char* scriptPath);
