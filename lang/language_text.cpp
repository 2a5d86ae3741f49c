// The byte-level half of the language file: unescaping, the line index and
// the two lookups. The file reading lives in language.cpp.
#include "lang/language.h"

#include "io/error_state.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

Array<int>::~Array() {
    free(Items);
}

void Array<int>::Extend(int n) {
    ItemCount += n;
    if (Capacity >= ItemCount)
        return;
    int capacity = Capacity + Capacity / 4 + 32;
    if (capacity < ItemCount)
        capacity = ItemCount;
    void* items = realloc(Items, static_cast<size_t>(capacity) * sizeof(int));
    if (!items)
        ErrorState::MemoryError();
    Items = static_cast<int*>(items);
    Capacity = capacity;
}

LanguageResources::~LanguageResources() {
    free(LineKeys);
    free(TextBuffer);
}

static const char kMarker[] = "***messages**";
static const int kMarkerLength = static_cast<int>(sizeof(kMarker) - 1);
static const int kKeyLength = 8;

int FindLanguageMarker(const char* block, int count) {
    for (int i = 0; i + kMarkerLength <= count; i++) {
        if (memcmp(block + i, kMarker, kMarkerLength) == 0)
            return i;
    }
    return -1;
}

// The 8 key bytes as one number whose order is theirs as unsigned bytes.
static uint64_t KeyBytes(const unsigned char* bytes) {
    uint64_t value = 0;
    for (int i = 0; i < kKeyLength; i++)
        value = value << 8 | bytes[i];
    return value;
}

static uint64_t LineKey(const char* line) {
    unsigned char bytes[kKeyLength];
    memcpy(bytes, line, sizeof(bytes));
    return KeyBytes(bytes);
}

static char Unescaped(char c) {
    switch (c) {
    case '"':
        return '"';
    case '\\':
        return '\\';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return 0;
    }
}

void LanguageResources::TakeText(char* buffer, int count) {
    free(TextBuffer);
    free(LineKeys);
    LineKeys = nullptr;
    TextBuffer = buffer;
    LineIndex.ItemCount = 0;
    // The buffer holds at most the section; a larger count can only be a
    // faulty read and must not carry the loop past it.
    int n = count < 0 ? 0 : std::min(count, kLanguageSectionSize);
    int r = 0;
    int w = 0;
    while (r < n) {
        char c = buffer[r++];
        if (c == 0)
            break;
        // A backslash as the section's last byte stays: the byte behind it
        // was never read.
        if (c == '\\' && r < n && Unescaped(buffer[r]) != 0) {
            c = Unescaped(buffer[r]);
            r++;
        } else if (c == '\r' || c == '\n') {
            c = kLineSeparator;
        }
        buffer[w++] = c;
    }
    buffer[w] = 0;
    TextLength = w;

    for (int k = 1; k < TextLength - kKeyLength; k++) {
        if (buffer[k - 1] == kLineSeparator && buffer[k] != kLineSeparator) {
            LineIndex.Extend(1);
            LineIndex.Items[LineIndex.ItemCount - 1] = k;
        }
    }
    if (LineIndex.ItemCount > 0) {
        const char* text = TextBuffer;
        std::sort(LineIndex.Items, LineIndex.Items + LineIndex.ItemCount,
                  [text](int a, int b) { return memcmp(text + a, text + b, kKeyLength) < 0; });
        LineKeys = static_cast<uint64_t*>(
            malloc(static_cast<size_t>(LineIndex.ItemCount) * sizeof(uint64_t)));
        if (LineKeys) {
            for (int i = 0; i < LineIndex.ItemCount; i++)
                LineKeys[i] = LineKey(text + LineIndex.Items[i]);
        }
    }
}

// Compares up to 8 bytes as unsigned values, stopping at the key's end: a
// key shorter than 8 characters never reads past its terminator.
static int CompareKey(const char* key, const char* line) {
    for (int i = 0; i < kKeyLength; i++) {
        unsigned char a = static_cast<unsigned char>(key[i]);
        unsigned char b = static_cast<unsigned char>(line[i]);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
    return 0;
}

// Every indexed line has at least 8 bytes of text after its start, none of
// them 0, so a key shorter than 8 characters, padded with zeros, orders
// below each line it is a prefix of, exactly as CompareKey has it; the pad
// means the key is never read past its terminator. One comparison of two
// numbers per step instead of up to 8 of bytes.
int LanguageResources::FindEntry(const char* key) const {
    if (!TextBuffer || LineIndex.ItemCount <= 0)
        return -1;
    unsigned char padded[kKeyLength] = {};
    for (int i = 0; i < kKeyLength && key[i] != 0; i++)
        padded[i] = static_cast<unsigned char>(key[i]);
    const uint64_t wanted = KeyBytes(padded);
    int first = 0;
    int length = LineIndex.ItemCount;
    while (length > 0) {
        int half = length / 2;
        int middle = first + half;
        uint64_t line = LineKeys ? LineKeys[middle] : LineKey(TextBuffer + LineIndex.Items[middle]);
        if (line == wanted)
            return LineIndex.Items[middle];
        if (wanted < line) {
            length = half;
        } else {
            first += half + 1;
            length -= half + 1;
        }
    }
    return -1;
}

int LanguageResources::ScanEntry(const char* key) const {
    if (!TextBuffer)
        return -1;
    int p = 0;
    while (p < TextLength) {
        if (TextLength - p >= kKeyLength + 2 && CompareKey(key, TextBuffer + p) == 0 &&
            TextBuffer[p + kKeyLength] == '=' && TextBuffer[p + kKeyLength + 1] == '"')
            return p;
        while (p < TextLength && TextBuffer[p] != kLineSeparator)
            p++;
        while (p < TextLength && TextBuffer[p] == kLineSeparator)
            p++;
    }
    return -1;
}
