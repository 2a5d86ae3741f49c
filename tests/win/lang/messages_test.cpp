// GetMessageText while a language file is loaded: the program's own string
// table is the only source, even with a language module in place.
#include "process_language.h"

#include "app/frame.h"
#include "app/text.h"
#include "res/resource.h"

#include "support/testutil.h"

#include <gtest/gtest.h>

using namespace testutil;

TEST(MessageTexts, LoadedFileTakesTheProgramTableNotTheModule) {
    ASSERT_TRUE(langtest::LoadProcessLanguage());
    HINSTANCE self = GetModuleHandleA(nullptr);
    std::string folder = FreshFolder("module_and_file") + "\\";
    ASSERT_TRUE(CopyFileTo(Dist("mvxlng.dll"), folder + "mvxlng.dll"));
    g_ExtResource.Load(self, folder.c_str());
    ASSERT_TRUE(g_ExtResource.Loaded);
    // The module does hold texts of its own for these ids.
    char moduleText[256];
    ASSERT_GT(LoadStringA(g_ResourceModule, IDS_CAPTION, moduleText, dimof(moduleText)), 0);
    EXPECT_STREQ(moduleText, "Uninstall Molvex");

    struct Row {
        int Id;
        std::string Text;
    } rows[] = {
        // No entry: the program's own text.
        {IDS_CAPTION, Ansi("卸载 Molvex")},
        // An entry for the program's text translates it.
        {IDS_DONE, "Done from the file"},
        // An entry for the module's text is never reached.
        {IDS_CONFIRM, Ansi("继续卸载 Molvex 吗？")},
        // 300 bytes cut to the 255 of a message text, and back to the last
        // whole double-byte character.
        {IDS_HELP_LINK, langtest::Repeat(Ansi("帮"), 127)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(GetMessageText(r.Id), r.Text) << r.Id;
    g_ExtResource.Free();
}
