// Translation of texts by the CRC-32 key of kind, context and text.
#pragma once

#include <cstddef>

class LanguageResources;

enum TranslationKind { kMessageText = 0, kDialogText = 1, kUnusedKind = 2 };

// Writes the translation of `source` (or a copy of it) into `dest`, cut to
// `destSize` bytes (a translation at a character start). `dest` may be
// `source`. Looks in the process's language file.
void TranslateText(char* dest, size_t destSize, const char* source, const char* context, int kind);

// The same over a given language text; true when a translation was found.
// No <windows.h> below: shared with the host build.
bool TranslateWith(const LanguageResources& language, char* dest, size_t destSize,
                   const char* source, const char* context, int kind);
// The 8 lowercase hexadecimal digits of the key, zero-terminated, into a
// buffer of at least 9 bytes; false (and an empty key) for an unknown kind.
bool FormTranslationKey(char (&key)[9], const char* context, const char* text, int kind);
// Longest value taken from an entry on the text's last line.
constexpr int kLastLineValueLimit = 255;
