#include "app/frame.h"
#include "app/text.h"
#include "res/resource.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <string>

using testutil::Ansi;

namespace {

class Messages : public ::testing::Test {
  protected:
    void SetUp() override {
        instance_ = GetModuleHandleA(nullptr);
        g_ExtResource.Load(instance_, nullptr);
    }
    void TearDown() override { g_ExtResource.Free(); }
    // A fresh folder holding `module` under the name mvxlng.dll.
    std::string ModuleFolder(const char* name, const std::string& module) {
        std::string folder = testutil::FreshFolder(name);
        EXPECT_TRUE(testutil::CopyFileTo(module, folder + "\\mvxlng.dll"));
        return folder + "\\";
    }
    HINSTANCE instance_ = nullptr;
};

const struct {
    int Id;
    const char* Chinese;
    const char* English;
} kTexts[] = {
    {IDS_DISPLAY_NAME, "Molvex 压缩专家", "Molvex archiver"},
    {IDS_HELP_LINK, "Molvex 帮助", "Molvex help"},
    {IDS_MANUAL_LINK, "控制台 MVX 手册", "Console MVX manual"},
    {IDS_CAPTION, "卸载 Molvex", "Uninstall Molvex"},
    {IDS_DONE, "卸载已经完成", "Uninstallation has been completed"},
    {IDS_DELETE_MANUALLY, "你应该手动删除 %s", "You should delete %s manually"},
    {IDS_CONFIRM, "继续卸载 Molvex 吗？", "Continue uninstalling Molvex?"},
    {IDS_NO_LIST, "无法打开列表文件 %s", "Cannot open the list file %s"},
    {IDS_ARCHIVE_TYPE, "Molvex 档案文件", "Molvex archive file"},
    {IDS_ZIP_TYPE, "Molvex ZIP 档案文件", "Molvex ZIP archive file"},
    {IDS_VOLUME_TYPE, "MVX 恢复卷", "MVX recovery volume"},
};

TEST_F(Messages, ProgramTextsInCodePage936) {
    EXPECT_FALSE(g_ExtResource.Loaded);
    EXPECT_EQ(g_ResourceModule, instance_);
    EXPECT_EQ(g_ProgramInstance, instance_);
    for (const auto& t : kTexts)
        EXPECT_EQ(GetMessageText(t.Id), Ansi(t.Chinese)) << t.Id;
    // 5104 as the bytes code page 936 gives it.
    EXPECT_EQ(std::string(GetMessageText(IDS_CAPTION)), "\xD0\xB6\xD4\xD8 Molvex");
    EXPECT_STREQ(GetMessageText(5199), "");
}

TEST_F(Messages, RingOfEightBuffers) {
    const char* first = GetMessageText(IDS_CAPTION);
    const char* seen[7];
    for (const char*& p : seen) {
        p = GetMessageText(IDS_DONE);
        EXPECT_NE(p, first);
    }
    for (int i = 0; i < 7; i++)
        for (int j = i + 1; j < 7; j++)
            EXPECT_NE(seen[i], seen[j]);
    // Still intact after seven more calls; the eighth takes its buffer.
    EXPECT_EQ(first, Ansi("卸载 Molvex"));
    EXPECT_EQ(GetMessageText(IDS_CONFIRM), first);
    EXPECT_EQ(first, Ansi("继续卸载 Molvex 吗？"));
}

TEST_F(Messages, LanguageModuleSuppliesTheTexts) {
    std::string folder = ModuleFolder("english", testutil::Dist("mvxlng.dll"));
    g_ExtResource.Load(instance_, folder.c_str());
    ASSERT_TRUE(g_ExtResource.Loaded);
    EXPECT_NE(g_ResourceModule, instance_);
    EXPECT_EQ(g_ProgramInstance, instance_);
    for (const auto& t : kTexts)
        EXPECT_STREQ(GetMessageText(t.Id), t.English) << t.Id;

    g_ExtResource.Free();
    EXPECT_FALSE(g_ExtResource.Loaded);
    EXPECT_EQ(g_ResourceModule, instance_);
    EXPECT_EQ(GetModuleHandleA((folder + "mvxlng.dll").c_str()), nullptr);
    EXPECT_EQ(GetMessageText(IDS_CAPTION), Ansi("卸载 Molvex"));
    g_ExtResource.Free();
    EXPECT_EQ(g_ResourceModule, instance_);
}

TEST_F(Messages, IdsTheModuleLacksComeFromTheProgram) {
    std::string folder =
        ModuleFolder("partial", testutil::Build("tests\\win\\app\\partial_lng.dll"));
    // A file name in the folder serves as well as the folder itself.
    std::string fileInFolder = folder + "uninstall.exe";
    g_ExtResource.Load(instance_, fileInFolder.c_str());
    ASSERT_TRUE(g_ExtResource.Loaded);
    EXPECT_STREQ(GetMessageText(IDS_CAPTION), "Partial caption");
    EXPECT_STREQ(GetMessageText(IDS_DELETE_MANUALLY), "Partial: remove %s by hand");
    // 5105 is missing from a block the module has, 5101 with its whole block.
    EXPECT_EQ(GetMessageText(IDS_DONE), Ansi("卸载已经完成"));
    EXPECT_EQ(GetMessageText(IDS_DISPLAY_NAME), Ansi("Molvex 压缩专家"));
}

TEST_F(Messages, LoadReleasesTheEarlierModule) {
    std::string english = ModuleFolder("english2", testutil::Dist("mvxlng.dll"));
    std::string partial =
        ModuleFolder("partial2", testutil::Build("tests\\win\\app\\partial_lng.dll"));
    g_ExtResource.Load(instance_, english.c_str());
    ASSERT_TRUE(g_ExtResource.Loaded);
    g_ExtResource.Load(instance_, partial.c_str());
    ASSERT_TRUE(g_ExtResource.Loaded);
    EXPECT_EQ(GetModuleHandleA((english + "mvxlng.dll").c_str()), nullptr);
    EXPECT_STREQ(GetMessageText(IDS_CAPTION), "Partial caption");

    std::string empty = testutil::FreshFolder("nomodule") + "\\";
    g_ExtResource.Load(instance_, empty.c_str());
    EXPECT_FALSE(g_ExtResource.Loaded);
    EXPECT_EQ(g_ResourceModule, instance_);
    EXPECT_EQ(GetModuleHandleA((partial + "mvxlng.dll").c_str()), nullptr);
    // A path too long for the buffer loads nothing.
    std::string longPath(1100, 'x');
    g_ExtResource.Load(instance_, longPath.c_str());
    EXPECT_FALSE(g_ExtResource.Loaded);
    EXPECT_EQ(g_ResourceModule, instance_);
}

TEST_F(Messages, DestructorFreesTheModule) {
    std::string folder = ModuleFolder("scoped", testutil::Dist("mvxlng.dll"));
    {
        ExtResource holder;
        EXPECT_FALSE(holder.Loaded);
        holder.Load(instance_, folder.c_str());
        ASSERT_TRUE(holder.Loaded);
        EXPECT_NE(GetModuleHandleA((folder + "mvxlng.dll").c_str()), nullptr);
    }
    EXPECT_EQ(GetModuleHandleA((folder + "mvxlng.dll").c_str()), nullptr);
    EXPECT_EQ(g_ResourceModule, instance_);
}

} // namespace
