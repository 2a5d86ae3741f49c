// What ships in dist/: a PE32 GUI program that imports only system DLLs,
// its resources as the shell and the dialogs see them, and the language
// module built from the same templates.
#include "res/resource.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::wstring Utf16(const char* utf8) {
    wchar_t buffer[1024];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer, 1024);
    return n > 0 ? buffer : L"";
}

struct Image {
    std::string Bytes;
    const IMAGE_NT_HEADERS32* Nt = nullptr;

    bool Read(const std::string& path) {
        if (!testutil::ReadFileBytes(path, &Bytes) || Bytes.size() < sizeof(IMAGE_DOS_HEADER))
            return false;
        auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Bytes.data());
        if (dos->e_magic != IMAGE_DOS_SIGNATURE ||
            static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > Bytes.size())
            return false;
        Nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(Bytes.data() + dos->e_lfanew);
        return Nt->Signature == IMAGE_NT_SIGNATURE;
    }
    // File offset of a relative virtual address, or 0.
    size_t Offset(DWORD rva) const {
        auto section = IMAGE_FIRST_SECTION(Nt);
        for (int i = 0; i < Nt->FileHeader.NumberOfSections; i++, section++) {
            DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size)
                return rva - section->VirtualAddress + section->PointerToRawData;
        }
        return 0;
    }
    std::vector<std::string> Imports() const {
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& dir =
            Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (dir.Size == 0)
            return names;
        for (size_t at = Offset(dir.VirtualAddress);
             at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= Bytes.size();
             at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Bytes.data() + at);
            if (d->Name == 0)
                break;
            std::string name = Bytes.c_str() + Offset(d->Name);
            std::transform(name.begin(), name.end(), name.begin(), ::tolower);
            names.push_back(name);
        }
        return names;
    }
};

TEST(Dist, ProgramIsA32BitGuiProgramWithSystemImportsOnly) {
    Image image;
    ASSERT_TRUE(image.Read(testutil::Dist("uninstall.exe")));
    EXPECT_EQ(image.Nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(image.Nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(image.Nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",
                                             "shell32.dll",  "ole32.dll",  "advapi32.dll",
                                             "comctl32.dll", "msvcrt.dll"};
    std::vector<std::string> imports = image.Imports();
    EXPECT_FALSE(imports.empty());
    for (const std::string& name : imports)
        EXPECT_NE(std::find(system.begin(), system.end(), name), system.end()) << name;
}

TEST(Dist, LanguageModuleHoldsNoCode) {
    Image image;
    ASSERT_TRUE(image.Read(testutil::Dist("mvxlng.dll")));
    EXPECT_TRUE(image.Nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
    EXPECT_EQ(image.Nt->OptionalHeader.AddressOfEntryPoint, 0u);
    EXPECT_TRUE(image.Imports().empty());
}

class Module {
  public:
    explicit Module(const std::string& path)
        : handle_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Module() {
        if (handle_)
            FreeLibrary(handle_);
    }
    HMODULE Get() const { return handle_; }
    std::string Data(const char* type, const char* name) const {
        HRSRC r = FindResourceA(handle_, name, type);
        if (!r)
            return "";
        HGLOBAL g = LoadResource(handle_, r);
        return std::string(static_cast<const char*>(LockResource(g)), SizeofResource(handle_, r));
    }

  private:
    HMODULE handle_;
};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) {
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : name);
    return TRUE;
}

std::vector<std::string> Names(HMODULE module, const char* type) {
    std::vector<std::string> names;
    EnumResourceNamesA(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

TEST(Dist, ProgramResources) {
    Module program(testutil::Dist("uninstall.exe"));
    ASSERT_TRUE(program.Get());
    // DELICON first: the shell shows the first icon group for the file.
    EXPECT_EQ(Names(program.Get(), RT_GROUP_ICON),
              (std::vector<std::string>{"DELICON", "MVXICON"}));
    EXPECT_EQ(Names(program.Get(), RT_DIALOG),
              (std::vector<std::string>{"CONTEXTITEMS", "DONEDLG", "SETUPDLG"}));
    EXPECT_EQ(Names(program.Get(), RT_MANIFEST), (std::vector<std::string>{"#1"}));
    std::string manifest = program.Data(RT_MANIFEST, MAKEINTRESOURCEA(1));
    EXPECT_NE(manifest.find("<description>Molvex archiver.</description>"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);

    const char* texts[] = {"Molvex 压缩专家",      "Molvex 帮助",         "控制台 MVX 手册",
                           "卸载 Molvex",          "卸载已经完成",        "你应该手动删除 %s",
                           "继续卸载 Molvex 吗？", "无法打开列表文件 %s", "Molvex 档案文件",
                           "Molvex ZIP 档案文件",  "MVX 恢复卷"};
    for (int i = 0; i < 11; i++) {
        wchar_t buffer[256];
        int n = LoadStringW(program.Get(), IDS_DISPLAY_NAME + i, buffer, 256);
        EXPECT_EQ(std::wstring(buffer, n > 0 ? n : 0), Utf16(texts[i])) << IDS_DISPLAY_NAME + i;
    }
    wchar_t none[8];
    EXPECT_EQ(LoadStringW(program.Get(), IDS_VOLUME_TYPE + 1, none, 8), 0);
}

// One control of a DLGTEMPLATEEX, or the dialog itself (Id 0).
struct Control {
    int Id;
    std::wstring Class; // in capitals
    short X, Y, W, H;
    DWORD Style;
    std::wstring Text;
    bool operator==(const Control& o) const {
        return Id == o.Id && Class == o.Class && X == o.X && Y == o.Y && W == o.W && H == o.H &&
               Style == o.Style && Text == o.Text;
    }
};

std::ostream& operator<<(std::ostream& out, const Control& c) {
    std::string cls;
    for (wchar_t ch : c.Class)
        cls += ch < 128 ? static_cast<char>(ch) : '?';
    return out << "id " << c.Id << " class " << cls << " at " << c.X << "," << c.Y << " " << c.W
               << "x" << c.H << " style " << std::hex << c.Style << std::dec << " text length "
               << c.Text.size();
}

struct Template {
    Control Dialog;
    WORD PointSize = 0;
    std::wstring Face;
    std::vector<Control> Controls;
};

class Reader {
  public:
    explicit Reader(const std::string& data) : data_(data) {}
    WORD Word() {
        WORD w = 0;
        if (at_ + 2 <= data_.size())
            memcpy(&w, data_.data() + at_, 2);
        at_ += 2;
        return w;
    }
    DWORD Dword() {
        DWORD lo = Word();
        return lo | static_cast<DWORD>(Word()) << 16;
    }
    // Predefined window classes by name, whether stored as ordinal or text.
    std::wstring ClassName() {
        std::wstring name = SzOrOrd();
        if (name == L"#0080")
            return L"BUTTON";
        if (name == L"#0082")
            return L"STATIC";
        std::transform(name.begin(), name.end(), name.begin(), ::towupper);
        return name;
    }
    std::wstring SzOrOrd() {
        WORD first = Word();
        if (first == 0xFFFF) {
            wchar_t ord[8];
            swprintf(ord, 8, L"#%04X", Word());
            return ord;
        }
        std::wstring s;
        for (WORD c = first; c && at_ <= data_.size(); c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }
    void Align() { at_ = (at_ + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t n) { at_ += n; }
    bool Ok() const { return at_ <= data_.size(); }

  private:
    const std::string& data_;
    size_t at_ = 0;
};

Template ParseTemplate(const std::string& data) {
    Template t;
    t.Dialog.Id = 0;
    Reader r(data);
    EXPECT_EQ(r.Word(), 1);      // version
    EXPECT_EQ(r.Word(), 0xFFFF); // extended template
    r.Dword();                   // help id
    r.Dword();                   // extended style
    t.Dialog.Style = r.Dword();
    WORD count = r.Word();
    t.Dialog.X = r.Word();
    t.Dialog.Y = r.Word();
    t.Dialog.W = r.Word();
    t.Dialog.H = r.Word();
    r.SzOrOrd(); // menu
    t.Dialog.Class = r.SzOrOrd();
    t.Dialog.Text = r.SzOrOrd();
    if (t.Dialog.Style & DS_SETFONT) {
        t.PointSize = r.Word();
        r.Word(); // weight
        r.Word(); // italic, charset
        t.Face = r.SzOrOrd();
    }
    for (WORD i = 0; i < count && r.Ok(); i++) {
        r.Align();
        Control c;
        r.Dword(); // help id
        r.Dword(); // extended style
        c.Style = r.Dword();
        c.X = r.Word();
        c.Y = r.Word();
        c.W = r.Word();
        c.H = r.Word();
        c.Id = static_cast<int>(r.Dword());
        c.Class = r.ClassName();
        c.Text = r.SzOrOrd();
        r.Skip(r.Word());
        t.Controls.push_back(c);
    }
    EXPECT_TRUE(r.Ok());
    return t;
}

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kPush = BS_PUSHBUTTON | kChild | WS_TABSTOP;
const DWORD kCheck = BS_AUTOCHECKBOX | kChild | WS_TABSTOP;
const DWORD kGroup = BS_GROUPBOX | kChild;
const DWORD kText = SS_LEFT | kChild | WS_GROUP;
const DWORD kDialog = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
const wchar_t kButton[] = L"BUTTON";
const wchar_t kStatic[] = L"STATIC";

Control C(int id, const wchar_t* cls, short x, short y, short w, short h, DWORD style,
          const char* text) {
    return Control{id, cls, x, y, w, h, style, Utf16(text)};
}

std::vector<Control> SetupControls() {
    std::vector<Control> c = {
        C(IDOK, kButton, 111, 209, 50, 14, kPush, "确定"),
        C(IDC_UNUSED, kButton, 7, 5, 127, 132, kGroup, "Molvex 关联何种文件"),
    };
    const char* groups[] = {"&MVX", "&ZIP", "CAB", "ARJ", "LZH", "ACE",
                            "TAR",  "GZip", "UUE", "BZ2", "JAR", "ISO"};
    for (int k = 0; k < 12; k++)
        c.push_back(C(5101 + k, kButton, k < 6 ? 16 : 80, static_cast<short>(21 + 12 * (k % 6)), 37,
                      12, kCheck, groups[k]));
    std::vector<Control> rest = {
        C(IDC_UNUSED, kStatic, 8, 114, 127, 1, SS_ETCHEDHORZ | kChild, ""),
        C(5119, kButton, 16, 119, 50, 14, kPush, "全部选定(&A)"),
        C(IDC_UNUSED, kButton, 140, 5, 184, 57, kGroup, "界面设置"),
        C(5113, kButton, 148, 19, 170, 12, kCheck, "将 Molvex 放到桌面(&D)"),
        C(5114, kButton, 148, 31, 170, 12, kCheck, "将 Molvex 放到开始菜单(&S)"),
        C(5115, kButton, 148, 43, 170, 12, kCheck, "创建 Molvex 程序组(&P)"),
        C(5116, kButton, 148, 79, 170, 12, kCheck, "集成 Molvex 到外壳中(&I)"),
        C(IDC_UNUSED, kButton, 140, 66, 184, 71, kGroup, "外壳集成"),
        C(5117, kButton, 148, 91, 170, 12, kCheck, "折叠关联菜单(&T)"),
        C(5118, kButton, 148, 103, 170, 12, kCheck, "在关联菜单中显示图标(&N)"),
        C(IDHELP, kButton, 169, 209, 50, 14, kPush, "帮助"),
        C(IDC_UNUSED, kButton, 7, 139, 317, 63, kGroup, ""),
        C(5120, L"RICHEDIT", 12, 147, 306, 50,
          ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | kChild | WS_TABSTOP,
          "   这些选项控制 Molvex 集成到 Windows。第一个选项组是用来选择由 Molvex "
          "处理的档案文件类型。第二组是用来选择放置 Molvex "
          "可执行文件链接的地方。最后一组用来控制集成到 Windows "
          "外壳中。外壳集成在档案文件的关联菜单中提供了诸如“释放”等各项便利的工具，所以通常没"
          "有理由禁用它。\n   点击“帮助”按钮阅读关于这些选项的更多细节描述。"),
        C(5121, kButton, 148, 119, 100, 14, kPush, "关联菜单项目(&C)..."),
    };
    c.insert(c.end(), rest.begin(), rest.end());
    return c;
}

std::vector<Control> DoneControls() {
    return {
        C(IDOK, kButton, 140, 209, 50, 14, kPush, "完成"),
        C(IDC_UNUSED, kStatic, 17, 14, 146, 8, kText, "Molvex 已经成功地安装到指定文件夹中"),
        C(5101, kStatic, 164, 14, 150, 8, kText, ""),
        C(IDC_UNUSED, kStatic, 17, 33, 297, 16, kText,
          "使用 Molvex“选项”菜单中的“设置...”命令可以定制更多的选择。"),
        C(IDC_UNUSED, kStatic, 17, 53, 297, 16, kText,
          "如果这是你第一次安装 Molvex，请不要忘记阅读联机帮助。"),
        C(5108, kStatic, 17, 74, 297, 22, kText,
          "Molvex 可以打开 MVX、ZIP、CAB、ARJ、LZH、ACE、TAR、GZip、UUE、BZ2、JAR 和 ISO "
          "档案文件，并可以创建 MVX 和 ZIP 档案文件。"),
        C(5109, kStatic, 17, 101, 297, 16, kText,
          "如果以后要卸载 Molvex，请使用控制面板中的“添加/删除程序”。"),
        C(IDC_UNUSED, kButton, 8, 2, 314, 125, kGroup, ""),
        C(5102, kButton, 11, 134, 60, 14, kPush, "运行 Molvex(&R)"),
        C(5103, kButton, 74, 134, 60, 14, kPush, "阅读帮助(&H)"),
        C(5104, kButton, 136, 134, 60, 14, kPush, "查看授权(&L)"),
        C(5105, kButton, 198, 134, 60, 14, kPush, "价格列表(&P)"),
        C(5106, kButton, 259, 134, 60, 14, kPush, "访问主页(&M)"),
        C(IDC_UNUSED, kButton, 8, 152, 314, 50, kGroup, ""),
        C(5107, kStatic, 17, 173, 297, 8, SS_CENTER | kChild | WS_GROUP,
          "感谢你使用 Molvex 简体中文安装版！"),
    };
}

std::vector<Control> ContextControls() {
    std::vector<Control> c = {
        C(IDC_UNUSED, kButton, 7, 7, 229, 130, kGroup, "选择在资源管理器关联菜单中显示的项目")};
    const char* items[] = {"释放文件(&A)...",
                           "释放到这里(&X)",
                           "释放到 <文件夹\\>(&E)",
                           "释放每个档案文件到单独的文件夹(&S)",
                           "用 Molvex 打开 (用于 SFX 档案文件)",
                           "添加到档案文件(&A)...",
                           "添加到 <档案文件名>(&T)",
                           "压缩到 <档案文件名> 并邮寄",
                           "压缩并邮寄..."};
    for (int k = 0; k < 9; k++)
        c.push_back(
            C(101 + k, kButton, 16, static_cast<short>(21 + 12 * k), 210, 12, kCheck, items[k]));
    c.push_back(C(IDOK, kButton, 35, 144, 50, 14, BS_DEFPUSHBUTTON | kChild | WS_TABSTOP, "确定"));
    c.push_back(C(IDCANCEL, kButton, 97, 144, 50, 14, kPush, "取消"));
    c.push_back(C(IDHELP, kButton, 158, 144, 50, 14, kPush, "帮助"));
    return c;
}

const struct {
    const char* Name;
    Control Frame;
    std::vector<Control> (*Controls)();
} kDialogs[] = {
    {"SETUPDLG",
     {0, L"", 53, 46, 331, 228, kDialog | DS_CENTER, Utf16("Molvex 安装")},
     SetupControls},
    {"DONEDLG",
     {0, L"", 53, 46, 331, 228, kDialog | DS_CENTER, Utf16("Molvex 安装")},
     DoneControls},
    {"CONTEXTITEMS", {0, L"", 42, 45, 243, 164, kDialog, Utf16("关联菜单项目")}, ContextControls},
};

TEST(Dist, DialogTemplates) {
    Module program(testutil::Dist("uninstall.exe"));
    ASSERT_TRUE(program.Get());
    for (const auto& d : kDialogs) {
        Template t = ParseTemplate(program.Data(RT_DIALOG, d.Name));
        EXPECT_EQ(t.Dialog, d.Frame) << d.Name;
        EXPECT_EQ(t.PointSize, 9) << d.Name;
        EXPECT_EQ(t.Face, Utf16("宋体")) << d.Name;
        std::vector<Control> expected = d.Controls();
        ASSERT_EQ(t.Controls.size(), expected.size()) << d.Name;
        for (size_t i = 0; i < expected.size(); i++)
            EXPECT_EQ(t.Controls[i], expected[i]) << d.Name << " control " << i;
    }
}

// A translation changes texts and fonts only: every control keeps its
// place, id, class and style.
TEST(Dist, EnglishModuleMirrorsTheProgram) {
    Module program(testutil::Dist("uninstall.exe"));
    Module english(testutil::Dist("mvxlng.dll"));
    ASSERT_TRUE(program.Get());
    ASSERT_TRUE(english.Get());
    EXPECT_EQ(Names(english.Get(), RT_GROUP_ICON), (std::vector<std::string>{"MVXICON"}));
    for (const auto& d : kDialogs) {
        Template ours = ParseTemplate(program.Data(RT_DIALOG, d.Name));
        Template theirs = ParseTemplate(english.Data(RT_DIALOG, d.Name));
        ASSERT_EQ(theirs.Controls.size(), ours.Controls.size()) << d.Name;
        EXPECT_EQ(theirs.Dialog.Style, ours.Dialog.Style) << d.Name;
        for (size_t i = 0; i < ours.Controls.size(); i++) {
            Control mine = ours.Controls[i], translated = theirs.Controls[i];
            translated.Text = mine.Text;
            EXPECT_EQ(translated, mine) << d.Name << " control " << i;
        }
    }
    for (int id = IDS_DISPLAY_NAME; id <= IDS_VOLUME_TYPE; id++) {
        char buffer[256];
        EXPECT_GT(LoadStringA(english.Get(), id, buffer, 256), 0) << id;
    }
}

} // namespace
