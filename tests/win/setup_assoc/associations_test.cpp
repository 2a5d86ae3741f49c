// File-type associations against Wine's registry. Runs that may write the
// New-menu templates use a copy of this executable in a fresh folder, since
// the templates land beside the program file.
#include "app/system.h"
#include "setup/associations.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace testutil;

static const char* const kAllExtensions[] = {
    ".mvx", ".zip", ".cab", ".arj", ".lzh",  ".lha", ".ace", ".tar", ".gz",  ".tgz",
    ".uue", ".xxe", ".uu",  ".bz2", ".tbz2", ".bz",  ".tbz", ".jar", ".iso",
};
static const char* const kProgIds[] = {"Molvex", "Molvex.ZIP", "Molvex.REV", ".rev"};

static const char kArchiveTemplate[] =
    "Mvx!\x1A\x07\x00\xCF\x90\x73\x00\x00\x0D\x00\x00\x00\x00\x00\x00\x00";
static const char kZipTemplate[] = "PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0";
static_assert(sizeof(kArchiveTemplate) == 21 && sizeof(kZipTemplate) == 23, "template sizes");

static std::string Volume(int j) {
    char name[8];
    snprintf(name, sizeof(name), ".m%02d", j);
    return name;
}

static std::string Backup(const char* extension) {
    return std::string("Software\\Molvex\\Setup\\") + extension;
}

static std::string ShellNew(const char* extension) {
    return std::string(extension) + "\\ShellNew";
}

static int VolumeCount() {
    return NtMajorVersion() != 0 ? 30 : 100;
}

// A record choosing exactly `groups`.
static IntegrationSettings Record(std::vector<int> groups, bool shell) {
    IntegrationSettings s;
    memset(&s, 0, sizeof(s));
    for (int g : groups)
        s.AssociateGroup[g] = 1;
    s.IntegrateShell = shell ? 1 : 0;
    return s;
}

static std::string Text(HKEY root, const std::string& key, const char* name) {
    std::string text;
    if (!RegString(root, key.c_str(), name, &text))
        return "<absent>";
    return text;
}

static std::string Classes(const std::string& key, const char* name = "") {
    return Text(HKEY_CLASSES_ROOT, key, name);
}

static void PutClass(const std::string& key, const char* name, const char* text) {
    RegPutString(HKEY_CLASSES_ROOT, key.c_str(), name, text);
}

static bool ClassKey(const std::string& key) {
    return RegKeyExists(HKEY_CLASSES_ROOT, key.c_str());
}

static std::vector<std::string> ClassValues(const std::string& key) {
    return RegValueNames(HKEY_CLASSES_ROOT, key.c_str());
}

static std::vector<std::string> Names(std::vector<const char*> names) {
    return std::vector<std::string>(names.begin(), names.end());
}

// Exist, Type, Content and ShellNew of one backup key; "<absent>" for missing.
struct BackupValues {
    std::string Exist, Type, Content, ShellNew;
    bool operator==(const BackupValues& o) const {
        return Exist == o.Exist && Type == o.Type && Content == o.Content && ShellNew == o.ShellNew;
    }
};

static std::ostream& operator<<(std::ostream& out, const BackupValues& b) {
    return out << "{Exist " << b.Exist << ", Type \"" << b.Type << "\", Content \"" << b.Content
               << "\", ShellNew \"" << b.ShellNew << "\"}";
}

static BackupValues ReadBackup(const char* extension) {
    std::string key = Backup(extension);
    BackupValues b;
    DWORD exist = 0;
    b.Exist = RegDword(HKEY_CURRENT_USER, key.c_str(), "Exist", &exist) ? std::to_string(exist)
                                                                        : "<absent>";
    b.Type = Text(HKEY_CURRENT_USER, key, "Type");
    b.Content = Text(HKEY_CURRENT_USER, key, "Content");
    b.ShellNew = Text(HKEY_CURRENT_USER, key, "ShellNew");
    return b;
}

static void CleanRegistry() {
    RegRemoveTree(HKEY_CURRENT_USER, "Software\\Molvex");
    for (const char* e : kAllExtensions)
        RegRemoveTree(HKEY_CLASSES_ROOT, e);
    for (int j = 0; j < 100; j++)
        RegRemoveTree(HKEY_CLASSES_ROOT, Volume(j).c_str());
    for (const char* id : kProgIds)
        RegRemoveTree(HKEY_CLASSES_ROOT, id);
}

class Associations : public ::testing::Test {
  protected:
    void SetUp() override { CleanRegistry(); }
    void TearDown() override { CleanRegistry(); }
};

// The child side: a copy of this executable applies the record it is given.
// Its templates must still hold their zero first bytes, since nothing has
// run ApplyAssociations in this process yet.
TEST(Child, Apply) {
    const char* record = getenv("MVX_ASSOC_RECORD");
    if (!record)
        GTEST_SKIP() << "only run as a child";
    EXPECT_EQ(EmptyArchiveTemplate[0], 0);
    EXPECT_EQ(EmptyZipTemplate[0], 0);
    IntegrationSettings s;
    ASSERT_EQ(strlen(record), sizeof(s));
    for (size_t i = 0; i < sizeof(s); i++)
        s.Bytes()[i] = static_cast<unsigned char>(record[i] - '0');
    ApplyAssociations(&s);
    EXPECT_EQ(EmptyArchiveTemplate[0], 'M');
    EXPECT_EQ(EmptyZipTemplate[0], 0x50);
}

static std::string OwnPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    return n > 0 && n < sizeof(path) ? std::string(path) : std::string();
}

// Runs ApplyAssociations in a copy of this executable placed in `folder`;
// true when the child ran and passed.
static bool ApplyInCopy(const std::string& folder, const IntegrationSettings& s) {
    std::string program = folder + "\\uninstall.exe";
    if (!FileExists(program) && !CopyFileTo(OwnPath(), program))
        return false;
    std::string record;
    for (size_t i = 0; i < sizeof(s); i++)
        record += static_cast<char>('0' + s.Bytes()[i]);
    SetEnvironmentVariableA("MVX_ASSOC_RECORD", record.c_str());
    long code =
        Run("\"" + program + "\" --gtest_filter=Child.Apply --gtest_color=no", folder, 60000);
    SetEnvironmentVariableA("MVX_ASSOC_RECORD", nullptr);
    return code == 0;
}

TEST(Templates, BytesAndChecksum) {
    // Byte 0 may already be set by an earlier test of this process.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(EmptyArchiveTemplate) + 1, 19),
              std::string(kArchiveTemplate + 1, 19));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(EmptyZipTemplate) + 1, 21),
              std::string(kZipTemplate + 1, 21));
    // The main header checksum: low 16 bits of the CRC-32 of bytes 9-19.
    unsigned crc = 0xFFFFFFFFu;
    for (int i = 9; i < 20; i++) {
        crc ^= EmptyArchiveTemplate[i];
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc = ~crc;
    EXPECT_EQ(EmptyArchiveTemplate[7] | EmptyArchiveTemplate[8] << 8,
              static_cast<int>(crc & 0xFFFF));
}

TEST_F(Associations, ForeignZipIsBackedUpOnceAndGivenBack) {
    PutClass(".zip", "", "OtherZip.Archive");
    PutClass(".zip", "Content Type", "application/x-zip-compressed");
    PutClass(ShellNew(".zip"), "NullFile", "");

    IntegrationSettings take = Record({1}, false);
    ApplyAssociations(&take);
    const BackupValues expected = {"1", "OtherZip.Archive", "application/x-zip-compressed", "*"};
    EXPECT_EQ(ReadBackup(".zip"), expected);
    // Wine lists values by name, so the order of writing is not visible here.
    std::vector<std::string> names = RegValueNames(HKEY_CURRENT_USER, Backup(".zip").c_str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, Names({"Content", "Exist", "ShellNew", "Type"}));
    EXPECT_EQ(Classes(".zip"), "Molvex.ZIP");
    EXPECT_EQ(Classes(".zip", "Content Type"), "<absent>");
    // Shell integration off: the New-menu entry is left exactly as it was.
    EXPECT_EQ(ClassValues(ShellNew(".zip")), Names({"NullFile"}));
    // Only the chosen group is touched.
    for (const char* e : kAllExtensions) {
        if (strcmp(e, ".zip") != 0) {
            EXPECT_FALSE(ClassKey(e)) << e;
        }
    }

    ApplyAssociations(&take);
    EXPECT_EQ(ReadBackup(".zip"), expected);

    IntegrationSettings clear = Record({}, false);
    ApplyAssociations(&clear);
    EXPECT_EQ(Classes(".zip"), "OtherZip.Archive");
    EXPECT_EQ(Classes(".zip", "Content Type"), "application/x-zip-compressed");
    EXPECT_EQ(ClassValues(ShellNew(".zip")), Names({"NullFile"}));
    EXPECT_EQ(Classes(ShellNew(".zip"), "NullFile"), "");
    // The backup stays until the uninstallation removes the settings tree.
    EXPECT_EQ(ReadBackup(".zip"), expected);
}

TEST_F(Associations, ExtensionThatDidNotExistIsRemovedAgain) {
    IntegrationSettings take = Record({3}, true); // shell on: .arj has no New menu
    ApplyAssociations(&take);
    EXPECT_EQ(ReadBackup(".arj"), (BackupValues{"0", "", "", ""}));
    EXPECT_EQ(Classes(".arj"), "Molvex");
    EXPECT_FALSE(ClassKey(ShellNew(".arj")));

    // Something added a New-menu entry meanwhile; on NT the extension's key
    // can only go once its subkey has gone.
    PutClass(ShellNew(".arj"), "NullFile", "");
    IntegrationSettings clear = Record({}, true);
    ApplyAssociations(&clear);
    EXPECT_FALSE(ClassKey(".arj"));
}

TEST_F(Associations, BackupNamingOurProgIdRestoresAnEmptyType) {
    struct Case {
        const char* SavedType;
        const char* Restored;
    } cases[] = {
        {"Molvex", ""},
        {"MOLVEX.zip", ""},
        {"molvex", ""},
        {"Molvex.ZIP.1", "Molvex.ZIP.1"},
        {"Molvex.REV", "Molvex.REV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.SavedType);
        CleanRegistry();
        PutClass(".cab", "", "Molvex");
        PutClass(".cab", "Content Type", "x/ours");
        RegPutDword(HKEY_CURRENT_USER, Backup(".cab").c_str(), "Exist", 1);
        RegPutString(HKEY_CURRENT_USER, Backup(".cab").c_str(), "Type", c.SavedType);
        IntegrationSettings clear = Record({}, false);
        ApplyAssociations(&clear);
        EXPECT_EQ(Classes(".cab"), c.Restored);
        EXPECT_EQ(Classes(".cab", "Content Type"), "<absent>");
    }
}

TEST_F(Associations, OwnExtensionWithoutBackupIsEmptied) {
    PutClass(".mvx", "", "molvex");
    PutClass(".mvx", "Content Type", "application/x-mvx");
    PutClass(ShellNew(".mvx"), "FileName", "C:\\old\\mvxnew.dat");
    for (int j = 0; j < 100; j++)
        PutClass(Volume(j), "", "Molvex");
    PutClass(".m42", "", "Splitter.Part"); // taken by another program since

    IntegrationSettings clear = Record({}, false);
    ApplyAssociations(&clear);
    EXPECT_EQ(Classes(".mvx"), "");
    EXPECT_EQ(ClassValues(".mvx"), Names({""}));
    EXPECT_TRUE(ClassValues(ShellNew(".mvx")).empty());
    for (int j = 0; j < 100; j++) {
        if (j != 42) {
            EXPECT_FALSE(ClassKey(Volume(j))) << Volume(j);
        }
    }
    EXPECT_EQ(Classes(".m42"), "Splitter.Part");
    // Giving back reads the settings, it never writes them.
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
}

TEST_F(Associations, ExtensionAnotherProgramOwnsByNowIsLeftAlone) {
    PutClass(".mvx", "", "Other.Mvx");
    PutClass(".mvx", "Content Type", "x/other");
    PutClass(ShellNew(".mvx"), "FileName", "C:\\other.dat");
    PutClass(".m00", "", "Molvex");
    RegPutDword(HKEY_CURRENT_USER, Backup(".mvx").c_str(), "Exist", 0);

    IntegrationSettings clear = Record({}, true);
    ApplyAssociations(&clear);
    EXPECT_EQ(Classes(".mvx"), "Other.Mvx");
    EXPECT_EQ(Classes(".mvx", "Content Type"), "x/other");
    EXPECT_EQ(Classes(ShellNew(".mvx"), "FileName"), "C:\\other.dat");
    EXPECT_EQ(Classes(".m00"), "Molvex");
}

TEST_F(Associations, VolumeExtensionsFollowTheFamilyAndThePreviousOwner) {
    PutClass(".mvx", "", "Old.Mvx");
    PutClass(".mvx", "Content Type", "x/old-mvx");
    PutClass(".m05", "Content Type", "x/volume");

    IntegrationSettings take = Record({0}, false);
    ApplyAssociations(&take);
    for (int j = 0; j < 100; j++) {
        SCOPED_TRACE(Volume(j));
        if (j < VolumeCount()) {
            EXPECT_EQ(Classes(Volume(j)), "Molvex");
            EXPECT_EQ(ClassValues(Volume(j)), Names({""}));
        } else {
            EXPECT_FALSE(ClassKey(Volume(j)));
        }
    }
    // Volume extensions get no backup of their own.
    EXPECT_EQ(RegSubkeyNames(HKEY_CURRENT_USER, "Software\\Molvex\\Setup"), Names({".mvx"}));

    IntegrationSettings clear = Record({}, false);
    ApplyAssociations(&clear);
    EXPECT_EQ(Classes(".mvx"), "Old.Mvx");
    for (int j = 0; j < 100; j++) {
        SCOPED_TRACE(Volume(j));
        if (j < VolumeCount()) {
            EXPECT_EQ(Classes(Volume(j)), "Old.Mvx");
            EXPECT_EQ(Classes(Volume(j), "Content Type"), "x/old-mvx");
        } else {
            // Never ours, so not created for the previous owner either.
            EXPECT_FALSE(ClassKey(Volume(j)));
        }
    }
}

TEST_F(Associations, EveryExtensionOfAGroupGetsItsOwnBackup) {
    PutClass(".lzh", "", "Lzh.Owner");
    PutClass(".tbz", "", "Tbz.Owner");

    IntegrationSettings take = Record({4, 9}, false);
    ApplyAssociations(&take);
    EXPECT_EQ(ReadBackup(".lzh"), (BackupValues{"1", "Lzh.Owner", "", ""}));
    EXPECT_EQ(ReadBackup(".lha"), (BackupValues{"0", "", "", ""}));
    EXPECT_EQ(ReadBackup(".bz2"), (BackupValues{"0", "", "", ""}));
    EXPECT_EQ(ReadBackup(".tbz"), (BackupValues{"1", "Tbz.Owner", "", ""}));
    for (const char* e : {".lzh", ".lha", ".bz2", ".tbz2", ".bz", ".tbz"})
        EXPECT_EQ(Classes(e), "Molvex") << e;

    IntegrationSettings clear = Record({}, false);
    ApplyAssociations(&clear);
    EXPECT_EQ(Classes(".lzh"), "Lzh.Owner");
    EXPECT_EQ(Classes(".tbz"), "Tbz.Owner");
    for (const char* e : {".lha", ".bz2", ".tbz2", ".bz"})
        EXPECT_FALSE(ClassKey(e)) << e;
}

// Previous values that do not fit their buffers are backed up as absent;
// the ones that just fit are kept whole.
TEST_F(Associations, LongPreviousValuesNeverOverrunTheBackup) {
    const std::string type511(511, 't'), type512(512, 'T');
    const std::string file1023 = "C:\\" + std::string(1020, 'f');
    const std::string file1024 = "C:\\" + std::string(1021, 'F');
    struct Case {
        const std::string Type, Content, FileName;
        const char* NullFile; // null: no "NullFile" value
        BackupValues Expected;
    } cases[] = {
        {type511, type511, file1023, nullptr, {"1", type511, type511, file1023}},
        {type512, type512, file1024, nullptr, {"1", "", "", ""}},
        {type512, "x/y", file1024, "", {"1", "", "x/y", "*"}},
        {"A", "", "", "123456789", {"1", "A", "", "*"}},
        {"A", "", "", "1234567890", {"1", "A", "", ""}},
        {"A", "", "C:\\n.dat", "", {"1", "A", "", "C:\\n.dat"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Type.size()) + "/" + std::to_string(c.FileName.size()) + "/" +
                     (c.NullFile ? c.NullFile : "-"));
        CleanRegistry();
        PutClass(".tar", "", c.Type.c_str());
        if (!c.Content.empty())
            PutClass(".tar", "Content Type", c.Content.c_str());
        if (!c.FileName.empty())
            PutClass(ShellNew(".tar"), "FileName", c.FileName.c_str());
        if (c.NullFile)
            PutClass(ShellNew(".tar"), "NullFile", c.NullFile);
        IntegrationSettings take = Record({6}, true);
        ApplyAssociations(&take);
        EXPECT_EQ(ReadBackup(".tar"), c.Expected);
        EXPECT_EQ(Classes(".tar"), "Molvex");
    }

    // A backup grown too long by hand restores as empty, not cut.
    CleanRegistry();
    PutClass(".tar", "", "Molvex");
    RegPutString(HKEY_CURRENT_USER, Backup(".tar").c_str(), "Type", type512.c_str());
    RegPutString(HKEY_CURRENT_USER, Backup(".tar").c_str(), "Content", type511.c_str());
    RegPutString(HKEY_CURRENT_USER, Backup(".tar").c_str(), "ShellNew", file1024.c_str());
    IntegrationSettings clear = Record({}, true);
    ApplyAssociations(&clear);
    EXPECT_EQ(Classes(".tar"), "");
    EXPECT_EQ(Classes(".tar", "Content Type"), type511);
    EXPECT_EQ(Classes(ShellNew(".tar"), "FileName"), "<absent>");
}

TEST_F(Associations, ShellIntegrationOffLeavesTheNewMenuAlone) {
    PutClass(ShellNew(".mvx"), "Command", "other.exe /new");
    PutClass(ShellNew(".zip"), "NullFile", "");
    IntegrationSettings take = Record({0, 1}, false);
    ApplyAssociations(&take);
    EXPECT_EQ(ClassValues(ShellNew(".mvx")), Names({"Command"}));
    EXPECT_EQ(Classes(ShellNew(".mvx"), "Command"), "other.exe /new");
    EXPECT_EQ(ClassValues(ShellNew(".zip")), Names({"NullFile"}));
}

static bool FileForm() {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    GetVersionExA(&v);
    return v.dwMajorVersion > 4 || v.dwMinorVersion > 10;
}

TEST_F(Associations, FamilyMatchesThePrefix) {
    const char* family = getenv("MVX_FAMILY");
    ASSERT_NE(family, nullptr);
    EXPECT_EQ(NtMajorVersion() == 0, Family9x());
    // Windows 98 alone of the three takes the binary New-menu form.
    EXPECT_EQ(FileForm(), strcmp(family, "win98") != 0);
}

TEST_F(Associations, NewMenuEntryRoundTrip) {
    std::string folder = FreshFolder("assoc-newmenu");
    PutClass(".zip", "", "OtherZip.Archive");
    PutClass(".zip", "Content Type", "application/zip");
    PutClass(ShellNew(".zip"), "NullFile", "");

    ASSERT_TRUE(ApplyInCopy(folder, Record({0, 1}, true)));
    std::string mvxFile = folder + "\\mvxnew.dat";
    std::string zipFile = folder + "\\zipnew.dat";
    std::string bytes;
    if (FileForm()) {
        EXPECT_EQ(ClassValues(ShellNew(".mvx")), Names({"FileName"}));
        EXPECT_EQ(Classes(ShellNew(".mvx"), "FileName"), mvxFile);
        EXPECT_EQ(ClassValues(ShellNew(".zip")), Names({"FileName"}));
        EXPECT_EQ(Classes(ShellNew(".zip"), "FileName"), zipFile);
        ASSERT_TRUE(ReadFileBytes(mvxFile, &bytes));
        EXPECT_EQ(bytes, std::string(kArchiveTemplate, 20));
        ASSERT_TRUE(ReadFileBytes(zipFile, &bytes));
        EXPECT_EQ(bytes, std::string(kZipTemplate, 22));
    } else {
        DWORD type = 0;
        EXPECT_EQ(ClassValues(ShellNew(".mvx")), Names({"Data"}));
        ASSERT_TRUE(RegRead(HKEY_CLASSES_ROOT, ShellNew(".mvx").c_str(), "Data", &type, &bytes));
        EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
        EXPECT_EQ(bytes, std::string(kArchiveTemplate, 20));
        EXPECT_EQ(ClassValues(ShellNew(".zip")), Names({"Data"}));
        ASSERT_TRUE(RegRead(HKEY_CLASSES_ROOT, ShellNew(".zip").c_str(), "Data", &type, &bytes));
        EXPECT_EQ(bytes, std::string(kZipTemplate, 22));
        EXPECT_FALSE(FileExists(mvxFile));
        EXPECT_FALSE(FileExists(zipFile));
    }
    EXPECT_EQ(ReadBackup(".zip"), (BackupValues{"1", "OtherZip.Archive", "application/zip", "*"}));
    EXPECT_EQ(ReadBackup(".mvx"), (BackupValues{"0", "", "", ""}));

    // Given back, ".zip" has exactly what it had, ".mvx" is gone.
    ASSERT_TRUE(ApplyInCopy(folder, Record({}, true)));
    EXPECT_EQ(Classes(".zip"), "OtherZip.Archive");
    EXPECT_EQ(Classes(".zip", "Content Type"), "application/zip");
    EXPECT_EQ(ClassValues(ShellNew(".zip")), Names({"NullFile"}));
    EXPECT_EQ(Classes(ShellNew(".zip"), "NullFile"), "");
    EXPECT_FALSE(ClassKey(".mvx"));
    for (int j = 0; j < 100; j++)
        EXPECT_FALSE(ClassKey(Volume(j))) << Volume(j);
    // The templates stay once written.
    EXPECT_EQ(FileExists(mvxFile), FileForm());
}

TEST_F(Associations, ExistingTemplateFileIsLeftAsItWas) {
    std::string folder = FreshFolder("assoc-keep");
    std::string mvxFile = folder + "\\mvxnew.dat";
    ASSERT_TRUE(WriteFileBytes(mvxFile, "kept as it was"));
    PutClass(ShellNew(".mvx"), "Command", "stale.exe /new");

    ASSERT_TRUE(ApplyInCopy(folder, Record({0}, true)));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(mvxFile, &bytes));
    EXPECT_EQ(bytes, "kept as it was");
    // The old New-menu entry is replaced, not added to.
    EXPECT_EQ(ClassValues(ShellNew(".mvx")), Names({FileForm() ? "FileName" : "Data"}));
    if (FileForm()) {
        EXPECT_EQ(Classes(ShellNew(".mvx"), "FileName"), mvxFile);
    }
    // Group 1 was not chosen, so no ZIP template either.
    EXPECT_FALSE(FileExists(folder + "\\zipnew.dat"));
}

TEST_F(Associations, AllClearedRecordLeavesNoTrace) {
    std::string folder = FreshFolder("assoc-clear");
    PutClass(".zip", "", "OtherZip.Archive");
    IntegrationSettings clear = Record({}, true);
    clear.LinkOnDesktop = clear.CreateProgramGroup = clear.CascadeMenus = 1;
    ASSERT_TRUE(ApplyInCopy(folder, clear));

    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
    for (const char* id : kProgIds)
        EXPECT_FALSE(ClassKey(id)) << id;
    for (const char* e : kAllExtensions) {
        if (strcmp(e, ".zip") != 0) {
            EXPECT_FALSE(ClassKey(e)) << e;
        }
    }
    EXPECT_EQ(Classes(".zip"), "OtherZip.Archive");
    EXPECT_EQ(ClassValues(".zip"), Names({""}));
    EXPECT_FALSE(FileExists(folder + "\\mvxnew.dat"));
    EXPECT_FALSE(FileExists(folder + "\\zipnew.dat"));
}

TEST_F(Associations, ProgIdsNameTheArchiverBesideTheProgram) {
    std::string own = OwnPath();
    std::string archiver = own.substr(0, own.rfind('\\') + 1) + "Molvex.exe";
    std::string command = "\"" + archiver + "\" \"%1\"";
    RegisterProgIds();
    struct Row {
        const char* Key;
        std::string Value;
    } rows[] = {
        {"Molvex", Ansi("Molvex 档案文件")},
        {"Molvex\\shell\\open\\command", command},
        {"Molvex\\DefaultIcon", archiver + ",0"},
        {"Molvex.ZIP", Ansi("Molvex ZIP 档案文件")},
        {"Molvex.ZIP\\shell\\open\\command", command},
        {"Molvex.ZIP\\DefaultIcon", archiver + ",0"},
        {".rev", "Molvex.REV"},
        {"Molvex.REV", Ansi("MVX 恢复卷")},
        {"Molvex.REV\\shell\\open\\command", command},
        {"Molvex.REV\\DefaultIcon", archiver + ",1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Key);
        EXPECT_EQ(Classes(row.Key), row.Value);
        EXPECT_EQ(ClassValues(row.Key), Names({""}));
    }
    // No association and no settings come with the identifiers.
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Molvex"));
    for (const char* e : kAllExtensions)
        EXPECT_FALSE(ClassKey(e)) << e;
}
