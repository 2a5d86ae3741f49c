#include "resources.h"

#include <algorithm>
#include <cstring>

std::string ToCodePage(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int n = WideCharToMultiByte(kTextCodePage, 0, text.data(), static_cast<int>(text.size()),
                                nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n,
                        nullptr, nullptr);
    return bytes;
}

namespace {

// Reads a dialog template without ever leaving its resource's bytes.
class TemplateReader {
  public:
    TemplateReader(const unsigned char* bytes, size_t size) : Bytes(bytes), Size(size) {}

    bool Ok = true;

    unsigned Word() {
        if (!Need(2))
            return 0;
        unsigned v = Bytes[Offset] | (Bytes[Offset + 1] << 8);
        Offset += 2;
        return v;
    }
    unsigned Dword() {
        unsigned low = Word();
        return low | (Word() << 16);
    }
    void Skip(size_t n) {
        if (Need(n))
            Offset += n;
    }
    void AlignDword() { Skip((4 - Offset % 4) % 4); }
    // A name or ordinal field: the text, or empty with *ordinal set.
    std::wstring NameOrOrdinal(unsigned* ordinal = nullptr) {
        if (ordinal)
            *ordinal = 0;
        unsigned first = Word();
        if (first == 0xFFFF) {
            unsigned value = Word();
            if (ordinal)
                *ordinal = value;
            return std::wstring();
        }
        std::wstring text;
        for (unsigned c = first; Ok && c != 0; c = Word())
            text.push_back(static_cast<wchar_t>(c));
        return text;
    }

  private:
    bool Need(size_t n) {
        if (!Ok || Size - Offset < n)
            Ok = false;
        return Ok;
    }
    const unsigned char* Bytes;
    size_t Size;
    size_t Offset = 0;
};

std::string ClassName(const std::wstring& name, unsigned ordinal) {
    switch (ordinal) {
    case 0x80:
        return "Button";
    case 0x81:
        return "Edit";
    case 0x82:
        return "Static";
    case 0x83:
        return "ListBox";
    case 0x84:
        return "ScrollBar";
    case 0x85:
        return "ComboBox";
    default:
        return ToCodePage(name);
    }
}

bool ParseDialog(const unsigned char* bytes, size_t size, DialogTexts* dialog) {
    TemplateReader r(bytes, size);
    bool extended =
        size >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    unsigned style = 0;
    unsigned count = 0;
    if (extended) {
        r.Skip(4 + 4 + 4); // version, signature, help id, extended style
        style = r.Dword();
    } else {
        style = r.Dword();
        r.Skip(4);
    }
    count = r.Word();
    r.Skip(8); // x, y, cx, cy
    r.NameOrOrdinal();
    r.NameOrOrdinal();
    dialog->Title = ToCodePage(r.NameOrOrdinal());
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        r.Skip(extended ? 6 : 2);
        r.NameOrOrdinal();
    }
    for (unsigned i = 0; i < count && r.Ok; i++) {
        r.AlignDword();
        unsigned id;
        if (extended) {
            r.Skip(4 + 4 + 4 + 8); // help id, extended style, style, rectangle
            id = r.Dword();
        } else {
            r.Skip(4 + 4 + 8);
            id = r.Word();
        }
        unsigned classOrdinal = 0;
        std::wstring className = r.NameOrOrdinal(&classOrdinal);
        unsigned textOrdinal = 0;
        std::wstring text = r.NameOrOrdinal(&textOrdinal);
        r.Skip(r.Word());
        if (!r.Ok)
            break;
        dialog->Controls.push_back(ToCodePage(text));
        dialog->Classes.push_back(ClassName(className, classOrdinal));
        dialog->Ids.push_back(id);
    }
    return r.Ok;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::wstring>*>(param);
    if (IS_INTRESOURCE(name)) {
        wchar_t number[16];
        swprintf(number, 16, L"#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
        names->push_back(number);
    } else {
        names->push_back(name);
    }
    return TRUE;
}

std::vector<std::wstring> ResourceNames(HMODULE module, LPCWSTR type) {
    std::vector<std::wstring> names;
    EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

} // namespace

bool ReadModuleTexts(const wchar_t* path, ModuleTexts* texts) {
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    for (const std::wstring& block : ResourceNames(module, MAKEINTRESOURCEW(6))) {
        if (block.empty() || block[0] != L'#')
            continue;
        unsigned first = (static_cast<unsigned>(wcstoul(block.c_str() + 1, nullptr, 10)) - 1) * 16;
        for (unsigned id = first; id < first + 16; id++) {
            const wchar_t* text = nullptr;
            // With a zero size LoadStringW hands out the resource's own text.
            int n = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
            if (n > 0 && text)
                texts->Messages.push_back({id, ToCodePage(std::wstring(text, n))});
        }
    }
    std::sort(texts->Messages.begin(), texts->Messages.end(),
              [](const MessageText& a, const MessageText& b) { return a.Id < b.Id; });
    for (const std::wstring& name : ResourceNames(module, MAKEINTRESOURCEW(5))) {
        if (name.empty() || name[0] == L'#')
            continue; // the program names its dialogs; numbered ones are never shown
        HRSRC info = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(5));
        HGLOBAL data = info ? LoadResource(module, info) : nullptr;
        const void* bytes = data ? LockResource(data) : nullptr;
        if (!bytes)
            continue;
        DialogTexts dialog;
        dialog.Name = ToCodePage(name);
        ParseDialog(static_cast<const unsigned char*>(bytes), SizeofResource(module, info),
                    &dialog);
        texts->Dialogs.push_back(dialog);
    }
    FreeLibrary(module);
    return true;
}
