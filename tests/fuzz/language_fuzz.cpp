// Any file content: load it as the language file, then look up keys taken
// from the data and from the index, into destinations of several sizes.
#include "lang/language.h"
#include "lang/scale.h"
#include "lang/translate.h"
#include "../host/lang_memory_file.h"

#include <cstdlib>
#include <cstring>
#include <string>

static void CheckTranslation(const LanguageResources& language, const char* source,
                             const char* context, int kind) {
    static const size_t sizes[] = {1, 2, 9, 256, 512, 1024};
    for (size_t size : sizes) {
        // Exactly `size` bytes, so that ASan sees any write past the end.
        char* dest = static_cast<char*>(malloc(size));
        TranslateWith(language, dest, size, source, context, kind);
        if (strnlen(dest, size) >= size)
            abort();
        ParseScaleEntry(dest);
        free(dest);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An odd first byte puts a marker in front, so that most runs get past
    // the marker search and exercise the unescaping and the lookups.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size > 0 && (data[0] & 1))
        bytes.insert(0, "***messages**\n");
    MemoryFile file(bytes);
    LanguageResources language;
    language.LoadFrom(file);
    if (!language.IsLoaded())
        return 0;
    if (language.TextBuffer[language.TextLength] != 0 || language.TextLength > kLanguageSectionSize)
        abort();

    // Every indexed line is found by its own first 8 bytes.
    const Array<int>& index = language.LineIndex;
    for (int i = 0; i < index.ItemCount && i < 64; i++) {
        char key[9];
        memcpy(key, language.TextBuffer + index.Items[i], 8);
        key[8] = 0;
        int found = language.FindEntry(key);
        if (found < 0 || memcmp(language.TextBuffer + found, key, 8) != 0)
            abort();
        // The copied keys and the text itself lead the search alike.
        uint64_t* keys = language.LineKeys;
        language.LineKeys = nullptr;
        int fromText = language.FindEntry(key);
        language.LineKeys = keys;
        if (fromText != found)
            abort();
        if (i < 4) // linear over the whole text: a few suffice
            language.ScanEntry(key);
    }
    for (int i = 1; i < index.ItemCount; i++) {
        if (memcmp(language.TextBuffer + index.Items[i - 1], language.TextBuffer + index.Items[i],
                   8) > 0)
            abort();
    }

    // Texts of the data itself as sources and contexts, and a few fixed ones.
    std::string tail(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
    tail = tail.c_str();
    CheckTranslation(language, tail.c_str(), nullptr, kMessageText);
    CheckTranslation(language, tail.c_str(), "SETUPDLG", kDialogText);
    CheckTranslation(language, "", "SETUPDLG", kDialogText);
    CheckTranslation(language, "LTR", "LTR", kDialogText);
    return 0;
}
