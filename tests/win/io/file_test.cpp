#include "io/file.h"

#include "testutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using testutil::Family9x;

namespace {

class FileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = testutil::FreshFolder("file");
        ASSERT_TRUE(testutil::WriteFileBytes(Path("a.txt"), "0123456789"));
    }
    std::string Path(const char* name) const { return folder_ + "\\" + name; }
    std::string folder_;
};

std::wstring Wide(const std::string& ansi) {
    wchar_t buffer[1024];
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, buffer, 1024);
    return n > 0 ? buffer : L"";
}

TEST_F(FileTest, ReadsSeeksAndTells) {
    File f;
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    EXPECT_EQ(f.NotFound, 0);
    EXPECT_STREQ(f.FileName, Path("a.txt").c_str());
    EXPECT_EQ(f.FileNameW[0], 0);
    EXPECT_FALSE(f.IsDevice());
    char buffer[32] = {};
    EXPECT_EQ(f.Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(f.Tell(), 4);
    EXPECT_EQ(f.Read(buffer, sizeof(buffer)), 6);
    // The end of the file is no failure.
    EXPECT_EQ(f.Read(buffer, sizeof(buffer)), 0);
    f.Seek(FILE_END, -3);
    EXPECT_EQ(f.Tell(), 7);
    EXPECT_EQ(f.Read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "789");
    f.Seek(FILE_BEGIN, 1);
    EXPECT_EQ(f.Read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "12");
    EXPECT_TRUE(f.RawSeek(FILE_CURRENT, -1));
    EXPECT_EQ(f.Tell(), 2);
}

TEST_F(FileTest, SixtyFourBitPositions) {
    File f;
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    // Beyond 4 GB and the one position whose low part is all ones are both
    // valid positions, not failures.
    EXPECT_TRUE(f.RawSeek(FILE_BEGIN, 0x100000005LL));
    EXPECT_EQ(f.Tell(), 0x100000005LL);
    EXPECT_TRUE(f.RawSeek(FILE_BEGIN, 0xFFFFFFFFLL));
    EXPECT_EQ(f.Tell(), 0xFFFFFFFFLL);
    // A position before the start is refused.
    EXPECT_FALSE(f.RawSeek(FILE_BEGIN, -1));
    EXPECT_EQ(f.Tell(), 0xFFFFFFFFLL);
}

TEST_F(FileTest, OpenFailuresTellMissingFileFromMissingFolder) {
    struct Case {
        std::string Name;
        int NotFound;
    } cases[] = {
        {Path("missing.txt"), 1},
        {Path("nofolder\\a.txt"), 0},
        {folder_, 0},
    };
    for (const Case& c : cases) {
        File f;
        f.DeleteOnClose = true;
        f.SkipClose = true;
        f.HandleType = 1;
        EXPECT_FALSE(f.Open(c.Name.c_str(), nullptr, false, false)) << c.Name;
        EXPECT_EQ(f.NotFound, c.NotFound) << c.Name;
        EXPECT_EQ(f.Handle, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(f.DeleteOnClose);
        EXPECT_FALSE(f.SkipClose);
        EXPECT_EQ(f.HandleType, 0);
        EXPECT_EQ(f.FileName[0], 0);
        EXPECT_TRUE(f.Close());
    }
    // Never creates a file, not even for writing.
    File w;
    EXPECT_FALSE(w.Open(Path("new.txt").c_str(), nullptr, true, false));
    EXPECT_FALSE(testutil::FileExists(Path("new.txt")));
}

TEST_F(FileTest, FailedOpenKeepsTheOpenHandle) {
    File f;
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    HANDLE held = f.Handle;
    EXPECT_FALSE(f.Open(Path("missing.txt").c_str(), nullptr, false, false));
    EXPECT_EQ(f.Handle, held);
    EXPECT_STREQ(f.FileName, Path("a.txt").c_str());
    char c;
    EXPECT_EQ(f.Read(&c, 1), 1);
}

// The handle of the earlier file would otherwise stay open for good (and
// keep refusing writers) once the object holds the new one.
TEST_F(FileTest, ReopenReleasesTheEarlierHandle) {
    ASSERT_TRUE(testutil::WriteFileBytes(Path("b.txt"), "b"));
    File f;
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    ASSERT_TRUE(f.Open(Path("b.txt").c_str(), nullptr, false, false));
    HANDLE writer = CreateFileA(Path("a.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE)
        CloseHandle(writer);
    char c = 0;
    EXPECT_EQ(f.Read(&c, 1), 1);
    EXPECT_EQ(c, 'b');
}

TEST_F(FileTest, SharingFollowsTheFlags) {
    auto writerCanOpen = [&] {
        HANDLE h =
            CreateFileA(Path("a.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(h);
        return true;
    };
    {
        File f;
        ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
        EXPECT_FALSE(writerCanOpen());
    }
    {
        File f;
        ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, true));
        EXPECT_TRUE(writerCanOpen());
    }
    {
        File f;
        f.ShareWrite = true;
        ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
        EXPECT_TRUE(writerCanOpen());
    }
    EXPECT_TRUE(writerCanOpen());
}

TEST_F(FileTest, CloseAndSkipClose) {
    File f;
    EXPECT_TRUE(f.Close());
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(f.Handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.RawSeek(FILE_BEGIN, 5));
    // A closed File has no position: the query fails.
    EXPECT_EQ(f.Tell() & 0xFFFFFFFF, 0xFFFFFFFF);

    HANDLE kept;
    {
        File g;
        ASSERT_TRUE(g.Open(Path("a.txt").c_str(), nullptr, false, false));
        kept = g.Handle;
        g.SkipClose = true;
        g.DeleteOnClose = true;
    }
    // Neither closed nor deleted: the handle still reads.
    char buffer[4];
    DWORD n = 0;
    EXPECT_TRUE(ReadFile(kept, buffer, sizeof(buffer), &n, nullptr));
    EXPECT_EQ(n, 4u);
    CloseHandle(kept);
    EXPECT_TRUE(testutil::FileExists(Path("a.txt")));
}

TEST_F(FileTest, DeleteAndDeleteOnClose) {
    ASSERT_TRUE(testutil::WriteFileBytes(Path("b.txt"), "b"));
    {
        File f;
        ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
        f.AllowDelete = false;
        EXPECT_FALSE(f.Delete());
        f.AllowDelete = true;
        f.HandleType = 1;
        EXPECT_FALSE(f.Delete());
        f.HandleType = 0;
        EXPECT_TRUE(f.Delete());
        EXPECT_EQ(f.Handle, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(f.Delete());
    }
    EXPECT_FALSE(testutil::FileExists(Path("a.txt")));
    {
        File f;
        f.DeleteOnClose = true; // reset by Open
        ASSERT_TRUE(f.Open(Path("b.txt").c_str(), nullptr, false, false));
        EXPECT_FALSE(f.DeleteOnClose);
        f.DeleteOnClose = true;
    }
    EXPECT_FALSE(testutil::FileExists(Path("b.txt")));
}

// The wide name is what NT opens and deletes; the 9x family has no wide
// file functions, so there the ANSI name serves and the wide one is only kept.
TEST_F(FileTest, WideNameOnBothFamilies) {
    // U+0915 has no code page 936 form: only the wide name can reach it.
    std::wstring wide = Wide(folder_) + L"\\\x0915.txt";
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written;
    WriteFile(h, "wide", 4, &written, nullptr);
    CloseHandle(h);

    {
        File f;
        ASSERT_TRUE(f.Open(Path("a.txt").c_str(), wide.c_str(), false, false));
        EXPECT_EQ(std::wstring(f.FileNameW), wide);
        EXPECT_STREQ(f.FileName, Path("a.txt").c_str());
        char buffer[16] = {};
        int n = f.Read(buffer, sizeof(buffer));
        EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), Family9x() ? "0123456789" : "wide");
        EXPECT_TRUE(f.Delete());
    }
    EXPECT_EQ(testutil::FileExists(Path("a.txt")), !Family9x());
    EXPECT_EQ(GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES, Family9x());

    // An empty wide name opens by the ANSI name on both families and is kept.
    ASSERT_TRUE(testutil::WriteFileBytes(Path("c.txt"), "c"));
    File f;
    wcscpy(f.FileNameW, L"old");
    ASSERT_TRUE(f.Open(Path("c.txt").c_str(), L"", false, false));
    EXPECT_EQ(f.FileNameW[0], 0);
    EXPECT_TRUE(f.Delete());
    EXPECT_FALSE(testutil::FileExists(Path("c.txt")));
}

TEST_F(FileTest, MissingWideNameFileSetsNotFound) {
    if (Family9x())
        GTEST_SKIP() << "the wide name is not opened on the 9x family";
    File f;
    std::wstring wide = Wide(folder_) + L"\\missing.txt";
    EXPECT_FALSE(f.Open(Path("a.txt").c_str(), wide.c_str(), false, false));
    EXPECT_EQ(f.NotFound, 1);
}

TEST_F(FileTest, NamesTheFieldsCannotHoldAreRefused) {
    std::string longName = folder_ + "\\" + std::string(1100, 'x');
    File f;
    EXPECT_FALSE(f.Open(longName.c_str(), nullptr, false, false));
    std::wstring longWide(1100, L'x');
    EXPECT_FALSE(f.Open(Path("a.txt").c_str(), longWide.c_str(), false, false));
    EXPECT_EQ(f.Handle, INVALID_HANDLE_VALUE);
}

TEST_F(FileTest, NegativeCountReadsNothing) {
    File f;
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    char buffer[4] = {'k', 'k', 'k', 'k'};
    EXPECT_EQ(f.DirectRead(buffer, -1), -1);
    EXPECT_EQ(f.Read(buffer, -5), -1);
    f.IgnoreReadErrors = true;
    EXPECT_EQ(f.Read(buffer, -5), 0);
    EXPECT_EQ(buffer[0], 'k');
    EXPECT_EQ(f.Tell(), 0);
}

// A handle without read access makes every read fail, piece by piece too.
TEST_F(FileTest, IgnoreReadErrorsCountsUnreadablePieces) {
    File f;
    ASSERT_TRUE(f.Open(Path("a.txt").c_str(), nullptr, false, false));
    CloseHandle(f.Handle);
    f.Handle = CreateFileA(Path("a.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f.Handle, INVALID_HANDLE_VALUE);
    char buffer[1300];
    memset(buffer, 'k', sizeof(buffer));
    EXPECT_EQ(f.Read(buffer, sizeof(buffer)), -1);
    f.IgnoreReadErrors = true;
    f.Seek(FILE_BEGIN, 3);
    EXPECT_EQ(f.Read(buffer, sizeof(buffer)), 1300);
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(sizeof(buffer), 'k'));
    // The pieces start at 3, 515 and 1027; nothing moved the position after
    // the last seek. (Wine does not refuse reads of locked regions, so a
    // partly readable range cannot be made here.)
    EXPECT_EQ(f.Tell(), 1027);
    EXPECT_EQ(f.Read(buffer, 0), 0);
}

TEST(FilePipe, ReadsFromAPipe) {
    HANDLE readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 65536));
    DWORD written;
    ASSERT_TRUE(WriteFile(writeEnd, "pipe data", 9, &written, nullptr));
    File f;
    f.Handle = readEnd;
    EXPECT_TRUE(f.IsDevice());
    // Wine's pipes take a large request and return what is there.
    static char buffer[65536];
    EXPECT_EQ(f.DirectRead(buffer, sizeof(buffer)), 9);
    EXPECT_EQ(std::string(buffer, 9), "pipe data");
    // With the writer gone every read fails, the 20000-byte retry included.
    CloseHandle(writeEnd);
    EXPECT_EQ(f.DirectRead(buffer, sizeof(buffer)), -1);
    EXPECT_EQ(f.Read(buffer, 20000), -1);
    EXPECT_TRUE(f.Close());
}

TEST(FilePipe, StandardInputIsReadInBoundedRequestsAndNeverClosed) {
    HANDLE readEnd, writeEnd;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 65536));
    std::string data(30000, 's');
    DWORD written;
    ASSERT_TRUE(WriteFile(writeEnd, data.data(), 30000, &written, nullptr));
    ASSERT_EQ(written, 30000u);
    HANDLE savedInput = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, readEnd);
    {
        File f;
        f.HandleType = 1;
        static char buffer[65536];
        EXPECT_EQ(f.Read(buffer, sizeof(buffer)), 20000);
        EXPECT_EQ(f.Handle, readEnd);
        EXPECT_TRUE(f.Close());
        EXPECT_EQ(f.HandleType, 0);
        EXPECT_TRUE(f.Close());
    }
    // Still open: the rest can be read through the standard handle.
    char rest[20000];
    DWORD n = 0;
    EXPECT_TRUE(ReadFile(readEnd, rest, sizeof(rest), &n, nullptr));
    EXPECT_EQ(n, 10000u);
    SetStdHandle(STD_INPUT_HANDLE, savedInput);
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
}

} // namespace
