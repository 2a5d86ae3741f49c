// The translatable texts of a built program or language module, read from
// its resources as the program sees them: in the bytes of code page 936.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DialogTexts {
    std::string Name;                  // resource name, as the program passes it
    std::string Title;                 // empty when the template has none
    std::vector<std::string> Controls; // one per control, in template order; ordinals empty
    std::vector<std::string> Classes;  // window class of each control
    std::vector<unsigned> Ids;
};

struct MessageText {
    unsigned Id;
    std::string Text;
};

struct ModuleTexts {
    std::vector<MessageText> Messages; // by rising id
    std::vector<DialogTexts> Dialogs;  // in resource order
};

// The code page in which the program's texts are keyed.
constexpr UINT kTextCodePage = 936;

std::string ToCodePage(const std::wstring& text);
// False when the module cannot be opened as a data file.
bool ReadModuleTexts(const wchar_t* path, ModuleTexts* texts);
