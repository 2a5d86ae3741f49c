// Translations cut to their destination or to the last line's 255
// characters end at a character start under a double-byte code page.
#include "app/text.h"
#include "lang/language.h"
#include "lang/translate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class TranslationCut : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        saved_ = g_LeadBytes;
        memset(&g_LeadBytes, 0, sizeof(g_LeadBytes));
        // Code page 936 as Windows reports it: lead bytes 81-FE.
        if (Gbk()) {
            for (int c = 0x81; c <= 0xFE; c++)
                g_LeadBytes.Entry[c] = 1;
            g_LeadBytes.Entry[256] = 1;
        }
    }
    void TearDown() override { g_LeadBytes = saved_; }
    bool Gbk() const { return GetParam(); }
    LeadByteTable saved_;
};

void Load(LanguageResources& language, const std::string& text) {
    char* buffer = static_cast<char*>(malloc(kLanguageBufferSize));
    ASSERT_NE(buffer, nullptr);
    memcpy(buffer, text.data(), text.size());
    language.TakeText(buffer, static_cast<int>(text.size()));
}

std::string EntryLine(const char* source, const std::string& value) {
    char key[9];
    FormTranslationKey(key, nullptr, source, kMessageText);
    return std::string(key) + "=\"" + value;
}

std::string Translate(const LanguageResources& l, const char* source, size_t size) {
    std::string dest(size + 8, 'X');
    TranslateWith(l, &dest[0], size, source, nullptr, kMessageText);
    for (size_t i = size; i < dest.size(); i++)
        EXPECT_EQ(dest[i], 'X') << "written past " << size;
    return dest.c_str();
}

// "帮" in code page 936.
const std::string kWide = "\xB0\xEF";

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; i++)
        r += s;
    return r;
}

} // namespace

TEST_P(TranslationCut, DestinationCut) {
    LanguageResources l;
    // An odd byte before the double-byte characters, so that cuts fall
    // between and inside them.
    Load(l, "***messages**\n" + EntryLine("wide", "a" + Repeat(kWide, 700) + "\"") + "\n" +
                EntryLine("short", "a" + Repeat(kWide, 3) + "\"") + "\n");
    struct Row {
        size_t Size;
        size_t Length; // under code page 936; without it always Size - 1
    } rows[] = {{1, 0}, {2, 1}, {3, 1}, {4, 3}, {256, 255}, {257, 255}, {512, 511}, {1024, 1023}};
    for (const Row& r : rows) {
        std::string got = Translate(l, "wide", r.Size);
        size_t want = Gbk() ? r.Length : r.Size - 1;
        EXPECT_EQ(got, ("a" + Repeat(kWide, 700)).substr(0, want)) << r.Size;
    }
    // A value that fits is never shortened, whatever its last byte.
    EXPECT_EQ(Translate(l, "short", 8), "a" + Repeat(kWide, 3));
}

TEST_P(TranslationCut, LastLineCut) {
    // 255 characters of the last line would end inside the 128th "帮".
    LanguageResources l;
    Load(l, "***messages**\n" + EntryLine("last", Repeat(kWide, 200)));
    EXPECT_EQ(Translate(l, "last", 1024), Repeat(kWide, 127) + (Gbk() ? "" : "\xB0"));
    // A quote within the 255 ends the value there, uncut.
    LanguageResources quoted;
    Load(quoted, "***messages**\n" + EntryLine("last", "a" + kWide + "\"" + Repeat(kWide, 200)));
    EXPECT_EQ(Translate(quoted, "last", 1024), "a" + kWide);
}

INSTANTIATE_TEST_SUITE_P(CodePages, TranslationCut, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Gbk" : "SingleByte";
                         });
