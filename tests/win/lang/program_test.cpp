// dist/uninstall.exe with a language file and language modules beside it:
// translated message and dialog texts, the scale entry, right-to-left
// layout, help requests, and the templates that lngtool writes.
#include "driver.h"

#include "app/text.h"
#include "lang/translate.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace testutil;
using namespace langtest;

namespace {

// SETUPDLG without any language file, read once.
const DialogState& Baseline() {
    static DialogState state;
    static bool read = false;
    if (!read) {
        Session run = StartSetup(Install("baseline", ""));
        if (run.Dialog)
            state = ReadDialog(run.Dialog);
        Finish(run);
        read = true;
    }
    return state;
}

DialogState ReadSetupWith(const char* name, const std::string& lng,
                          const std::string& module = "") {
    Session run = StartSetup(Install(name, lng, module));
    DialogState state;
    if (run.Dialog)
        state = ReadDialog(run.Dialog);
    EXPECT_TRUE(Finish(run)) << name;
    return state;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

void PressF1(HWND dialog) {
    SetForegroundWindow(dialog);
    Pump(100);
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_F1;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// The dialog of `pid` other than `previous`, once `previous` is gone.
HWND WaitForNextDialog(HWND previous, DWORD pid) {
    DWORD start = GetTickCount();
    while (IsWindow(previous) && GetTickCount() - start < 20000)
        Pump(50);
    return WaitForWindow("#32770", nullptr, 20000, pid);
}

} // namespace

TEST(Program, MessageTextsComeFromTheLanguageFile) {
    std::string lng = LanguageFile({
        KeyLine(kMessageText, nullptr, Ansi("卸载 Molvex"), "Caption T"),
        KeyLine(kMessageText, nullptr, Ansi("卸载已经完成"), "Done T"),
        // The same wording as a dialog text must not be taken.
        KeyLine(kDialogText, nullptr, Ansi("你应该手动删除 %s"), "wrong kind %s"),
    });
    std::string folder = Install("messages", lng);
    Process p = Start("\"" + folder + "\\uninstall.exe\" /warning", folder);
    HWND box = WaitForWindow("#32770", "Caption T", 20000, p.Id);
    ASSERT_NE(box, nullptr);
    char expected[512];
    FormatWithText(expected, sizeof(expected), Ansi("你应该手动删除 %s").c_str(),
                   (folder + "\\uninstall.exe").c_str());
    EXPECT_EQ(MessageBoxText(box), std::string("Done T\n") + expected);
    PressButton(box, IDOK);
    EXPECT_TRUE(Wait(p, 20000));
}

TEST(Program, NoLanguageFileKeepsTheDialog) {
    const DialogState& base = Baseline();
    ASSERT_NE(base.Window, nullptr);
    EXPECT_EQ(base.Title, Ansi("Molvex 安装"));
    EXPECT_EQ(base.ExStyle & WS_EX_LAYOUTRTL, 0);
    // A language file without entries for this dialog changes nothing.
    DialogState other = ReadSetupWith("unrelated", LanguageFile({"0123abcd=\"x\""}));
    ASSERT_EQ(other.Controls.size(), base.Controls.size());
    EXPECT_EQ(other.Title, base.Title);
    EXPECT_TRUE(EqualRect(&other.Screen, &base.Screen));
    for (size_t i = 0; i < base.Controls.size(); i++) {
        EXPECT_EQ(other.Controls[i].Text, base.Controls[i].Text) << i;
        EXPECT_TRUE(EqualRect(&other.Controls[i].Client, &base.Controls[i].Client)) << i;
    }
}

TEST(Program, DialogTitleAndControlTexts) {
    const DialogState& base = Baseline();
    ASSERT_NE(base.Window, nullptr);
    std::string help = Ansi("帮助");
    std::string lng = LanguageFile({
        KeyLine(kDialogText, "SETUPDLG", base.Title, "Setup T"),
        KeyLine(kDialogText, "SETUPDLG", help, "Help T"),
        KeyLine(kDialogText, "CONTEXTITEMS", Ansi("确定"), "other dialog"),
        KeyLine(kMessageText, nullptr, Ansi("确定"), "message kind"),
    });
    DialogState s = ReadSetupWith("texts", lng);
    EXPECT_EQ(s.Title, "Setup T");
    ASSERT_EQ(s.Controls.size(), base.Controls.size());
    int translated = 0;
    for (size_t i = 0; i < base.Controls.size(); i++) {
        bool isHelp = base.Controls[i].Text == help;
        translated += isHelp;
        EXPECT_EQ(s.Controls[i].Text, isHelp ? "Help T" : base.Controls[i].Text) << i;
    }
    EXPECT_EQ(translated, 1);
}

TEST(Program, ScaleEntryResizesAndMovesEveryControl) {
    const DialogState& base = Baseline();
    ASSERT_NE(base.Window, nullptr);
    const int w = 120, h = 110;
    DialogState s =
        ReadSetupWith("scale", LanguageFile({KeyLine(kDialogText, "SETUPDLG", "", "120*110")}));
    ASSERT_EQ(s.Controls.size(), base.Controls.size());
    int frameW = Width(base.Screen) + 1 - base.Client.right;
    int frameH = Height(base.Screen) + 1 - base.Client.bottom;
    int frameH2 = frameH - GetSystemMetrics(SM_CYDLGFRAME);
    EXPECT_EQ(s.Screen.left, base.Screen.left);
    EXPECT_EQ(s.Screen.top, base.Screen.top);
    EXPECT_EQ(Width(s.Screen), base.Client.right * w / 100 + frameW);
    EXPECT_EQ(Height(s.Screen), base.Client.bottom * h / 100 + frameH);
    EXPECT_EQ(s.Title, base.Title); // the scale entry is no title
    for (size_t i = 0; i < base.Controls.size(); i++) {
        const RECT& r = base.Controls[i].Screen;
        const RECT& got = s.Controls[i].Client;
        SCOPED_TRACE(base.Controls[i].ClassName + " " + std::to_string(base.Controls[i].Id));
        EXPECT_EQ(got.left, (r.left - base.Screen.left - frameW / 2) * w / 100);
        EXPECT_EQ(got.top, (r.top - base.Screen.top - frameH2) * h / 100);
        EXPECT_EQ(Width(got), (Width(r) + 1) * w / 100);
        EXPECT_EQ(Height(got), (Height(r) + 1) * h / 100);
        EXPECT_EQ(s.Controls[i].Text, base.Controls[i].Text);
    }
    // 100*100 and a text without "*" leave everything as it was.
    for (const char* entry : {"100*100", "120"}) {
        DialogState same =
            ReadSetupWith("noscale", LanguageFile({KeyLine(kDialogText, "SETUPDLG", "", entry)}));
        EXPECT_TRUE(EqualRect(&same.Screen, &base.Screen)) << entry;
        ASSERT_EQ(same.Controls.size(), base.Controls.size());
        for (size_t i = 0; i < base.Controls.size(); i++)
            EXPECT_TRUE(EqualRect(&same.Controls[i].Client, &base.Controls[i].Client)) << entry;
    }
}

TEST(Program, RightToLeftLayout) {
    struct Case {
        const char* Name;
        std::string Lng;
        std::string Module;
        bool Rtl;
    } cases[] = {
        {"rtl_none", "", "", false},
        {"rtl_line", LanguageFile({KeyLine(kDialogText, "LTR", "LTR", "RTL")}), "", true},
        {"rtl_lower", LanguageFile({KeyLine(kDialogText, "LTR", "LTR", "rtl")}), "", false},
        {"rtl_module", "", Build("tests\\win\\lang\\mvxlng_rtl.dll"), true},
        {"rtl_module_ltr", LanguageFile({KeyLine(kDialogText, "LTR", "LTR", "LTR")}),
         Build("tests\\win\\lang\\mvxlng_rtl.dll"), true},
        {"rtl_plain_module", "", Dist("mvxlng.dll"), false},
    };
    for (const Case& c : cases) {
        DialogState s = ReadSetupWith(c.Name, c.Lng, c.Module);
        ASSERT_NE(s.Window, nullptr) << c.Name;
        EXPECT_EQ((s.ExStyle & WS_EX_LAYOUTRTL) != 0, c.Rtl) << c.Name;
    }
}

TEST(Program, HelpOpensTheSetupTopicOnly) {
    HelpWindow help;
    ASSERT_NE(help.Window, nullptr);
    Session run = StartSetup(Install("help", ""));
    ASSERT_NE(run.Dialog, nullptr);

    PressButton(run.Dialog, IDHELP);
    ASSERT_TRUE(help.WaitForRequest(10000)) << "Help button";
    EXPECT_EQ(help.Requests[0].Command, static_cast<unsigned>(HELP_CONTEXT));
    EXPECT_EQ(help.Requests[0].Data, 268);
    EXPECT_EQ(help.Requests[0].File, "molvex.hlp");
    help.Requests.clear();

    PressF1(run.Dialog);
    ASSERT_TRUE(help.WaitForRequest(10000)) << "F1";
    EXPECT_EQ(help.Requests[0].Command, static_cast<unsigned>(HELP_CONTEXT));
    EXPECT_EQ(help.Requests[0].Data, 268);
    help.Requests.clear();

    PressButton(run.Dialog, IDOK);
    HWND done = WaitForNextDialog(run.Dialog, run.Process.Id);
    ASSERT_NE(done, nullptr);
    Pump(300);
    PressF1(done);
    PressButton(done, IDHELP);
    EXPECT_FALSE(help.WaitForRequest(2000)) << "DONEDLG has no help topic";
    run.Dialog = done;
    EXPECT_TRUE(Finish(run, IDOK));
}

namespace {

// The value on the line of `key` replaced; false when the line is missing.
bool FillLine(std::string* file, const std::string& key, const std::string& value) {
    size_t at = file->find("\n" + key + "=\"");
    if (at == std::string::npos)
        return false;
    size_t end = file->find_first_of("\r\n", at + 1);
    file->replace(at + 1, end - at - 1, key + "=\"" + value + "\"");
    return true;
}

std::string DialogKey(const std::string& text) {
    char key[9];
    FormTranslationKey(key, "SETUPDLG", text.c_str(), kDialogText);
    return key;
}

} // namespace

TEST(Program, LngtoolTemplateTranslatesExactlyTheFilledTexts) {
    const DialogState& base = Baseline();
    ASSERT_NE(base.Window, nullptr);
    std::string folder = FreshFolder("template");
    std::string output = folder + "\\uninstall.lng";
    ASSERT_EQ(testutil::Run("\"" + Build("tools\\lngtool.exe") + "\" template \"" +
                            Dist("uninstall.exe") + "\" \"" + output + "\""),
              0);
    std::string file;
    ASSERT_TRUE(ReadFileBytes(output, &file));
    EXPECT_NE(file.find("\n***messages**\r\n"), std::string::npos);
    // A line for every text the program shows, keyed as the program keys it.
    EXPECT_TRUE(FillLine(&file, DialogKey(""), "100*100"));
    for (const Control& c : base.Controls) {
        if (!c.Text.empty()) {
            EXPECT_NE(file.find("\n" + DialogKey(c.Text) + "=\""), std::string::npos) << c.Text;
        }
    }

    // Untouched, the template changes nothing.
    DialogState same = ReadSetupWith("template_same", file);
    EXPECT_EQ(same.Title, base.Title);
    ASSERT_EQ(same.Controls.size(), base.Controls.size());
    for (size_t i = 0; i < base.Controls.size(); i++) {
        EXPECT_EQ(same.Controls[i].Text, base.Controls[i].Text) << i;
        EXPECT_TRUE(EqualRect(&same.Controls[i].Client, &base.Controls[i].Client)) << i;
    }

    // Two texts filled in: exactly those two change.
    std::string selectAll = Ansi("全部选定(&A)");
    ASSERT_TRUE(FillLine(&file, DialogKey(base.Title), "Filled title"));
    ASSERT_TRUE(FillLine(&file, DialogKey(selectAll), "Select \"all\""));
    DialogState filled = ReadSetupWith("template_filled", file);
    EXPECT_EQ(filled.Title, "Filled title");
    ASSERT_EQ(filled.Controls.size(), base.Controls.size());
    for (size_t i = 0; i < base.Controls.size(); i++) {
        const std::string& before = base.Controls[i].Text;
        EXPECT_EQ(filled.Controls[i].Text, before == selectAll ? "Select \"all\"" : before) << i;
    }
}

TEST(Program, ShippedEnglishLanguageFile) {
    std::string lng;
    ASSERT_TRUE(ReadFileBytes(Dist("uninstall.lng"), &lng));
    DialogState s = ReadSetupWith("english", lng);
    ASSERT_NE(s.Window, nullptr);
    EXPECT_EQ(s.Title, "Molvex setup");
    // Every text of the dialog is translated: none keeps a Chinese byte.
    for (const Control& c : s.Controls) {
        for (unsigned char b : c.Text)
            ASSERT_LT(b, 0x80) << c.ClassName << " " << c.Id << ": " << c.Text;
    }
    std::string folder = Install("english_warning", lng);
    Process p = Start("\"" + folder + "\\uninstall.exe\" /warning", folder);
    HWND box = WaitForWindow("#32770", "Uninstall Molvex", 20000, p.Id);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Uninstallation has been completed\nYou should delete " +
                                       folder + "\\uninstall.exe manually");
    PressButton(box, IDOK);
    EXPECT_TRUE(Wait(p, 20000));
}
