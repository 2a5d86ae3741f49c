#include "app/text.h"
#include "uninstall/list_reader.h"
#include "uninstall/path_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A byte source that hands out at most `Chunk` bytes per read, so that lines
// cross the reader's buffer boundaries.
struct Source {
    std::string Bytes;
    size_t Chunk;
    size_t Position = 0;
    bool FailAtEnd = false;
};

int ReadSource(void* context, char* buffer, int count) {
    Source* s = static_cast<Source*>(context);
    size_t n = std::min({s->Chunk, static_cast<size_t>(count), s->Bytes.size() - s->Position});
    if (n == 0)
        return s->FailAtEnd ? -1 : 0;
    memcpy(buffer, s->Bytes.data() + s->Position, n);
    s->Position += n;
    return static_cast<int>(n);
}

// Every line the reader returns, with "!" standing for an invalid one.
std::vector<std::string> ReadAll(const std::string& bytes, size_t chunk) {
    Source source{bytes, chunk};
    ListReader reader(ReadSource, &source);
    std::vector<std::string> lines;
    char line[kListLineSize];
    for (ListLine kind; (kind = reader.Next(line, sizeof(line))) != ListLine::End;)
        lines.push_back(kind == ListLine::Entry ? std::string(line) : std::string("!"));
    return lines;
}

LeadByteTable Gbk() {
    LeadByteTable table = {};
    for (int c = 0x81; c <= 0xFE; c++)
        table.Entry[c] = 1;
    table.Entry[256] = 1;
    return table;
}

const LeadByteTable kSingleByte = {};

} // namespace

TEST(ListReader, SplitsTrimsAndSkipsEmptyLines) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string Bytes;
        Lines Expected;
    } cases[] = {
        {"", {}},
        {"a.txt", {"a.txt"}},
        {"a.txt\r\nsub\\b.txt\r\n", {"a.txt", "sub\\b.txt"}},
        {"a.txt\nb.txt\n", {"a.txt", "b.txt"}},
        {"a.txt \t\r\n\r\n \t \n\n b.txt\t", {"a.txt", " b.txt"}},
        {"a\rb.txt\r\r\r\n", {"a\rb.txt"}},
        {"\n\n\n", {}},
        {std::string("keep.txt\0tail\nnext.txt", 22), {"!", "next.txt"}},
    };
    for (const Case& c : cases) {
        for (size_t chunk : {1u, 3u, 4096u}) {
            SCOPED_TRACE(testing::Message() << "chunk " << chunk << " bytes " << c.Bytes);
            EXPECT_EQ(ReadAll(c.Bytes, chunk), c.Expected);
        }
    }
}

TEST(ListReader, LineOverTheLimitIsSkippedWholeNotCut) {
    std::string fits(kListLineSize - 1, 'x');
    std::string over(kListLineSize, 'x');
    // The piece after the limit must never come out as an entry of its own.
    std::string bytes = fits + "\r\n" + over + "victim.txt\r\n" + fits + "   \t\r\n" + "last.txt";
    for (size_t chunk : {7u, 4096u}) {
        std::vector<std::string> lines = ReadAll(bytes, chunk);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], fits);
        EXPECT_EQ(lines[1], "!");
        // Blanks past the limit are trailing blanks: the line is whole.
        EXPECT_EQ(lines[2], fits);
        EXPECT_EQ(lines[3], "last.txt");
    }
}

TEST(ListReader, ReadErrorEndsTheList) {
    Source source{"a.txt\nb.t", 4096};
    source.FailAtEnd = true;
    ListReader reader(ReadSource, &source);
    char line[kListLineSize];
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::Entry);
    EXPECT_STREQ(line, "a.txt");
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::Entry);
    EXPECT_STREQ(line, "b.t");
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::End);
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::End);
}

TEST(ListReader, SmallBufferMarksLongLinesInvalid) {
    Source source{"abc\nabcdefgh\n", 4096};
    ListReader reader(ReadSource, &source);
    char line[5];
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::Entry);
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::Invalid);
    EXPECT_STREQ(line, "");
    EXPECT_EQ(reader.Next(line, sizeof(line)), ListLine::End);
}

TEST(ListEntry, OnlyEntriesInsideTheFolderPass) {
    struct Case {
        const char* Entry;
        bool Inside;
    } cases[] = {
        {"Molvex.exe", true},
        {"sub\\dir\\file.txt", true},
        {"sub/dir/file.txt", true},
        {" leading blank.txt", true},
        {"a..b.txt", true},
        {"..a", true},
        {".hidden", true},
        {"sub\\", true},
        {"console.txt", true},
        {"com10.txt", true},
        {"", false},
        {"..", false},
        {"..\\outside.txt", false},
        {"../outside.txt", false},
        {"sub\\..\\..\\outside.txt", false},
        {"sub\\..", false},
        {".", false},
        {"...\\x", false},
        {". .\\x", false},
        {"sub\\.. \\x", false},
        {"\\outside.txt", false},
        {"/outside.txt", false},
        {"\\\\server\\share\\x", false},
        {"\\\\?\\C:\\x", false},
        {"\\\\.\\PhysicalDrive0", false},
        {"C:\\outside.txt", false},
        {"C:outside.txt", false},
        {"file.txt:stream", false},
        {"NUL", false},
        {"sub\\con.txt", false},
        {"Com1", false},
        {"lpt9.log", false},
        {"AUX ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsEntryInsideFolder(c.Entry, kSingleByte), c.Inside) << "entry " << c.Entry;
}

TEST(ListEntry, DoubleByteSecondByteIsNoSeparator) {
    LeadByteTable gbk = Gbk();
    // "乗" is 81 5C; as a double-byte character it does not end a component.
    EXPECT_TRUE(IsEntryInsideFolder("\x81\x5C..", gbk));
    EXPECT_TRUE(IsEntryInsideFolder("\x81\x5C\\a.txt", gbk));
    EXPECT_FALSE(IsEntryInsideFolder("\x81\x5C\\..\\..\\x", gbk));
    // Read byte by byte the same entry has a ".." component.
    EXPECT_FALSE(IsEntryInsideFolder("\x81\x5C..", kSingleByte));
}

TEST(PathText, LastBackslashSkipsSecondBytes) {
    LeadByteTable gbk = Gbk();
    char path[] = "C:\\dir\\\x81\x5C";
    EXPECT_EQ(LastBackslash(path, gbk), path + 6);
    EXPECT_EQ(LastBackslash(path, kSingleByte), path + 8);
    char none[] = "file";
    EXPECT_EQ(LastBackslash(none, gbk), nullptr);
}

TEST(PathText, DropPartialLastChar) {
    LeadByteTable gbk = Gbk();
    struct Case {
        const char* Text;
        const char* Expected;
    } cases[] = {
        {"ab\xC1", "ab"},
        {"ab\xC1\xD0", "ab\xC1\xD0"},
        {"\xC1\xD0\xC1", "\xC1\xD0"},
        {"", ""},
    };
    for (const Case& c : cases) {
        char text[16];
        StrCopy(text, sizeof(text), c.Text);
        DropPartialLastChar(text, gbk);
        EXPECT_STREQ(text, c.Expected);
    }
    char single[] = "ab\xC1";
    DropPartialLastChar(single, kSingleByte);
    EXPECT_STREQ(single, "ab\xC1");
}
