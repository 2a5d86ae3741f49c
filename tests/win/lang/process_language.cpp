#include "process_language.h"

#include "driver.h"

#include "app/text.h"
#include "lang/language.h"
#include "lang/translate.h"

#include <cstdio>

using namespace testutil;

namespace langtest {

std::string Repeat(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; i++)
        result += text;
    return result;
}

static std::string BuildFile() {
    std::vector<std::string> lines = {
        // Keyed on the program's own text of 5105, and on the language
        // module's text of 5107, which the program must not look at.
        KeyLine(kMessageText, nullptr, Ansi("卸载已经完成"), "Done from the file"),
        KeyLine(kMessageText, nullptr, "Continue uninstalling Molvex?", "from the module's text"),
        // Longer than a message text or a dialog text may be.
        KeyLine(kMessageText, nullptr, Ansi("Molvex 帮助"), Repeat(Ansi("帮"), 150)),
        KeyLine(kDialogText, "EMPTYDLG", "Long", Repeat(Ansi("帮"), 600)),

        KeyLine(kDialogText, "COMBODLG", "", "150*120"),

        KeyLine(kDialogText, "EMPTYDLG", "", "100*100"),
        KeyLine(kDialogText, "EMPTYDLG", "Named", "Benannt"),

        KeyLine(kDialogText, "FLAGDLG", "", "150*120"),
        KeyLine(kDialogText, "FLAGDLG", "Flag title", "Flag translated"),
        KeyLine(kDialogText, "FLAGDLG", "Flag text", "Flag control"),

        KeyLine(kDialogText, "PAGEDLG", "", "150*120"),
        KeyLine(kDialogText, "PAGEDLG", "Page title", "Translated title"),
        KeyLine(kDialogText, "PAGEDLG", "Page text", "Seitentext"),

        KeyLine(kDialogText, "MANYDLG", "", "200*150"),
    };
    for (int i = 0; i < kManyControls; i++) {
        char text[8], value[8];
        snprintf(text, sizeof(text), "c%03d", i);
        snprintf(value, sizeof(value), "t%03d", i);
        lines.push_back(KeyLine(kDialogText, "MANYDLG", text, value));
    }
    return LanguageFile(lines);
}

bool LoadProcessLanguage() {
    if (!g_Language.IsLoaded()) {
        std::string path = FreshFolder("process_language") + "\\uninstall.lng";
        if (!WriteFileBytes(path, BuildFile()))
            return false;
        g_Language.LoadFile(path.c_str());
    }
    return g_Language.IsLoaded();
}

} // namespace langtest
