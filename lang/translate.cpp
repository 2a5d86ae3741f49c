// Placeholder until the translation lookup lands: texts pass unchanged.
#include "lang/translate.h"

#include "app/text.h"

void TranslateText(char* dest, size_t destSize, const char* source, const char*, int) {
    if (dest != source)
        StrCopy(dest, destSize, source);
}
