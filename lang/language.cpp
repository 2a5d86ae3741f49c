// Placeholder until the language-file loader lands: nothing is ever loaded.
#include "lang/language.h"

#include "io/error_state.h"

#include <cstdlib>

Array<int>::~Array() { free(Items); }

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

LanguageResources::~LanguageResources() { free(TextBuffer); }
void LanguageResources::Load(const char* fileName) {
    LoadFile(fileName);
    DetectRtl();
}
void LanguageResources::LoadFile(const char*) {}
void LanguageResources::DetectRtl() {}
int LanguageResources::FindEntry(const char*) const { return -1; }
int LanguageResources::ScanEntry(const char*) const { return -1; }
