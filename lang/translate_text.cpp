#include "lang/translate.h"

#include "app/text.h"
#include "lang/crc32.h"
#include "lang/language.h"

#include <cstring>

static const char kKindCharacters[] = {'s', '$', '@'};

bool FormTranslationKey(char (&key)[9], const char* context, const char* text, int kind) {
    key[0] = 0;
    if (kind < 0 || kind >= static_cast<int>(sizeof(kKindCharacters)))
        return false;
    uint32_t crc = Crc32Update(0xFFFFFFFFu, &kKindCharacters[kind], 1);
    if (context)
        crc = Crc32Update(crc, context, strlen(context));
    crc = Crc32Update(crc, text, strlen(text));
    return StrFormat(key, sizeof(key), "%08x", static_cast<unsigned>(~crc));
}

// The longest start of the `count` bytes at `text` that ends at a character
// boundary: a cut through a double-byte character would leave its lead byte
// alone, to join whatever the caller puts after the text.
static size_t WholeCharacters(const char* text, size_t count) {
    if (!g_LeadBytes.MultiByte())
        return count;
    size_t whole = 0;
    while (whole < count) {
        size_t step = g_LeadBytes.IsLead(static_cast<unsigned char>(text[whole])) ? 2 : 1;
        if (whole + step > count)
            break;
        whole += step;
    }
    return whole;
}

// The value of the entry at `position`: from the 11th character of its line
// up to the line's end (at most 255 characters on the last line), without the
// last quote and what follows it. The copy is cut to the destination; a cut
// value ends at a character start.
static void CopyValue(const LanguageResources& language, int position, char* dest,
                      size_t destSize) {
    const char* text = language.TextBuffer;
    int length = language.TextLength;
    int start = position + 10;
    int end = start;
    bool cut = false;
    if (start < length) {
        const void* separator = memchr(text + start, kLineSeparator, length - start);
        if (separator) {
            end = static_cast<int>(static_cast<const char*>(separator) - text);
        } else if (length - start > kLastLineValueLimit) {
            end = start + kLastLineValueLimit;
            cut = true;
        } else {
            end = length;
        }
        for (int i = end - 1; i >= start; i--) {
            if (text[i] == '"') {
                end = i;
                cut = false;
                break;
            }
        }
    }
    size_t count = static_cast<size_t>(end > start ? end - start : 0);
    if (count >= destSize) {
        count = destSize - 1;
        cut = true;
    }
    if (cut)
        count = WholeCharacters(text + start, count);
    memcpy(dest, text + start, count);
    dest[count] = 0;
}

bool TranslateWith(const LanguageResources& language, char* dest, size_t destSize,
                   const char* source, const char* context, int kind) {
    if (destSize == 0)
        return false;
    if (language.IsLoaded()) {
        char key[9];
        if (FormTranslationKey(key, context, source, kind)) {
            int position = language.FindEntry(key);
            if (position < 0)
                position = language.ScanEntry(key);
            if (position >= 0) {
                CopyValue(language, position, dest, destSize);
                return true;
            }
        }
    }
    if (dest != source)
        StrCopy(dest, destSize, source);
    return false;
}
