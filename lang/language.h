// The language file "uninstall.lng": its unescaped text and the sorted index
// of its line starts. This header has no <windows.h>: the text handling is
// shared with the host build and the fuzzer.
#pragma once

#include <cstddef>

template <typename T> class Array;

// A growable array of 32-bit integers; growth by a quarter plus 32.
template <> class Array<int> {
  public:
    int* Items = nullptr;
    int ItemCount = 0;
    int Capacity = 0;

    Array() = default;
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
    ~Array();

    // Adds n elements with unset values; ends the program on memory failure.
    void Extend(int n);
};

class LanguageResources {
  public:
    char* TextBuffer = nullptr;
    int TextLength = 0;
    Array<int> LineIndex;
    bool RightToLeft = false;

    LanguageResources() = default;
    LanguageResources(const LanguageResources&) = delete;
    LanguageResources& operator=(const LanguageResources&) = delete;
    ~LanguageResources();

    // LoadFile, then the right-to-left decision.
    void Load(const char* fileName);
    void LoadFile(const char* fileName);
    bool IsLoaded() const { return TextBuffer != nullptr; }
    void DetectRtl();
    // Position of a line whose first 8 bytes equal the key, or -1.
    int FindEntry(const char* key) const;
    // Position of the first line reading key, "=" and a quote, or -1.
    int ScanEntry(const char* key) const;
};

// Defined after g_ErrorState and g_ExtResource (app/globals.cpp).
extern LanguageResources g_Language;
