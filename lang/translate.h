// Translation of texts by the CRC-32 key of kind, context and text.
#pragma once

#include <cstddef>

enum TranslationKind { kMessageText = 0, kDialogText = 1, kUnusedKind = 2 };

// Writes the translation of `source` (or a copy of it) into `dest`, cut to
// `destSize` bytes. `dest` may be `source`.
void TranslateText(char* dest, size_t destSize, const char* source, const char* context,
                   int kind);
