// The file half of the language file: finding and reading "uninstall.lng",
// and the right-to-left decision. The byte handling is in language_text.cpp.
#include "lang/language.h"

#include "app/frame.h"
#include "app/text.h"
#include "io/file.h"
#include "lang/translate.h"

#include <cstring>

void LanguageResources::Load(const char* fileName) {
    LoadFile(fileName);
    DetectRtl();
}

void LanguageResources::LoadFile(const char* fileName) {
    char path[1024];
    if (strchr(fileName, '\\')) {
        if (!StrCopy(path, dimof(path), fileName))
            return;
    } else if (!ProgramFolderFile(path, dimof(path), fileName) || !strchr(path, '\\')) {
        // No folder in the program's own path: nowhere to look.
        return;
    }
    File file;
    if (!file.Open(path, nullptr, false, true))
        return;
    LoadFrom(file);
}

void LanguageResources::DetectRtl() {
    if (FindResourceA(g_ResourceModule, "RTL", RT_DIALOG)) {
        RightToLeft = true;
        return;
    }
    char text[1024];
    TranslateWith(*this, text, dimof(text), "LTR", "LTR", kDialogText);
    RightToLeft = strcmp(text, "RTL") == 0;
}
