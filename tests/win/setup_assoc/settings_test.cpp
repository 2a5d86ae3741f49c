// The integration settings record against Wine's registry and the real
// SETUPDLG template.
#include "res/resource.h"
#include "setup/settings.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace testutil;

static const char* const kGroupKeys[] = {
    "Software\\Molvex\\Setup\\.mvx", "Software\\Molvex\\Setup\\.zip",
    "Software\\Molvex\\Setup\\.cab", "Software\\Molvex\\Setup\\.arj",
    "Software\\Molvex\\Setup\\.lzh", "Software\\Molvex\\Setup\\.ace",
    "Software\\Molvex\\Setup\\.tar", "Software\\Molvex\\Setup\\.gz",
    "Software\\Molvex\\Setup\\.uue", "Software\\Molvex\\Setup\\.bz2",
    "Software\\Molvex\\Setup\\.jar", "Software\\Molvex\\Setup\\.iso",
};

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        RegRemoveTree(HKEY_CURRENT_USER, "Software\\Molvex");
        RegRemoveTree(HKEY_CLASSES_ROOT, ".iso");
    }
    void TearDown() override { SetUp(); }
};

// A record whose every byte, spare ones included, holds `fill`.
static IntegrationSettings Filled(unsigned char fill) {
    IntegrationSettings s;
    memset(&s, fill, sizeof(s));
    return s;
}

static std::string Bits(const IntegrationSettings& s) {
    std::string bits;
    for (size_t i = 0; i < sizeof(s); i++)
        bits += static_cast<char>('0' + s.Bytes()[i]);
    return bits;
}

TEST_F(Settings, NewUserGetsDefaultsAndSpareBytesStay) {
    IntegrationSettings s = Filled(7);
    ReadIntegrationSettings(&s);
    // Groups all set; spare bytes 12-19 untouched; links, shell, cascade, icons.
    EXPECT_EQ(Bits(s), std::string("111111111111") + "77777777" + "001101");
}

TEST_F(Settings, StoredNumbersAreReducedToOneOrZero) {
    struct Case {
        const char* Key;
        const char* Name;
        DWORD Stored;
        int Position;
        unsigned char Expected;
    } cases[] = {
        {"Software\\Molvex\\Setup\\.zip", "Set", 0, 1, 0},
        {"Software\\Molvex\\Setup\\.zip", "Set", 5, 1, 1},
        {"Software\\Molvex\\Setup\\.jar", "Set", 0, 10, 0},
        {"Software\\Molvex\\Setup\\Links", "Desktop", 0x100, 20, 1},
        {"Software\\Molvex\\Setup\\Links", "StartMenu", 1, 21, 1},
        {"Software\\Molvex\\Setup\\Links", "Programs", 0, 22, 0},
        {"Software\\Molvex\\Setup", "ShellExt", 0, 23, 0},
        {"Software\\Molvex\\Setup", "CascadedMenu", 2, 24, 1},
        {"Software\\Molvex\\Setup", "MenuIcons", 0, 25, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + " " + c.Name + " " + std::to_string(c.Stored));
        SetUp();
        RegPutDword(HKEY_CURRENT_USER, c.Key, c.Name, c.Stored);
        IntegrationSettings s = Filled(9);
        ReadIntegrationSettings(&s);
        EXPECT_EQ(s.Bytes()[c.Position], c.Expected);
    }
    // A stored 5 is saved back as 1.
    SetUp();
    RegPutDword(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\.zip", "Set", 5);
    IntegrationSettings s = Filled(0);
    ReadIntegrationSettings(&s);
    SaveIntegrationSettings(&s);
    DWORD value = 0;
    ASSERT_TRUE(RegDword(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\.zip", "Set", &value));
    EXPECT_EQ(value, 1u);
}

TEST_F(Settings, OwnAssociationNamesOneOfOurProgIds) {
    struct Case {
        const char* Value; // null: no ".iso" key
        bool Own;
    } cases[] = {
        {nullptr, false},      {"", false},        {"Molvex", true},        {"molvex.zip", true},
        {"MOLVEX.ZIP", true},  {"mOlVeX", true},   {"Molvex.ZIP.1", false}, {"Molvex ", false},
        {"Molvex.REV", false}, {" Molvex", false}, {"MolvexZIP", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Value ? std::string("\"") + c.Value + "\"" : "no key");
        SetUp();
        if (c.Value)
            RegPutString(HKEY_CLASSES_ROOT, ".iso", "", c.Value);
        EXPECT_EQ(IsOwnAssociation(".iso"), c.Own);
    }
    // A value that does not fit 80 bytes reads as absent, even when it
    // starts with our name.
    SetUp();
    RegPutString(HKEY_CLASSES_ROOT, ".iso", "",
                 (std::string("Molvex") + std::string(74, ' ')).c_str());
    EXPECT_FALSE(IsOwnAssociation(".iso"));
}

TEST_F(Settings, IsoIsProposedOnlyWhenNobodyElseOwnsIt) {
    const std::string fits(79, 'x');
    const std::string tooLong(80, 'x');
    struct Case {
        const char* Owner; // null: ".iso" does not exist
        int Set;           // -1: no "Set" under Setup\.iso
        unsigned char Expected;
    } cases[] = {
        {nullptr, -1, 1},         {nullptr, 0, 0},
        {nullptr, 3, 1},          {"", -1, 1},
        {"OtherIso", -1, 0},      {"OtherIso", 1, 0},
        {"Molvex", -1, 1},        {"molvex.zip", -1, 1},
        {"MOLVEX.ZIP", 0, 0},     {"Molvex.ZIP.1", -1, 0},
        {"Molvex ", -1, 0},       {fits.c_str(), -1, 0},
        {tooLong.c_str(), -1, 1}, {tooLong.c_str(), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Owner ? c.Owner : "(none)") + " Set " + std::to_string(c.Set));
        SetUp();
        if (c.Owner)
            RegPutString(HKEY_CLASSES_ROOT, ".iso", "", c.Owner);
        if (c.Set >= 0)
            RegPutDword(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\.iso", "Set", c.Set);
        IntegrationSettings s = Filled(0);
        ReadIntegrationSettings(&s);
        EXPECT_EQ(s.AssociateGroup[kIsoGroup], c.Expected);
        // The rule touches ISO alone.
        EXPECT_EQ(s.AssociateGroup[kIsoGroup - 1], 1);
    }
}

TEST_F(Settings, SavingStoresExactlySeventeenNumbers) {
    IntegrationSettings s = Filled(0xEE); // spare bytes must play no part
    const unsigned char groups[kGroupCount] = {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 0, 1};
    memcpy(s.AssociateGroup, groups, sizeof(groups));
    s.LinkOnDesktop = 1;
    s.LinkInStartMenu = 0;
    s.CreateProgramGroup = 0;
    s.IntegrateShell = 1;
    s.CascadeMenus = 1;
    s.ShowMenuIcons = 0;
    SaveIntegrationSettings(&s);

    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, "Software\\Molvex"),
              std::vector<std::string>{"Setup"});
    std::vector<std::string> setupKeys =
        RegSubkeyNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup");
    std::sort(setupKeys.begin(), setupKeys.end());
    EXPECT_EQ(setupKeys,
              (std::vector<std::string>{".ace", ".arj", ".bz2", ".cab", ".gz", ".jar", ".lzh",
                                        ".mvx", ".tar", ".uue", ".zip", "Links"}));
    EXPECT_TRUE(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex").empty());

    for (int g = 0; g < kIsoGroup; g++) {
        SCOPED_TRACE(kGroupKeys[g]);
        EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, kGroupKeys[g]), std::vector<std::string>{"Set"});
        DWORD value = 99;
        EXPECT_TRUE(RegDword(HKEY_CURRENT_USER, kGroupKeys[g], "Set", &value));
        EXPECT_EQ(value, groups[g]);
    }
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kGroupKeys[kIsoGroup]));

    struct Stored {
        const char* Key;
        const char* Name;
        DWORD Expected;
    } stored[] = {
        {"Software\\Molvex\\Setup\\Links", "Desktop", 1},
        {"Software\\Molvex\\Setup\\Links", "StartMenu", 0},
        {"Software\\Molvex\\Setup\\Links", "Programs", 0},
        {"Software\\Molvex\\Setup", "ShellExt", 1},
        {"Software\\Molvex\\Setup", "CascadedMenu", 1},
        {"Software\\Molvex\\Setup", "MenuIcons", 0},
    };
    for (const Stored& v : stored) {
        SCOPED_TRACE(v.Name);
        DWORD value = 99;
        EXPECT_TRUE(RegDword(HKEY_CURRENT_USER, v.Key, v.Name, &value));
        EXPECT_EQ(value, v.Expected);
    }
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\Links").size(), 3u);
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup").size(), 3u);

    // Read back: the same choices, ISO proposed afresh.
    IntegrationSettings back = Filled(0);
    ReadIntegrationSettings(&back);
    IntegrationSettings expected = s;
    expected.AssociateGroup[kIsoGroup] = 1;
    memset(expected.Spare, 0, sizeof(expected.Spare));
    EXPECT_EQ(Bits(back), Bits(expected));
}

TEST_F(Settings, ClearedIsoIsProposedAgainUnlessAnotherProgramOwnsIt) {
    IntegrationSettings s = Filled(0);
    ReadIntegrationSettings(&s);
    s.AssociateGroup[kIsoGroup] = 0;
    SaveIntegrationSettings(&s);

    IntegrationSettings next = Filled(0);
    ReadIntegrationSettings(&next);
    EXPECT_EQ(next.AssociateGroup[kIsoGroup], 1);

    RegPutString(HKEY_CLASSES_ROOT, ".iso", "", "Molvex");
    ReadIntegrationSettings(&next);
    EXPECT_EQ(next.AssociateGroup[kIsoGroup], 1);

    RegPutString(HKEY_CLASSES_ROOT, ".iso", "", "Burner.Image");
    ReadIntegrationSettings(&next);
    EXPECT_EQ(next.AssociateGroup[kIsoGroup], 0);
}

static INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

class SettingsDialog : public Settings {
  protected:
    HMODULE RichEdit = nullptr;
    HWND Dialog = nullptr;

    void SetUp() override {
        Settings::SetUp();
        RichEdit = LoadLibraryA("riched32.dll");
        Dialog =
            CreateDialogParamA(GetModuleHandleA(nullptr), "SETUPDLG", nullptr, PlainDialogProc, 0);
        ASSERT_NE(Dialog, nullptr);
    }
    void TearDown() override {
        if (Dialog)
            DestroyWindow(Dialog);
        if (RichEdit)
            FreeLibrary(RichEdit);
        Settings::TearDown();
    }

    // The check marks of boxes 5101-5118 as 0/1 digits.
    std::string Marks() const {
        std::string marks;
        for (int id = IDC_GROUP_FIRST; id <= IDC_MENU_ICONS; id++)
            marks += static_cast<char>('0' + IsDlgButtonChecked(Dialog, id));
        return marks;
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Dialog, id)) != 0; }
};

TEST_F(SettingsDialog, RecordToBoxesAndBack) {
    const char* const patterns[] = {
        "101100111010"
        "11111111"
        "100101",
        "010011000101"
        "00000000"
        "011010",
        "111111111111"
        "00000000"
        "111111",
    };
    for (const char* pattern : patterns) {
        SCOPED_TRACE(pattern);
        IntegrationSettings s = Filled(0);
        for (size_t i = 0; i < sizeof(s); i++)
            s.Bytes()[i] = static_cast<unsigned char>(pattern[i] - '0');
        SettingsToDialog(Dialog, &s);
        std::string p(pattern);
        EXPECT_EQ(Marks(), p.substr(0, 12) + p.substr(20, 6));
        EXPECT_EQ(Enabled(IDC_CASCADE), s.IntegrateShell == 1);
        EXPECT_EQ(Enabled(IDC_MENU_ICONS), s.IntegrateShell == 1);

        IntegrationSettings back = Filled(5);
        SettingsFromDialog(Dialog, &back);
        EXPECT_EQ(Bits(back), p.substr(0, 12) + "55555555" + p.substr(20, 6));
    }
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
}

TEST_F(SettingsDialog, ShellBoxDisablesItsTwoBoxesAndKeepsTheirMarks) {
    IntegrationSettings s = Filled(0);
    ReadIntegrationSettings(&s);
    s.CascadeMenus = 1;
    SettingsToDialog(Dialog, &s);
    ASSERT_TRUE(Enabled(IDC_CASCADE));

    // The click on 5116 as the setup dialog handles it.
    CheckDlgButton(Dialog, IDC_SHELL, BST_UNCHECKED);
    SettingsFromDialog(Dialog, &s);
    SettingsToDialog(Dialog, &s);
    EXPECT_FALSE(Enabled(IDC_CASCADE));
    EXPECT_FALSE(Enabled(IDC_MENU_ICONS));
    EXPECT_EQ(IsDlgButtonChecked(Dialog, IDC_CASCADE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(Dialog, IDC_MENU_ICONS), BST_CHECKED);

    CheckDlgButton(Dialog, IDC_SHELL, BST_CHECKED);
    SettingsFromDialog(Dialog, &s);
    SettingsToDialog(Dialog, &s);
    EXPECT_TRUE(Enabled(IDC_CASCADE));
    EXPECT_TRUE(Enabled(IDC_MENU_ICONS));
    EXPECT_EQ(Marks(), "111111111111"
                       "001111");
}

TEST_F(SettingsDialog, SelectAllChecksOnlyTheGroupsAndStoresNothing) {
    IntegrationSettings s = Filled(0);
    s.LinkInStartMenu = 1;
    s.CascadeMenus = 1;
    SettingsToDialog(Dialog, &s);
    SelectAllGroups(Dialog);
    EXPECT_EQ(Marks(), "111111111111"
                       "010010");
    EXPECT_FALSE(Enabled(IDC_CASCADE));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
}
