#include "lang/translate.h"

#include "lang/language.h"

void TranslateText(char* dest, size_t destSize, const char* source, const char* context, int kind) {
    TranslateWith(g_Language, dest, destSize, source, context, kind);
}
