#include "app/system.h"
#include "app/text.h"
#include "registry/registry.h"
#include "registry/tree_hooks.h"
#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace testutil;

namespace {

const char kRoot[] = "Software\\Molvex";
const char kScratch[] = "Software\\MvxTest";

// Raw write through advapi32, any type, so that the layer's reads meet data
// it did not write itself.
void PutRaw(HKEY root, const std::string& key, const char* name, DWORD type, const void* data,
            DWORD size) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS)
        << key;
    ASSERT_EQ(RegSetValueExA(k, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(k);
}

void MakeKey(HKEY root, const std::string& key) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS)
        << key;
    RegCloseKey(k);
}

// Removes a key with everything below it, opening each level relative to
// its parent: Wine refuses ANSI key paths of more than 260 characters, and
// some trees here are deeper than that.
void RemoveTree(HKEY parent, const char* name) {
    HKEY k;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return;
    char child[256];
    DWORD length = dimof(child);
    while (RegEnumKeyExA(k, 0, child, &length, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS) {
        RemoveTree(k, child);
        length = dimof(child);
        HKEY stuck;
        if (RegOpenKeyExA(k, child, 0, KEY_READ, &stuck) == ERROR_SUCCESS) {
            RegCloseKey(stuck);
            break; // it would not go
        }
    }
    RegCloseKey(k);
    RegDeleteKeyA(parent, name);
}

// A chain of `depth` nested keys named `name` below `top`, created one level
// at a time so that the whole path may grow past any single path buffer.
void MakeChain(HKEY root, const std::string& top, const std::string& name, int depth) {
    HKEY k;
    ASSERT_EQ(
        RegCreateKeyExA(root, top.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
        ERROR_SUCCESS);
    for (int i = 0; i < depth; i++) {
        HKEY next;
        LONG r = RegCreateKeyExA(k, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next,
                                 nullptr);
        RegCloseKey(k);
        ASSERT_EQ(r, ERROR_SUCCESS) << "level " << i;
        k = next;
    }
    RegCloseKey(k);
}

int ChainDepth(HKEY root, const std::string& top, const std::string& name) {
    HKEY k;
    if (RegOpenKeyExA(root, top.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return -1;
    int depth = 0;
    HKEY next;
    while (RegOpenKeyExA(k, name.c_str(), 0, KEY_READ, &next) == ERROR_SUCCESS) {
        RegCloseKey(k);
        k = next;
        depth++;
    }
    RegCloseKey(k);
    return depth;
}

// What a tree deletion did: the passes it ran and the keys each removed.
struct TreeLog {
    int Passes = 0;
    std::vector<std::pair<int, std::string>> Deleted;
};
TreeLog g_Log;

void RecordPass(int pass) {
    g_Log.Passes = pass;
}
void RecordKey(int pass, const char* path) {
    g_Log.Deleted.emplace_back(pass, path);
}

TreeLog RunTreeDeletion(HKEY root, const char* subkey) {
    g_Log = TreeLog();
    g_TreeDeletionHooks = {RecordPass, RecordKey};
    DeleteRegTree(root, subkey);
    g_TreeDeletionHooks = {nullptr, nullptr};
    return g_Log;
}

std::vector<std::string> DeletedIn(const TreeLog& log, int pass) {
    std::vector<std::string> keys;
    for (const auto& entry : log.Deleted)
        if (entry.first == pass)
            keys.push_back(entry.second);
    return keys;
}

class Registry : public ::testing::Test {
  protected:
    void SetUp() override {
        RemoveTree(HKEY_CURRENT_USER, kRoot);
        RemoveTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kRoot));
    }
    void TearDown() override { SetUp(); }
};

TEST_F(Registry, FamilyMatchesPrefix) {
    EXPECT_EQ(NtMajorVersion() == 0, Family9x());
}

TEST_F(Registry, SettingsKeyPathMapsEachRootCase) {
    struct Case {
        HKEY Root;
        const char* Subkey;
        const char* Mapped;
    } cases[] = {
        {HKEY_CURRENT_USER, "", "Software\\Molvex"},
        {HKEY_CURRENT_USER, "Setup\\MenuItems", "Software\\Molvex\\Setup\\MenuItems"},
        {HKEY_CURRENT_USER, "\\Software\\Classes", "Software\\Classes"},
        {HKEY_CURRENT_USER, "\\", ""},
        {HKEY_CURRENT_USER, "\\\\x", "\\x"},
        {HKEY_CLASSES_ROOT, ".zip", ".zip"},
        {HKEY_CLASSES_ROOT, "\\.zip", "\\.zip"},
        {HKEY_LOCAL_MACHINE, "\\Software", "\\Software"},
        {HKEY_LOCAL_MACHINE, "", ""},
    };
    for (const Case& c : cases) {
        char out[256];
        memset(out, 'Z', sizeof(out));
        EXPECT_TRUE(SettingsKeyPath(c.Root, c.Subkey, out, dimof(out))) << c.Subkey;
        EXPECT_STREQ(out, c.Mapped) << c.Subkey;
    }
}

// The mapping is what the operations really use: a value written through
// each mapped path is found at the raw path.
TEST_F(Registry, OperationsUseTheMappedPath) {
    struct Case {
        HKEY Root;
        const char* Subkey;
        HKEY RawRoot;
        const char* RawKey;
    } cases[] = {
        {HKEY_CURRENT_USER, "", HKEY_CURRENT_USER, "Software\\Molvex"},
        {HKEY_CURRENT_USER, "Setup\\.zip", HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\.zip"},
        {HKEY_CURRENT_USER, "\\Software\\MvxTest\\Abs", HKEY_CURRENT_USER,
         "Software\\MvxTest\\Abs"},
        {HKEY_CLASSES_ROOT, ".mvxtest", HKEY_CLASSES_ROOT, ".mvxtest"},
        {HKEY_LOCAL_MACHINE, "Software\\MvxTest", HKEY_LOCAL_MACHINE, "Software\\MvxTest"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetRegString(c.Root, c.Subkey, "Probe", "mapped")) << c.Subkey;
        std::string text;
        EXPECT_TRUE(RegString(c.RawRoot, c.RawKey, "Probe", &text)) << c.Subkey;
        EXPECT_EQ(text, "mapped") << c.Subkey;
        EXPECT_TRUE(HasRegKey(c.Root, c.Subkey)) << c.Subkey;
        DeleteRegValue(c.Root, c.Subkey, "Probe");
        EXPECT_FALSE(RegValueExists(c.RawRoot, c.RawKey, "Probe")) << c.Subkey;
    }
    RegRemoveTree(HKEY_CLASSES_ROOT, ".mvxtest");
    RegRemoveTree(HKEY_LOCAL_MACHINE, "Software\\MvxTest");
}

TEST_F(Registry, SetUserDwordCreatesTheKeyWithItsParents) {
    ASSERT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
    EXPECT_TRUE(SetUserDword("Setup\\Links", "Desktop", 1));
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(
        RegRead(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\Links", "Desktop", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(GetUserDword("Setup\\Links", "Desktop", 7), 1u);
    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, "Software\\Molvex"),
              std::vector<std::string>{"Setup"});
}

TEST_F(Registry, WritersStoreTypeAndExactBytes) {
    EXPECT_TRUE(SetUserString("W", "Empty", ""));
    EXPECT_TRUE(SetUserString("W", "", "default text"));
    EXPECT_TRUE(SetRegBinary(HKEY_CURRENT_USER, "W", "Bin", "\x00\xff\x10", 3));
    EXPECT_TRUE(SetRegBinary(HKEY_CURRENT_USER, "W", "NoBytes", "", 0));
    EXPECT_TRUE(SetRegDword(HKEY_CURRENT_USER, "W", "Num", 0x01020304));
    struct Case {
        const char* Name;
        DWORD Type;
        std::string Data;
    } cases[] = {
        {"Empty", REG_SZ, std::string("\0", 1)},
        {"", REG_SZ, std::string("default text\0", 13)},
        {"Bin", REG_BINARY, std::string("\x00\xff\x10", 3)},
        {"NoBytes", REG_BINARY, std::string()},
        {"Num", REG_DWORD, std::string("\x04\x03\x02\x01", 4)},
    };
    for (const Case& c : cases) {
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(RegRead(HKEY_CURRENT_USER, "Software\\Molvex\\W", c.Name, &type, &data))
            << c.Name;
        EXPECT_EQ(type, c.Type) << c.Name;
        EXPECT_EQ(data, c.Data) << c.Name;
    }
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\W").size(), dimof(cases));
}

// The writers report the key, not the value: a value name the system refuses
// still gives true, while a key that cannot be created gives false.
TEST_F(Registry, WritersReportWhetherTheKeyWasObtained) {
    std::string hugeName(20000, 'v');
    EXPECT_TRUE(SetUserString("Refused", hugeName.c_str(), "x"));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex\\Refused"));
    EXPECT_TRUE(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\Refused").empty());

    // One name longer than the system allows for a key.
    std::string badKey = std::string(300, 'k');
    EXPECT_FALSE(SetUserString(badKey.c_str(), "V", "x"));
    EXPECT_FALSE(SetUserDword(badKey.c_str(), "V", 1));
    EXPECT_FALSE(SetRegBinary(HKEY_CURRENT_USER, badKey.c_str(), "V", "x", 1));
    EXPECT_EQ(CreateRegKey(HKEY_CURRENT_USER, badKey.c_str()), nullptr);
}

TEST_F(Registry, KeysCarryTheRightsOfTheirOperation) {
    HKEY written = CreateRegKey(HKEY_CURRENT_USER, "Rights");
    ASSERT_NE(written, nullptr);
    DWORD one = 1;
    EXPECT_EQ(RegSetValueExA(written, "V", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
              ERROR_SUCCESS);
    // The 9x family has no access rights on keys (and Wine ignores the
    // mask in that mode), so only the NT family can refuse.
    const bool checked = !Family9x();
    DWORD size = sizeof(one);
    if (checked) {
        EXPECT_EQ(
            RegQueryValueExA(written, "V", nullptr, nullptr, reinterpret_cast<BYTE*>(&one), &size),
            ERROR_ACCESS_DENIED);
    }
    EXPECT_TRUE(CloseRegKey(written));

    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\Rights\\Child");
    HKEY read = OpenRegKey(HKEY_CURRENT_USER, "Rights");
    ASSERT_NE(read, nullptr);
    size = sizeof(one);
    EXPECT_EQ(RegQueryValueExA(read, "V", nullptr, nullptr, reinterpret_cast<BYTE*>(&one), &size),
              ERROR_SUCCESS);
    char name[32];
    DWORD length = dimof(name);
    EXPECT_EQ(RegEnumKeyExA(read, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_STREQ(name, "Child");
    if (checked) {
        EXPECT_EQ(RegSetValueExA(read, "W", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
                  ERROR_ACCESS_DENIED);
    }
    EXPECT_TRUE(CloseRegKey(read));

    EXPECT_EQ(OpenRegKey(HKEY_CURRENT_USER, "Missing"), nullptr);
    EXPECT_FALSE(CloseRegKey(nullptr));
}

TEST_F(Registry, GetRegStringReadsOrFallsBack) {
    const std::string key = "Software\\Molvex\\R";
    const DWORD raw = 0x01020304;
    PutRaw(HKEY_CURRENT_USER, key, "Fits", REG_SZ, "abcdefg", 8);
    PutRaw(HKEY_CURRENT_USER, key, "Long", REG_SZ, "abcdefgh", 9);
    PutRaw(HKEY_CURRENT_USER, key, "Empty", REG_SZ, "", 1);
    PutRaw(HKEY_CURRENT_USER, key, "Dword", REG_DWORD, &raw, 4);
    PutRaw(HKEY_CURRENT_USER, key, "Short", REG_BINARY, "abc", 3);
    PutRaw(HKEY_CURRENT_USER, key, "Full", REG_BINARY, "12345678", 8);
    PutRaw(HKEY_CURRENT_USER, key, "FullZero", REG_BINARY, "1234567\0", 8);
    PutRaw(HKEY_CURRENT_USER, key, "NoBytes", REG_BINARY, "", 0);
    struct Case {
        const char* Subkey;
        const char* Name;
        DWORD Size;
        bool Read;
        std::string Text; // buffer contents up to and including the first zero
    } cases[] = {
        {"R", "Fits", 8, true, std::string("abcdefg\0", 8)},
        {"R", "Long", 8, false, std::string("dflt\0", 5)},
        {"R", "Long", 9, true, std::string("abcdefgh\0", 9)},
        {"R", "Empty", 8, true, std::string("\0", 1)},
        {"R", "Dword", 8, true, std::string("\x04\x03\x02\x01\0", 5)},
        // Raw bytes that fill the buffer with no zero would leave an
        // unterminated text behind: unreadable, the default (cut) instead.
        {"R", "Dword", 4, false, std::string("dfl\0", 4)},
        {"R", "Short", 8, true, std::string("abc\0", 4)},
        {"R", "Full", 8, false, std::string("dflt\0", 5)},
        {"R", "FullZero", 8, true, std::string("1234567\0", 8)},
        {"R", "NoBytes", 8, true, std::string("\0", 1)},
        {"R", "Missing", 8, false, std::string("dflt\0", 5)},
        {"Missing", "Fits", 8, false, std::string("dflt\0", 5)},
        {"R", "Fits", 1, false, std::string("\0", 1)},
    };
    for (const Case& c : cases) {
        char buffer[32];
        memset(buffer, 'Z', sizeof(buffer));
        bool read = GetRegString(HKEY_CURRENT_USER, c.Subkey, c.Name, buffer, "dflt", c.Size);
        EXPECT_EQ(read, c.Read) << c.Name << " size " << c.Size;
        EXPECT_EQ(std::string(buffer, c.Text.size()), c.Text) << c.Name << " size " << c.Size;
        for (size_t i = c.Size; i < sizeof(buffer); i++)
            ASSERT_EQ(buffer[i], 'Z') << c.Name << " wrote past its size at " << i;
    }
    char buffer[16];
    EXPECT_TRUE(GetUserString("R", "Fits", buffer, "dflt", dimof(buffer)));
    EXPECT_STREQ(buffer, "abcdefg");
}

TEST_F(Registry, DwordReadsOrFallBack) {
    const std::string key = "Software\\Molvex\\D";
    const DWORD seven = 7;
    PutRaw(HKEY_CURRENT_USER, key, "Seven", REG_DWORD, &seven, 4);
    PutRaw(HKEY_CURRENT_USER, key, "LongText", REG_SZ, "abcde", 6);
    PutRaw(HKEY_CURRENT_USER, key, "FourBytes", REG_SZ, "abc", 4);
    PutRaw(HKEY_CURRENT_USER, key, "TwoBytes", REG_BINARY, "\x05\x06", 2);
    PutRaw(HKEY_CURRENT_USER, key, "Eight", REG_BINARY, "\1\0\0\0\0\0\0\0", 8);
    struct Case {
        const char* Subkey;
        const char* Name;
        bool Read;
        DWORD Value;
    } cases[] = {
        {"D", "Seven", true, 7},
        {"D", "FourBytes", true, 0x00636261},
        {"D", "TwoBytes", true, 0x0605},
        {"D", "LongText", false, 0xDEF},
        {"D", "Eight", false, 0xDEF},
        {"D", "Missing", false, 0xDEF},
        {"Missing", "Seven", false, 0xDEF},
    };
    for (const Case& c : cases) {
        DWORD value = 0x55555555;
        EXPECT_EQ(QueryRegDword(HKEY_CURRENT_USER, c.Subkey, c.Name, &value, 0xDEF), c.Read)
            << c.Name;
        EXPECT_EQ(value, c.Value) << c.Name;
        EXPECT_EQ(GetRegDword(HKEY_CURRENT_USER, c.Subkey, c.Name, 0xDEF), c.Value) << c.Name;
        EXPECT_EQ(GetUserDword(c.Subkey, c.Name, 0xDEF), c.Value) << c.Name;
    }
}

TEST_F(Registry, DeleteRegKeyReturnsTheSystemResult) {
    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\Leaf");
    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\Parent\\Child");
    EXPECT_EQ(DeleteRegKey(HKEY_CURRENT_USER, "Leaf"), ERROR_SUCCESS);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex\\Leaf"));
    EXPECT_NE(DeleteRegKey(HKEY_CURRENT_USER, "Leaf"), ERROR_SUCCESS);

    LONG parent = DeleteRegKey(HKEY_CURRENT_USER, "Parent");
    if (Family9x()) {
        EXPECT_EQ(parent, ERROR_SUCCESS);
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex\\Parent"));
    } else {
        EXPECT_NE(parent, ERROR_SUCCESS);
        EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex\\Parent\\Child"));
    }
}

// An empty mapped path names the root itself; on the 9x family the system
// would delete everything below it.
TEST_F(Registry, EmptyMappedPathDeletesNothing) {
    MakeKey(HKEY_CURRENT_USER, "Software\\MvxTest\\Keep");
    MakeKey(HKEY_CLASSES_ROOT, ".mvxkeep");
    std::vector<std::string> user = RegSubkeyNames(HKEY_CURRENT_USER, "");
    std::vector<std::string> classes = RegSubkeyNames(HKEY_CLASSES_ROOT, "");
    ASSERT_FALSE(classes.empty());

    EXPECT_NE(DeleteRegKey(HKEY_CURRENT_USER, "\\"), ERROR_SUCCESS);
    EXPECT_NE(DeleteRegKey(HKEY_CLASSES_ROOT, ""), ERROR_SUCCESS);
    for (auto [root, subkey] : {std::pair<HKEY, const char*>{HKEY_CURRENT_USER, "\\"},
                                std::pair<HKEY, const char*>{HKEY_CLASSES_ROOT, ""}}) {
        TreeLog log = RunTreeDeletion(root, subkey);
        EXPECT_EQ(log.Passes, 0);
        EXPECT_TRUE(log.Deleted.empty());
    }
    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, ""), user);
    EXPECT_EQ(RegSubkeyNames(HKEY_CLASSES_ROOT, ""), classes);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\MvxTest\\Keep"));
    RegRemoveTree(HKEY_CLASSES_ROOT, ".mvxkeep");
}

TEST_F(Registry, DeleteRegValueRemovesOnlyThatValue) {
    RegPutString(HKEY_CURRENT_USER, "Software\\Molvex\\V", "", "default");
    RegPutString(HKEY_CURRENT_USER, "Software\\Molvex\\V", "Named", "x");
    RegPutString(HKEY_CURRENT_USER, "Software\\Molvex\\V", "Other", "y");
    DeleteRegValue(HKEY_CURRENT_USER, "V", "Named");
    DeleteRegValue(HKEY_CURRENT_USER, "V", "");
    DeleteRegValue(HKEY_CURRENT_USER, "V", "Missing");
    DeleteRegValue(HKEY_CURRENT_USER, "MissingKey", "Other");
    EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, "Software\\Molvex\\V"),
              std::vector<std::string>{"Other"});
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex\\MissingKey"));
}

TEST_F(Registry, HasRegKeyTellsWhetherTheKeyOpens) {
    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\Here");
    EXPECT_TRUE(HasRegKey(HKEY_CURRENT_USER, "Here"));
    EXPECT_TRUE(HasRegKey(HKEY_CURRENT_USER, ""));
    EXPECT_FALSE(HasRegKey(HKEY_CURRENT_USER, "Gone"));
}

TEST_F(Registry, TreeDeletionOfAMissingKeyRunsOnePass) {
    TreeLog log = RunTreeDeletion(HKEY_CURRENT_USER, "Nothing\\Here");
    EXPECT_EQ(log.Passes, 1);
    EXPECT_TRUE(log.Deleted.empty());
}

TEST_F(Registry, TreeDeletionOfFourLeavesPassByPass) {
    const std::string top = "Software\\Molvex\\Four";
    // Names that get shorter in enumeration order: Wine's imitation of the
    // 9x recursive deletion reuses the previous child's name length as the
    // next buffer size, and would otherwise stop after the first child.
    for (const char* leaf : {"d", "b11", "c1", "a111"})
        MakeKey(HKEY_CURRENT_USER, top + "\\" + leaf);
    std::vector<std::string> order = RegSubkeyNames(HKEY_CURRENT_USER, top.c_str());
    ASSERT_EQ(order.size(), 4u);
    auto child = [&](size_t i) { return top + "\\" + order[i]; };

    TreeLog log = RunTreeDeletion(HKEY_CURRENT_USER, "Four");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, top.c_str()));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
    if (Family9x()) {
        // The system deletes the whole tree at once.
        EXPECT_EQ(log.Passes, 0);
        EXPECT_EQ(DeletedIn(log, 0), std::vector<std::string>{top});
        return;
    }
    EXPECT_EQ(log.Passes, 4);
    EXPECT_EQ(DeletedIn(log, 1), (std::vector<std::string>{child(0), child(2)}));
    EXPECT_EQ(DeletedIn(log, 2), (std::vector<std::string>{child(1)}));
    EXPECT_EQ(DeletedIn(log, 3), (std::vector<std::string>{child(3), top}));
    EXPECT_TRUE(DeletedIn(log, 4).empty());
    EXPECT_EQ(log.Deleted.size(), 5u);
}

// Every key of a deep, branching tree goes, each once, and the counter sees
// deletions at every depth (so no pass ends the run while keys remain).
TEST_F(Registry, TreeDeletionOfADeepTree) {
    const std::string top = "Software\\Molvex\\Deep";
    std::vector<std::string> keys;
    std::string path = top;
    for (int depth = 0; depth < 12; depth++) {
        for (const char* sibling : {"x", "y", "z"})
            keys.push_back(path + "\\" + sibling);
        path += "\\m";
        keys.push_back(path);
    }
    for (const std::string& key : keys)
        MakeKey(HKEY_CURRENT_USER, key);
    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\DeepSibling");
    RegPutString(HKEY_CURRENT_USER, path.c_str(), "Leaf", "value");

    TreeLog log = RunTreeDeletion(HKEY_CURRENT_USER, "Deep");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, top.c_str()));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex\\DeepSibling"));
    if (Family9x())
        return;
    std::vector<std::string> deleted;
    for (const auto& entry : log.Deleted)
        deleted.push_back(entry.second);
    keys.push_back(top);
    std::sort(deleted.begin(), deleted.end());
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(deleted, keys);
    EXPECT_TRUE(DeletedIn(log, log.Passes).empty());
    EXPECT_EQ(log.Deleted.back().second, top);
}

// A chain whose paths grow past every path buffer (the system's own, 260
// ANSI characters under Wine, and the 512-byte child buffer): on the NT
// family the keys that cannot be reached stay, and so does every key above
// them, while a short sibling goes.
TEST_F(Registry, TreeDeletionLeavesChildPathsTooLongToCompose) {
    const std::string top = "Software\\Molvex\\Chain";
    const std::string name(60, 'c');
    MakeChain(HKEY_CURRENT_USER, top, name, 10); // 21 + 10 * 61 bytes at the bottom
    MakeKey(HKEY_CURRENT_USER, top + "\\short");
    DeleteRegTree(HKEY_CURRENT_USER, "Chain");
    if (Family9x()) {
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, top.c_str()));
        return;
    }
    EXPECT_EQ(ChainDepth(HKEY_CURRENT_USER, top, name), 10);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, (top + "\\short").c_str()));
}

TEST_F(Registry, TreeDeletionOfTheSettingsRoot) {
    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\Links");
    MakeKey(HKEY_CURRENT_USER, "Software\\Molvex\\Setup\\.zip");
    RegPutDword(HKEY_CURRENT_USER, "Software\\Molvex\\Setup", "ShellExt", 1);
    MakeKey(HKEY_CURRENT_USER, "Software\\MolvexOther\\Keep");
    MakeKey(HKEY_CURRENT_USER, "Software\\MvxTest");
    std::vector<std::string> user = RegSubkeyNames(HKEY_CURRENT_USER, "");
    std::vector<std::string> software = RegSubkeyNames(HKEY_CURRENT_USER, "Software");

    DeleteRegTree(HKEY_CURRENT_USER, "");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, ""), user);
    software.erase(std::find(software.begin(), software.end(), "Molvex"));
    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, "Software"), software);
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\MolvexOther\\Keep"));
    RegRemoveTree(HKEY_CURRENT_USER, "Software\\MolvexOther");
}

// A name that does not fit the 200-byte buffer ends the enumeration at its
// level: on the NT family that key, the siblings after it and the top key
// stay, while the siblings before it go. A name of 199 characters still
// fits. On the 9x family the direct deletion removes the whole tree.
TEST_F(Registry, TreeDeletionStopsAtANameTooLongForItsBuffer) {
    for (size_t length : {199u, 200u, 240u}) {
        SCOPED_TRACE(length);
        // A short top path, so that the longest name stays within the
        // 260 characters that Wine opens by name.
        const std::string top = "Software\\MvxTest\\N";
        const std::string longName = "b" + std::string(length - 1, 'n');
        // Shorter names after the long one, for Wine's 9x deletion (see
        // the four-leaf test); "a" comes before it.
        for (const std::string& leaf :
             {std::string("a"), longName, std::string("c1"), std::string("d")})
            MakeKey(HKEY_CURRENT_USER, top + "\\" + leaf);

        TreeLog log = RunTreeDeletion(HKEY_CURRENT_USER, ("\\" + top).c_str());
        if (length < 200 || Family9x()) {
            EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, top.c_str()));
        } else {
            EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, top.c_str()),
                      (std::vector<std::string>{longName, "d"}));
            EXPECT_EQ(log.Passes, 2);
        }
        RegRemoveTree(HKEY_CURRENT_USER, top.c_str());
    }
}

// Paths one byte longer than their buffer are refused before the registry
// is asked, even where such a key exists; one byte shorter still works.
TEST_F(Registry, OverLongPathsAreRefused) {
    // "\" + 255 characters maps to 255: the longest path that fits.
    auto absolute = [](size_t mappedLength) {
        std::string path = "Software\\MvxTest";
        while (path.size() + 1 < mappedLength)
            path += "\\" + std::string(std::min<size_t>(100, mappedLength - path.size() - 1), 'p');
        return path;
    };
    for (size_t mapped : {255u, 256u}) {
        SCOPED_TRACE(mapped);
        std::string raw = absolute(mapped);
        ASSERT_EQ(raw.size(), mapped);
        std::string subkey = "\\" + raw;
        bool fits = mapped < 256;
        RegRemoveTree(HKEY_CURRENT_USER, kScratch);
        RegPutString(HKEY_CURRENT_USER, raw.c_str(), "Text", "stored");
        RegPutDword(HKEY_CURRENT_USER, raw.c_str(), "Num", 5);

        char out[256];
        EXPECT_EQ(SettingsKeyPath(HKEY_CURRENT_USER, subkey.c_str(), out, dimof(out)), fits);
        EXPECT_STREQ(out, fits ? raw.c_str() : "");
        EXPECT_EQ(HasRegKey(HKEY_CURRENT_USER, subkey.c_str()), fits);
        HKEY opened = OpenRegKey(HKEY_CURRENT_USER, subkey.c_str());
        EXPECT_EQ(opened != nullptr, fits);
        if (opened)
            CloseRegKey(opened);
        HKEY created = CreateRegKey(HKEY_CURRENT_USER, subkey.c_str());
        EXPECT_EQ(created != nullptr, fits);
        if (created)
            CloseRegKey(created);
        char text[16];
        EXPECT_EQ(
            GetRegString(HKEY_CURRENT_USER, subkey.c_str(), "Text", text, "dflt", dimof(text)),
            fits);
        EXPECT_STREQ(text, fits ? "stored" : "dflt");
        EXPECT_EQ(GetRegDword(HKEY_CURRENT_USER, subkey.c_str(), "Num", 9), fits ? 5u : 9u);
        EXPECT_EQ(SetRegString(HKEY_CURRENT_USER, subkey.c_str(), "New", "x"), fits);
        EXPECT_EQ(SetRegDword(HKEY_CURRENT_USER, subkey.c_str(), "New2", 1), fits);
        EXPECT_EQ(SetRegBinary(HKEY_CURRENT_USER, subkey.c_str(), "New3", "x", 1), fits);
        EXPECT_EQ(RegValueExists(HKEY_CURRENT_USER, raw.c_str(), "New"), fits);
        DeleteRegValue(HKEY_CURRENT_USER, subkey.c_str(), "Num");
        EXPECT_NE(RegValueExists(HKEY_CURRENT_USER, raw.c_str(), "Num"), fits);
        EXPECT_EQ(DeleteRegKey(HKEY_CURRENT_USER, subkey.c_str()) == ERROR_SUCCESS, fits);
        EXPECT_NE(RegKeyExists(HKEY_CURRENT_USER, raw.c_str()), fits);
    }
    // Below the settings root the same bound holds for the mapped path:
    // "Software\Molvex\" takes 16 of the 255.
    std::string relative = std::string(100, 'r') + "\\" + std::string(138, 'r');
    char out[256];
    EXPECT_TRUE(SettingsKeyPath(HKEY_CURRENT_USER, relative.c_str(), out, dimof(out)));
    EXPECT_EQ(strlen(out), 255u);
    relative += "r";
    EXPECT_FALSE(SettingsKeyPath(HKEY_CURRENT_USER, relative.c_str(), out, dimof(out)));
    EXPECT_FALSE(SetUserString(relative.c_str(), "V", "x"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
}

// A tree deletion composes its top path in 200 bytes.
TEST_F(Registry, TreeDeletionRefusesATopPathTooLong) {
    for (size_t mapped : {199u, 200u}) {
        SCOPED_TRACE(mapped);
        std::string raw = "Software\\MvxTest\\" + std::string(100, 't') + "\\";
        raw += std::string(mapped - raw.size(), 'u');
        MakeKey(HKEY_CURRENT_USER, raw + "\\child");
        TreeLog log = RunTreeDeletion(HKEY_CURRENT_USER, ("\\" + raw).c_str());
        bool fits = mapped < 200;
        EXPECT_NE(RegKeyExists(HKEY_CURRENT_USER, raw.c_str()), fits);
        EXPECT_EQ(log.Deleted.empty(), !fits);
        RegRemoveTree(HKEY_CURRENT_USER, kScratch);
    }
}

} // namespace
