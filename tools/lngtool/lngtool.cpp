// lngtool: the translator's companion of "uninstall.lng".
//
//   lngtool key <kind> <context> <text>
//       Prints the key of a text: kind s (message texts), $ (dialog texts and
//       scale entries, context = the dialog's name) or @; "" for no context.
//       The text may hold the escapes of the language file (\n, \t, ...).
//   lngtool template <program or module> <output> [<module with the values>]
//       Writes a language file with a line for every message text, dialog
//       title, non-empty control text and dialog scale entry of the first
//       file, each holding its source text, or the matching text of the
//       second file when one is given. A translator then only replaces the
//       texts between the quotes.
#include "resources.h"

#include "lang/translate.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int KindOf(const wchar_t* name) {
    if (!wcscmp(name, L"s") || !wcscmp(name, L"0"))
        return kMessageText;
    if (!wcscmp(name, L"$") || !wcscmp(name, L"1"))
        return kDialogText;
    if (!wcscmp(name, L"@") || !wcscmp(name, L"2"))
        return kUnusedKind;
    return -1;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            char replaced = next == 'n'                     ? '\n'
                            : next == 'r'                   ? '\r'
                            : next == 't'                   ? '\t'
                            : (next == '\\' || next == '"') ? next
                                                            : 0;
            if (replaced) {
                out.push_back(replaced);
                i++;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

// The file form of a text: every backslash byte doubled (the loader
// unescapes bytes, so this holds for a trail byte 5C as well), line feeds,
// carriage returns and tabs as escapes. Quotes need none.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string Key(const std::string& context, const std::string& text, int kind, bool hasContext) {
    char key[9];
    FormTranslationKey(key, hasContext ? context.c_str() : nullptr, text.c_str(), kind);
    return key;
}

const DialogTexts* FindDialog(const ModuleTexts& texts, const std::string& name) {
    for (const DialogTexts& d : texts.Dialogs) {
        if (d.Name == name)
            return &d;
    }
    return nullptr;
}

const std::string* FindMessage(const ModuleTexts& texts, unsigned id) {
    for (const MessageText& m : texts.Messages) {
        if (m.Id == id)
            return &m.Text;
    }
    return nullptr;
}

// A form feed cannot stand in a value: it is the loaded text's line end.
bool Writable(const std::string& text) {
    return text.find('\f') == std::string::npos;
}

void Line(std::string* out, const std::string& key, const std::string& value) {
    *out += key + "=\"" + Escape(value) + "\"\r\n";
}

int WriteTemplate(const wchar_t* sourcePath, const wchar_t* outputPath, const wchar_t* valuesPath) {
    ModuleTexts source;
    if (!ReadModuleTexts(sourcePath, &source)) {
        fwprintf(stderr, L"lngtool: cannot read the resources of %ls\n", sourcePath);
        return 1;
    }
    ModuleTexts values;
    if (valuesPath && !ReadModuleTexts(valuesPath, &values)) {
        fwprintf(stderr, L"lngtool: cannot read the resources of %ls\n", valuesPath);
        return 1;
    }
    std::string out =
        "Language file of uninstall.exe, made by lngtool.\r\n"
        "Everything above the marker line is ignored. Below it every line reads\r\n"
        "key=\"text\": replace only the texts. \\n, \\r, \\t, \\\\ and \\\" are escapes;\r\n"
        "the text ends at the last quote of its line. The line of a dialog's\r\n"
        "scale entry holds width*height in percent (100*100: unchanged), the line\r\n"
        "50a17ae8=\"LTR\" turns right-to-left layout on when it reads \"RTL\".\r\n"
        "Lines that begin with a semicolon are notes.\r\n"
        "***messages**\r\n";
    out += "; right-to-left layout\r\n";
    Line(&out, Key("LTR", "LTR", kDialogText, true), "LTR");
    out += "; message texts\r\n";
    for (const MessageText& m : source.Messages) {
        const std::string* value = valuesPath ? FindMessage(values, m.Id) : &m.Text;
        if (!Writable(m.Text) || !value || !Writable(*value))
            continue;
        out += "; " + std::to_string(m.Id) + "\r\n";
        Line(&out, Key("", m.Text, kMessageText, false), *value);
    }
    for (const DialogTexts& d : source.Dialogs) {
        const DialogTexts* other = valuesPath ? FindDialog(values, d.Name) : &d;
        bool sameLayout = other && other->Ids == d.Ids;
        out += "; dialog " + d.Name + "\r\n";
        // The scale entry and an empty title share their key.
        // The scale entry shares its key with an empty title: there it stays
        // empty, so that the title does not change.
        Line(&out, Key(d.Name, "", kDialogText, true), d.Title.empty() ? "" : "100*100");
        if (!d.Title.empty() && Writable(d.Title))
            Line(&out, Key(d.Name, d.Title, kDialogText, true), other ? other->Title : d.Title);
        for (size_t i = 0; i < d.Controls.size(); i++) {
            const std::string& text = d.Controls[i];
            if (text.empty() || !Writable(text))
                continue;
            const std::string& value =
                sameLayout && !other->Controls[i].empty() ? other->Controls[i] : text;
            Line(&out, Key(d.Name, text, kDialogText, true), value);
        }
    }
    FILE* file = _wfopen(outputPath, L"wb");
    if (!file) {
        fwprintf(stderr, L"lngtool: cannot write %ls\n", outputPath);
        return 1;
    }
    bool ok = fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = fclose(file) == 0 && ok;
    return ok ? 0 : 1;
}

int Usage() {
    fputs("usage: lngtool key <s|$|@> <context> <text>\n"
          "       lngtool template <program or module> <output> [<module with the values>]\n",
          stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 5 && !wcscmp(argv[1], L"key")) {
        int kind = KindOf(argv[2]);
        if (kind < 0)
            return Usage();
        std::string context = ToCodePage(argv[3]);
        std::string text = Unescape(ToCodePage(argv[4]));
        printf("%s\n", Key(context, text, kind, true).c_str());
        return 0;
    }
    if ((argc == 4 || argc == 5) && !wcscmp(argv[1], L"template"))
        return WriteTemplate(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    return Usage();
}
