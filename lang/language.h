// The language file "uninstall.lng": its unescaped text and the sorted index
// of its line starts. This header has no <windows.h>: the text handling is
// shared with the host build and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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

// The translation section is read in one request of this many bytes, from
// the marker on; the buffer has room to spare behind it.
constexpr int kLanguageSectionSize = 65536;
constexpr int kLanguageBufferSize = kLanguageSectionSize + 1024;
// The marker is searched in up to this many overlapping blocks.
constexpr int kLanguageBlockSize = 8192;
constexpr int kLanguageBlockCount = 16;
constexpr int kLanguageBlockOverlap = 16;
// Line separator of the loaded text.
constexpr char kLineSeparator = '\f';

// Offset of the first "***messages**" lying wholly within the `count` bytes
// of `block`, or -1.
int FindLanguageMarker(const char* block, int count);

class LanguageResources {
  public:
    char* TextBuffer = nullptr;
    int TextLength = 0;
    Array<int> LineIndex;
    bool RightToLeft = false;
    // The first 8 bytes of each indexed line, in index order, as numbers
    // that order like the bytes: the search then reads one array instead of
    // the index and then the text. Null when there was no memory for it;
    // the search then reads the text.
    uint64_t* LineKeys = nullptr;

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

    // Marker search, section read, unescaping and index over an open file
    // (anything with File's Tell, Read and Seek). Leaves the object not
    // loaded when there is no marker or no memory for the text.
    template <class Source> void LoadFrom(Source& file);
    // Takes over `buffer` (malloc'ed, kLanguageBufferSize bytes, of which the
    // first `count` were read; -1 for a failed read), unescapes it in place
    // and builds the sorted index.
    void TakeText(char* buffer, int count);
};

template <class Source> void LanguageResources::LoadFrom(Source& file) {
    const int seekBegin = 0; // FILE_BEGIN
    char block[kLanguageBlockSize];
    int32_t marker = -1;
    for (int i = 0; i < kLanguageBlockCount && marker < 0; i++) {
        int32_t position = static_cast<int32_t>(file.Tell());
        int count = file.Read(block, kLanguageBlockSize);
        if (count < kLanguageBlockOverlap)
            break;
        int offset = FindLanguageMarker(block, count);
        if (offset >= 0)
            marker = position + offset;
        file.Seek(seekBegin, static_cast<int64_t>(position) + count - kLanguageBlockOverlap);
    }
    if (marker < 0)
        return;
    file.Seek(seekBegin, marker);
    char* buffer = static_cast<char*>(malloc(kLanguageBufferSize));
    if (!buffer)
        return;
    buffer[kLanguageSectionSize] = 0;
    TakeText(buffer, file.Read(buffer, kLanguageSectionSize));
}

// Defined after g_ErrorState and g_ExtResource (app/globals.cpp).
extern LanguageResources g_Language;
