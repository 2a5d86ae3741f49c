// LocalizeDialog and RouteDialogMessage on dialogs built here from templates
// in memory, with this process's g_Language loaded: each dialog procedure
// reads the dialog just before and just after the router handles
// WM_INITDIALOG, and the controls report the positions the router asks for.
#include "driver.h"
#include "process_language.h"

#include "app/text.h"
#include "lang/language.h"
#include "lang/localize.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <map>

using namespace testutil;
using namespace langtest;

namespace {

// A DLGTEMPLATE with its items, as the system reads it from a resource.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, const char* title, short cx, short cy) {
        PutDword(style | DS_SETFONT);
        PutDword(0);
        count_ = words_.size();
        for (short v : {short(0), short(0), short(0), cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(0); // no menu
        words_.push_back(0); // the dialog class
        PutText(title);
        words_.push_back(8);
        PutText("MS Shell Dlg");
    }
    // `atom` names a system class (0x80 button, 0x81 edit, 0x82 static,
    // 0x85 combo box); 0 takes `className`.
    void Add(WORD atom, const char* className, DWORD style, const char* text, short x, short y,
             short cx, short cy, WORD id) {
        if (words_.size() % 2)
            words_.push_back(0);
        PutDword(style | WS_CHILD | WS_VISIBLE);
        PutDword(0);
        for (short v : {x, y, cx, cy})
            words_.push_back(static_cast<WORD>(v));
        words_.push_back(id);
        if (atom) {
            words_.push_back(0xFFFF);
            words_.push_back(atom);
        } else {
            PutText(className);
        }
        PutText(text);
        words_.push_back(0);
        words_[count_]++;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void PutDword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void PutText(const char* text) {
        wchar_t wide[256];
        int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(dimof(wide)));
        for (int i = 0; i + 1 < n; i++)
            words_.push_back(static_cast<WORD>(wide[i]));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
    size_t count_ = 0;
};

const WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kCombo = 0x85;

struct Child {
    HWND Window;
    std::string ClassName;
    std::string Text;
    RECT Screen;
    RECT Dropped; // CB_GETDROPPEDCONTROLRECT; zero for other controls
};

struct Snapshot {
    std::string Title;
    RECT Screen = {};
    RECT Client = {};
    std::vector<Child> Children;
};

Snapshot Read(HWND dialog) {
    Snapshot s;
    s.Title = WindowText(dialog);
    GetWindowRect(dialog, &s.Screen);
    GetClientRect(dialog, &s.Client);
    for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        Child c = {w, "", WindowText(w), {}, {}};
        char name[256] = "";
        GetClassNameA(w, name, sizeof(name));
        c.ClassName = name;
        GetWindowRect(w, &c.Screen);
        if (strstr(name, "Combo") || strstr(name, "COMBO"))
            SendMessageA(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&c.Dropped));
        s.Children.push_back(c);
    }
    return s;
}

// What the router was given and what the dialog looked like around it.
struct Probe {
    Probe(const char* name, unsigned char page, int helpId)
        : Name(name), Page(page), HelpId(helpId) {}
    const char* Name;
    unsigned char Page;
    int HelpId;
    HWND Dialog = nullptr;
    Snapshot Before, After;
    // The first resize each control was asked for while the router ran.
    std::map<HWND, WINDOWPOS> Moves;
};

Probe* g_Probe;
std::map<HWND, WNDPROC> g_Original;

LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = g_Original[window];
    if (message == WM_WINDOWPOSCHANGING && g_Probe) {
        const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE) && !g_Probe->Moves.count(window))
            g_Probe->Moves[window] = *pos;
    }
    return CallWindowProcA(original, window, message, wParam, lParam);
}

INT_PTR CALLBACK ProbeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Probe& p = *g_Probe;
    if (message == WM_INITDIALOG) {
        p.Dialog = dialog;
        p.Before = Read(dialog);
        for (const Child& c : p.Before.Children)
            g_Original[c.Window] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(c.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchProc)));
    }
    RouteDialogMessage(dialog, message, wParam, p.Page, p.HelpId, p.Name, lParam);
    if (message == WM_INITDIALOG) {
        for (const Child& c : p.Before.Children)
            SetWindowLongPtrA(c.Window, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(g_Original[c.Window]));
        g_Original.clear();
        p.After = Read(dialog);
        return TRUE;
    }
    return FALSE;
}

// A modeless dialog from `t`, localized; the caller destroys it.
HWND Create(const DialogTemplate& t, Probe* probe) {
    g_Probe = probe;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.Get(), nullptr, ProbeProc, 0);
}

class Localize : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LoadProcessLanguage());
        g_Language.RightToLeft = false;
    }
    void TearDown() override {
        g_Language.RightToLeft = false;
        g_Probe = nullptr;
    }
};

// The place LocalizeDialog gives a child, from the rectangles before it ran.
WINDOWPOS Placed(const Snapshot& s, const Child& c, int w, int h, bool addList) {
    int frameW = s.Screen.right - s.Screen.left + 1 - s.Client.right;
    int frameH = s.Screen.bottom - s.Screen.top + 1 - s.Client.bottom;
    int frameH2 = frameH - GetSystemMetrics(SM_CYDLGFRAME);
    WINDOWPOS pos = {};
    pos.x = (c.Screen.left - s.Screen.left - frameW / 2) * w / 100;
    pos.y = (c.Screen.top - s.Screen.top - frameH2) * h / 100;
    pos.cx = (c.Screen.right - c.Screen.left + 1) * w / 100;
    pos.cy = (c.Screen.bottom - c.Screen.top + 1) * h / 100;
    if (addList)
        pos.cy += (c.Dropped.bottom - c.Dropped.top + 1) * h / 100;
    return pos;
}

void ExpectMovedTo(const Probe& p, const Child& c, const WINDOWPOS& want) {
    auto found = p.Moves.find(c.Window);
    ASSERT_NE(found, p.Moves.end()) << c.ClassName << " " << c.Text << " was not moved";
    const WINDOWPOS& got = found->second;
    EXPECT_EQ(got.x, want.x) << c.ClassName << " " << c.Text;
    EXPECT_EQ(got.y, want.y) << c.ClassName << " " << c.Text;
    EXPECT_EQ(got.cx, want.cx) << c.ClassName << " " << c.Text;
    EXPECT_EQ(got.cy, want.cy) << c.ClassName << " " << c.Text;
}

} // namespace

TEST_F(Localize, DropDownComboBoxesGetTheirListHeightAdded) {
    // A combo box under another class name answers CB_GETDROPPEDCONTROLRECT
    // all the same, but is not one of "COMBOBOX".
    WNDCLASSA combo = {};
    ASSERT_TRUE(GetClassInfoA(nullptr, "ComboBox", &combo));
    combo.hInstance = GetModuleHandleA(nullptr);
    combo.lpszClassName = "MvxCombo";
    RegisterClassA(&combo);

    struct Row {
        WORD Atom;
        const char* ClassName;
        DWORD Style;
        const char* Text;
        bool AddsList;
    } rows[] = {
        {kCombo, nullptr, CBS_DROPDOWN | WS_VSCROLL, "dropdown", true},
        {kCombo, nullptr, CBS_DROPDOWNLIST, "list", true},
        {kCombo, nullptr, CBS_SIMPLE, "simple", false},
        {0, "combobox", CBS_DROPDOWNLIST | CBS_SORT, "by name", true},
        {0, "MvxCombo", CBS_DROPDOWN, "other class", false},
        // A static whose low style bits read as CBS_DROPDOWN.
        {kStatic, nullptr, SS_RIGHT, "static", false},
    };
    DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "Combos", 240, 220);
    short y = 5;
    for (const Row& r : rows) {
        t.Add(r.Atom, r.ClassName, r.Style, r.Text, 10, y, 120, r.Style == CBS_SIMPLE ? 30 : 80, 0);
        y += 35;
    }
    Probe p("COMBODLG", 0, 0);
    HWND dialog = Create(t, &p);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(p.Before.Children.size(), dimof(rows));
    for (size_t i = 0; i < dimof(rows); i++) {
        const Child& c = p.Before.Children[i];
        SCOPED_TRACE(rows[i].Text);
        if (rows[i].AddsList) {
            EXPECT_GT(c.Dropped.bottom - c.Dropped.top, c.Screen.bottom - c.Screen.top);
        }
        ExpectMovedTo(p, c, Placed(p.Before, c, 150, 120, rows[i].AddsList));
    }
    DestroyWindow(dialog);
    UnregisterClassA("MvxCombo", GetModuleHandleA(nullptr));
}

TEST_F(Localize, OnlyTheFirst512ControlsAreTranslatedAndMoved) {
    DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "Many", 280, 220);
    for (int i = 0; i < kManyControls; i++) {
        char text[8];
        snprintf(text, sizeof(text), "c%03d", i);
        t.Add(kStatic, nullptr, SS_LEFT, text, static_cast<short>(5 + i % 26 * 10),
              static_cast<short>(5 + i / 26 * 10), 9, 9, static_cast<WORD>(100 + i));
    }
    Probe p("MANYDLG", 0, 0);
    HWND dialog = Create(t, &p);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(p.Before.Children.size(), static_cast<size_t>(kManyControls));
    ASSERT_EQ(p.After.Children.size(), static_cast<size_t>(kManyControls));
    for (int i = 0; i < kManyControls; i++) {
        const Child& before = p.Before.Children[i];
        const Child& after = p.After.Children[i];
        char text[8];
        snprintf(text, sizeof(text), "%c%03d", i < 512 ? 't' : 'c', i);
        EXPECT_EQ(after.Text, text);
        if (i < 512) {
            WINDOWPOS want = Placed(p.Before, before, 200, 150, false);
            ExpectMovedTo(p, before, want);
            EXPECT_EQ(after.Screen.right - after.Screen.left, want.cx) << i;
        } else {
            EXPECT_EQ(p.Moves.count(before.Window), 0u) << i;
            EXPECT_TRUE(EqualRect(&after.Screen, &before.Screen)) << i;
        }
    }
    DestroyWindow(dialog);
}

TEST_F(Localize, EmptyTitleEmptyControlsAndALongTranslation) {
    DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "", 200, 100);
    t.Add(kStatic, nullptr, SS_LEFT, "", 5, 5, 80, 10, 1);
    t.Add(kEdit, nullptr, ES_LEFT | WS_BORDER, "", 5, 20, 80, 14, 2);
    t.Add(kButton, nullptr, BS_PUSHBUTTON, "", 5, 40, 50, 14, 3);
    t.Add(kStatic, nullptr, SS_LEFT, "Named", 5, 60, 80, 10, 4);
    t.Add(kStatic, nullptr, SS_LEFT, "Long", 5, 75, 80, 10, 5);
    Probe p("EMPTYDLG", 0, 0);
    HWND dialog = Create(t, &p);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(p.Before.Title, "");
    EXPECT_EQ(p.After.Title, "100*100");
    ASSERT_EQ(p.After.Children.size(), 5u);
    // The last one's translation of 1200 bytes is cut to a dialog text's
    // 1023, at the last whole double-byte character.
    std::string texts[] = {"", "", "", "Benannt", Repeat(Ansi("帮"), 511)};
    for (size_t i = 0; i < dimof(texts); i++)
        EXPECT_EQ(p.After.Children[i].Text, texts[i]) << i;
    // 100*100 scales nothing.
    EXPECT_TRUE(p.Moves.empty());
    EXPECT_TRUE(EqualRect(&p.After.Screen, &p.Before.Screen));
    DestroyWindow(dialog);
}

TEST_F(Localize, OnlyBitZeroOfThePageFlagCounts) {
    for (unsigned char page : {0, 2, 1, 3, 0xFF}) {
        SCOPED_TRACE(page);
        bool isPage = page & 1;
        DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "Flag title", 200, 100);
        t.Add(kStatic, nullptr, SS_LEFT, "Flag text", 5, 5, 80, 10, 1);
        Probe p("FLAGDLG", page, 0);
        HWND dialog = Create(t, &p);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(p.After.Title, isPage ? "Flag title" : "Flag translated");
        int frameW = p.Before.Screen.right - p.Before.Screen.left + 1 - p.Before.Client.right;
        int width = p.After.Screen.right - p.After.Screen.left;
        EXPECT_EQ(width, isPage ? p.Before.Screen.right - p.Before.Screen.left
                                : p.Before.Client.right * 150 / 100 + frameW);
        // The controls are translated and scaled either way.
        ASSERT_EQ(p.After.Children.size(), 1u);
        EXPECT_EQ(p.After.Children[0].Text, "Flag control");
        ExpectMovedTo(p, p.Before.Children[0],
                      Placed(p.Before, p.Before.Children[0], 150, 120, false));
        DestroyWindow(dialog);
    }
}

TEST_F(Localize, HelpRequestsOfDialogs) {
    HelpWindow help;
    ASSERT_NE(help.Window, nullptr);
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    NMHDR header = {};
    header.code = static_cast<UINT>(PSN_HELP);
    struct Row {
        unsigned char Page;
        int HelpId;
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        bool Opens;
    } rows[] = {
        {0, 310, WM_COMMAND, IDHELP, 0, true},
        {0, 310, WM_HELP, 0, reinterpret_cast<LPARAM>(&info), true},
        {0, 310, WM_COMMAND, IDOK, 0, false},
        {0, 0, WM_COMMAND, IDHELP, 0, false},
        {0, 0, WM_HELP, 0, reinterpret_cast<LPARAM>(&info), false},
        // PSN_HELP counts for property pages only.
        {0, 310, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), false},
        {2, 310, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), false},
        {1, 0, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.Page) + " " + std::to_string(r.HelpId) + " " +
                     std::to_string(r.Message) + " " + std::to_string(r.WParam));
        DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, "Help", 100, 50);
        t.Add(kButton, nullptr, BS_PUSHBUTTON, "?", 5, 5, 40, 14, IDHELP);
        Probe p("HELPDLG", r.Page, r.HelpId);
        HWND dialog = Create(t, &p);
        ASSERT_NE(dialog, nullptr);
        help.Requests.clear();
        SendMessageA(dialog, r.Message, r.WParam, r.LParam);
        if (r.Opens) {
            ASSERT_TRUE(help.WaitForRequest(5000));
            EXPECT_EQ(help.Requests[0].Command, static_cast<unsigned>(HELP_CONTEXT));
            EXPECT_EQ(help.Requests[0].Data, r.HelpId);
            EXPECT_EQ(help.Requests[0].File, "molvex.hlp");
        } else {
            EXPECT_FALSE(help.WaitForRequest(200));
        }
        DestroyWindow(dialog);
    }
}

namespace {

struct SheetState {
    HWND Sheet = nullptr;
    HWND Tabs = nullptr;
    HWND Page = nullptr;
};

// A modeless property sheet with one page, whose procedure routes its
// messages as a page.
SheetState OpenSheet(const DialogTemplate& page, Probe* probe) {
    g_Probe = probe;
    PROPSHEETPAGEA psp = {};
    psp.dwSize = sizeof(psp);
    psp.dwFlags = PSP_DLGINDIRECT | PSP_HASHELP;
    psp.hInstance = GetModuleHandleA(nullptr);
    psp.pResource = page.Get();
    psp.pfnDlgProc = ProbeProc;
    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_HASHELP | PSH_NOAPPLYNOW;
    psh.hInstance = psp.hInstance;
    psh.pszCaption = "Sheet";
    psh.nPages = 1;
    psh.ppsp = &psp;
    SheetState s;
    s.Sheet = reinterpret_cast<HWND>(PropertySheetA(&psh));
    if (s.Sheet) {
        s.Tabs = reinterpret_cast<HWND>(SendMessageA(s.Sheet, PSM_GETTABCONTROL, 0, 0));
        s.Page = reinterpret_cast<HWND>(SendMessageA(s.Sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    return s;
}

} // namespace

TEST_F(Localize, PropertyPage) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_TAB_CLASSES};
    InitCommonControlsEx(&init);
    HelpWindow help;
    ASSERT_NE(help.Window, nullptr);
    struct Row {
        bool Rtl;
        int HelpId;
    } rows[] = {{false, 0}, {true, 0}, {true, 42}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.Rtl ? "rtl " : "ltr ") + std::to_string(r.HelpId));
        g_Language.RightToLeft = r.Rtl;
        DialogTemplate t(WS_POPUP | WS_CAPTION, "Page title", 200, 100);
        t.Add(kStatic, nullptr, SS_LEFT, "Page text", 7, 7, 100, 10, 1);
        t.Add(kEdit, nullptr, ES_LEFT | WS_BORDER, "", 7, 25, 100, 14, 2);
        Probe p("PAGEDLG", 1, r.HelpId);
        SheetState s = OpenSheet(t, &p);
        ASSERT_NE(s.Sheet, nullptr);
        ASSERT_NE(s.Tabs, nullptr);
        ASSERT_EQ(s.Page, p.Dialog);
        Pump(100);

        for (HWND w : {s.Sheet, s.Tabs, s.Page})
            EXPECT_EQ((GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, r.Rtl);

        // The page keeps its title and size; its controls are localized.
        EXPECT_EQ(p.After.Title, "Page title");
        EXPECT_EQ(WindowText(s.Page), "Page title");
        EXPECT_TRUE(EqualRect(&p.After.Screen, &p.Before.Screen));
        ASSERT_EQ(p.After.Children.size(), 2u);
        EXPECT_EQ(p.After.Children[0].Text, "Seitentext");
        EXPECT_EQ(p.After.Children[1].Text, "");
        for (const Child& c : p.Before.Children)
            ExpectMovedTo(p, c, Placed(p.Before, c, 150, 120, false));

        // The sheet's Help button sends the page PSN_HELP.
        HWND helpButton = GetDlgItem(s.Sheet, IDHELP);
        ASSERT_NE(helpButton, nullptr);
        EXPECT_TRUE(IsWindowEnabled(helpButton));
        help.Requests.clear();
        SendMessageA(helpButton, BM_CLICK, 0, 0);
        EXPECT_TRUE(help.WaitForRequest(5000));
        if (!help.Requests.empty()) {
            EXPECT_EQ(help.Requests[0].Command, static_cast<unsigned>(HELP_CONTEXT));
            EXPECT_EQ(help.Requests[0].Data, r.HelpId);
            EXPECT_EQ(help.Requests[0].File, "molvex.hlp");
        }
        DestroyWindow(s.Sheet);
    }
}
