#include "app/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Code page 936 as Windows reports it: lead bytes 81-FE, multi-byte.
class TextTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        saved_ = g_LeadBytes;
        memset(&g_LeadBytes, 0, sizeof(g_LeadBytes));
        if (GetParam()) {
            for (int c = 0x81; c <= 0xFE; c++)
                g_LeadBytes.Entry[c] = 1;
            g_LeadBytes.Entry[256] = 1;
        }
    }
    void TearDown() override { g_LeadBytes = saved_; }
    bool Gbk() const { return GetParam(); }

  private:
    LeadByteTable saved_;
};

INSTANTIATE_TEST_SUITE_P(CodePages, TextTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Gbk" : "SingleByte";
                         });

// "乗" in code page 936: its second byte has the value of a backslash.
const char kJou[] = "\x81\x5C";

TEST_P(TextTest, NameStartFindsTheNamePart) {
    struct Case {
        const char* Path;
        size_t Offset;
    } cases[] = {
        {"C:\\dir\\file", 7}, {"C:\\dir\\", 7}, {"C:file", 2}, {"C:", 2},     {"file", 0},
        {"dir/file", 4},      {"", 0},          {"\\", 1},     {"a\\b/c", 4}, {":x", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameStart(c.Path), c.Path + c.Offset) << '"' << c.Path << '"';
}

TEST_P(TextTest, SecondByteOfDoubleByteCharacterIsNoSeparator) {
    std::string path = std::string("C:\\dir\\") + kJou;
    const char* name = NameStart(path.c_str());
    // Single-byte reading sees the 5C as a separator; code page 936 does not.
    EXPECT_EQ(name - path.c_str(), Gbk() ? 7 : 9);
    std::string drive = std::string(kJou) + ":x";
    // A double-byte first character is no drive letter, whatever follows.
    EXPECT_EQ(NameStart(drive.c_str()) - drive.c_str(), Gbk() ? 0 : 2);
}

TEST_P(TextTest, LastCharStartsTheLastCharacter) {
    EXPECT_STREQ(LastChar(""), "");
    EXPECT_STREQ(LastChar("ab"), "b");
    std::string s = std::string("a") + kJou;
    EXPECT_EQ(LastChar(s.c_str()) - s.c_str(), Gbk() ? 1 : 2);
    // A lead byte right before the terminator is a character of its own.
    const char lone[] = "a\x81";
    EXPECT_EQ(LastChar(lone), lone + 1);
    EXPECT_EQ(NextChar(g_LeadBytes, lone + 1), lone + 2);
}

TEST_P(TextTest, AppendSlash) {
    struct Case {
        const char* Path;
        const char* Expected;
    } cases[] = {
        {"C:\\", "C:\\"}, {"C:", "C:\\"}, {"dir/", "dir/\\"}, {"", ""}, {"C:\\dir", "C:\\dir\\"},
    };
    for (const Case& c : cases) {
        char buffer[16];
        StrCopy(buffer, sizeof(buffer), c.Path);
        EXPECT_TRUE(AppendSlash(buffer, sizeof(buffer)));
        EXPECT_STREQ(buffer, c.Expected) << '"' << c.Path << '"';
    }
    char buffer[16];
    StrCopy(buffer, sizeof(buffer), kJou);
    AppendSlash(buffer, sizeof(buffer));
    EXPECT_EQ(std::string(buffer), Gbk() ? std::string(kJou) + "\\" : std::string(kJou));
}

TEST_P(TextTest, AppendSlashThatDoesNotFitChangesNothing) {
    char full[4] = "abc";
    EXPECT_FALSE(AppendSlash(full, sizeof(full)));
    EXPECT_STREQ(full, "abc");
}

TEST_P(TextTest, TrimTrailing) {
    struct Case {
        const char* Text;
        const char* Expected;
    } cases[] = {
        {"   ", ""}, {"  a b \t\r\n", "  a b"}, {"", ""}, {"x", "x"}, {"\n\n", ""},
    };
    for (const Case& c : cases) {
        char buffer[32];
        StrCopy(buffer, sizeof(buffer), c.Text);
        EXPECT_EQ(TrimTrailing(buffer), buffer);
        EXPECT_STREQ(buffer, c.Expected);
    }
}

TEST_P(TextTest, FormatWithTextFillsOneArgument) {
    struct Case {
        const char* Format;
        const char* Expected;
    } cases[] = {
        {"delete %s now", "delete ARG now"}, {"%s and %s", "ARG and %s"},
        {"100%% %d %x %", "100% %d %x %"},   {"%%s", "%s"},
        {"no argument", "no argument"},
    };
    for (const Case& c : cases) {
        char buffer[64];
        EXPECT_TRUE(FormatWithText(buffer, sizeof(buffer), c.Format, "ARG"));
        EXPECT_STREQ(buffer, c.Expected) << c.Format;
    }
}

TEST_P(TextTest, FormatWithTextCutsAtACharacterStart) {
    // "ab" then 乗: a 4-byte buffer holds "ab" and one byte of 乗.
    std::string format = std::string("ab%s");
    char buffer[4];
    EXPECT_FALSE(FormatWithText(buffer, sizeof(buffer), format.c_str(), kJou));
    EXPECT_EQ(std::string(buffer), Gbk() ? "ab" : "ab\x81");
    char none[1] = {'x'};
    EXPECT_FALSE(FormatWithText(none, 0, "a", "b"));
    EXPECT_EQ(none[0], 'x');
}

struct CopyCase {
    size_t Size;
    const char* Source;
    const char* Expected;
    bool Fits;
};

TEST(Text, BoundedCopyAppendFormat) {
    CopyCase cases[] = {
        {8, "abc", "abc", true},
        {4, "abc", "abc", true},
        {3, "abc", "ab", false},
        {1, "abc", "", false},
    };
    for (const CopyCase& c : cases) {
        char buffer[16];
        memset(buffer, 'z', sizeof(buffer));
        EXPECT_EQ(StrCopy(buffer, c.Size, c.Source), c.Fits);
        EXPECT_STREQ(buffer, c.Expected);
        // Nothing is written at or past the given size.
        EXPECT_EQ(buffer[c.Size], 'z');
        EXPECT_EQ(StrFormat(buffer, c.Size, "%s", c.Source), c.Fits);
        EXPECT_STREQ(buffer, c.Expected);
    }
    char untouched[2] = {'q', 0};
    EXPECT_FALSE(StrCopy(untouched, 0, "abc"));
    EXPECT_FALSE(StrFormat(untouched, 0, "%d", 1));
    EXPECT_EQ(untouched[0], 'q');

    char text[6] = "ab";
    EXPECT_TRUE(StrAppend(text, sizeof(text), "cd"));
    EXPECT_FALSE(StrAppend(text, sizeof(text), "ef"));
    EXPECT_STREQ(text, "abcde");
    // A destination without a terminator inside its size is left alone.
    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_FALSE(StrAppend(unterminated, sizeof(unterminated), "d"));
    EXPECT_EQ(unterminated[2], 'c');
}

TEST(Text, AsciiComparisonsIgnoreOnlyAsciiCase) {
    EXPECT_EQ(CompareAsciiNoCase("/SeTuP", "/setup"), 0);
    EXPECT_LT(CompareAsciiNoCase("/s", "/setup"), 0);
    EXPECT_GT(CompareAsciiNoCase("/s ", "/s"), 0);
    // Bytes above 127 are compared as they are, never folded.
    EXPECT_NE(CompareAsciiNoCase("\xC4", "\xE4"), 0);
    EXPECT_TRUE(StartsWithAsciiNoCase("/WAITING", "/wait", 5));
    EXPECT_FALSE(StartsWithAsciiNoCase("/wai", "/wait", 5));
    EXPECT_TRUE(StartsWithAsciiNoCase("", "", 3));
}

TEST(Text, CopyWideIsBounded) {
    wchar_t source[] = {'a', 'b', 'c', 0};
    wchar_t dest[3] = {'x', 'x', 'x'};
    CopyWide(dest, 3, source);
    EXPECT_EQ(dest[0], 'a');
    EXPECT_EQ(dest[1], 'b');
    EXPECT_EQ(dest[2], 0);
    wchar_t whole[8];
    CopyWide(whole, 8, source);
    EXPECT_EQ(std::wstring(whole), L"abc");
}

} // namespace
