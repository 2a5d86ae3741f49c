// The language file's byte handling: keys, unescaping, index, lookups and
// the scale entry, under the sanitizers.
#include "lang/crc32.h"
#include "lang/language.h"
#include "lang/scale.h"
#include "lang/translate.h"
#include "lang_memory_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Bit by bit, straight from the definition: the independent reference.
uint32_t ReferenceCrc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int bit = 0; bit < 8; bit++)
            crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0);
    }
    return ~crc;
}

std::string Key(int kind, const char* context, const char* text) {
    char key[9];
    EXPECT_TRUE(FormTranslationKey(key, context, text, kind));
    return key;
}

std::string ReferenceKey(char kind, const std::string& context, const std::string& text) {
    char key[9];
    snprintf(key, sizeof(key), "%08x", ReferenceCrc32(std::string(1, kind) + context + text));
    return key;
}

// Loads `text` as if it were the section read from a file.
void LoadText(LanguageResources& language, const std::string& text) {
    char* buffer = static_cast<char*>(malloc(kLanguageBufferSize));
    ASSERT_NE(buffer, nullptr);
    ASSERT_LE(text.size(), static_cast<size_t>(kLanguageSectionSize));
    memcpy(buffer, text.data(), text.size());
    buffer[kLanguageSectionSize] = 0;
    language.TakeText(buffer, static_cast<int>(text.size()));
}

std::string Loaded(const LanguageResources& language) {
    return std::string(language.TextBuffer, static_cast<size_t>(language.TextLength));
}

std::vector<int> Index(const LanguageResources& language) {
    return std::vector<int>(language.LineIndex.Items,
                            language.LineIndex.Items + language.LineIndex.ItemCount);
}

std::string Translate(const LanguageResources& language, const char* source, const char* context,
                      int kind, size_t size = 1024) {
    std::vector<char> dest(size, 'X');
    TranslateWith(language, dest.data(), dest.size(), source, context, kind);
    return dest.data();
}

} // namespace

TEST(TranslationKey, ExamplesAndConcatenation) {
    EXPECT_EQ(Key(kDialogText, "LTR", "LTR"), "50a17ae8");
    EXPECT_EQ(Key(kDialogText, "SETUPDLG", ""), "9b889d24");
    // Only the concatenation counts: a split moved between context and text,
    // or an absent context against an empty one, gives the same key.
    EXPECT_EQ(Key(kDialogText, "SETUP", "DLG"), "9b889d24");
    EXPECT_EQ(Key(kDialogText, "", "SETUPDLG"), "9b889d24");
    EXPECT_EQ(Key(kMessageText, nullptr, "abc"), Key(kMessageText, "", "abc"));
    // The kind separates a message text from the same dialog text.
    EXPECT_NE(Key(kMessageText, nullptr, "OK"), Key(kDialogText, nullptr, "OK"));
    EXPECT_NE(Key(kDialogText, "SETUPDLG", "OK"), Key(kDialogText, "DONEDLG", "OK"));
    char key[9] = "zzzzzzzz";
    EXPECT_FALSE(FormTranslationKey(key, nullptr, "abc", 3));
    EXPECT_STREQ(key, "");
}

TEST(TranslationKey, MatchesReferenceCrc) {
    // Lengths around the eight-byte steps, GBK bytes, and bytes above 0x7F.
    struct Case {
        int Kind;
        char KindChar;
        const char* Context;
        const char* Text;
    } cases[] = {
        {0, 's', "", ""},
        {0, 's', "", "a"},
        {0, 's', "", "1234567"},
        {0, 's', "", "12345678"},
        {0, 's', "", "123456789"},
        {0, 's', "", "\xD0\xB6\xD4\xD8 Molvex"},  // "卸载 Molvex"
        {1, '$', "SETUPDLG", "\xC8\xB7\xB6\xA8"}, // "确定"
        {1, '$', "CONTEXTITEMS", "\xCA\xCD\xB7\xC5\xCE\xC4\xBC\xFE(&A)..."},
        {2, '@', "x", "\xFF\xFE\x80\x81\x5C"},
        {1, '$', "DONEDLG", "A fairly long text of more than sixteen bytes, to take many steps"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Key(c.Kind, c.Context, c.Text), ReferenceKey(c.KindChar, c.Context, c.Text))
            << c.Text;
    }
    const char check[] = "123456789";
    EXPECT_EQ(~Crc32Update(0xFFFFFFFFu, check, 9), 0xCBF43926u);
    // Split updates equal one update, whatever the split.
    std::string text = "The quick brown fox jumps over the lazy dog";
    for (size_t split = 0; split <= text.size(); split++) {
        uint32_t crc = Crc32Update(0xFFFFFFFFu, text.data(), split);
        crc = Crc32Update(crc, text.data() + split, text.size() - split);
        EXPECT_EQ(~crc, ReferenceCrc32(text)) << split;
    }
    EXPECT_EQ(Crc32Table()[1], 0x77073096u);
    EXPECT_EQ(Crc32Table()[255], 0x2D02EF8Du);
}

TEST(LanguageText, Unescaping) {
    struct Case {
        std::string In;
        std::string Out;
    } cases[] = {
        {"a\r\nb\rc\nd", "a\f\fb\fc\fd"},
        {"\\\"q\\\"", "\"q\""},
        {"\\\\", "\\"},
        {"\\\\n", "\\n"}, // the escaped backslash does not start a second escape
        {"x\\ny\\rz\\t", "x\ny\rz\t"},
        {"\\a\\", "\\a\\"}, // unknown escape and a backslash as the last byte
        {"\\\r\n", "\\\f\f"},
        {std::string("ab\0cd", 5), "ab"},
        // GBK "乗" is 81 5C: the unescaping sees only bytes.
        {"\x81\x5Cn", "\x81\n"},
        {"\x81\x5C\x5C", "\x81\x5C"},
        {"", ""},
    };
    for (const Case& c : cases) {
        LanguageResources language;
        LoadText(language, c.In);
        EXPECT_TRUE(language.IsLoaded());
        EXPECT_EQ(Loaded(language), c.Out) << c.In;
        EXPECT_EQ(language.TextBuffer[language.TextLength], 0);
    }
}

TEST(LanguageText, IndexSkipsMarkerLineAndShortTail) {
    LanguageResources language;
    //                    0             14       23       32
    LoadText(language, "***messages**\r\nbbbbbbbb\n\n\naaaaaaaa\rshort");
    // Line starts at 15 and 26 (after a run of three separators); "short"
    // starts within the last 8 bytes, the marker line at 0.
    EXPECT_EQ(Index(language), (std::vector<int>{26, 15}));
}

TEST(LanguageText, LineEndsIndexTheSameEntries) {
    const char* ends[] = {"\r\n", "\n", "\r", "\n\n", "\r\n\r\n\r\n", "\n\r"};
    for (const char* end : ends) {
        std::string text = std::string("***messages**") + end + "0000000a=\"one\"" + end +
                           "0000000c=\"three\"" + end + "0000000b=\"two\"" + end;
        LanguageResources language;
        LoadText(language, text);
        ASSERT_EQ(language.LineIndex.ItemCount, 3) << end;
        const char* keys[] = {"0000000a", "0000000b", "0000000c"};
        for (int i = 0; i < 3; i++) {
            int p = language.LineIndex.Items[i];
            EXPECT_EQ(std::string(language.TextBuffer + p, 8), keys[i]);
            EXPECT_EQ(language.FindEntry(keys[i]), p);
        }
    }
}

TEST(LanguageText, ArrayGrowth) {
    Array<int> a;
    std::vector<int> capacities;
    for (int i = 0; i < 262; i++) {
        a.Extend(1);
        a.Items[a.ItemCount - 1] = i;
        if (capacities.empty() || capacities.back() != a.Capacity)
            capacities.push_back(a.Capacity);
    }
    EXPECT_EQ(capacities, (std::vector<int>{32, 72, 122, 184, 262}));
    for (int i = 0; i < 262; i++)
        ASSERT_EQ(a.Items[i], i);
    Array<int> b;
    b.Extend(100);
    EXPECT_EQ(b.Capacity, 100);
    EXPECT_EQ(b.ItemCount, 100);
}

TEST(Lookup, ValuesOfEntryLines) {
    LanguageResources language;
    std::string k = Key(kMessageText, nullptr, "src");
    std::string text = "***messages**\n" + k + "=\"abc\"\n";
    struct Case {
        const char* Line; // after the key
        const char* Value;
    } cases[] = {
        {"=\"abc\"", "abc"},
        {"=\"say \"hi\" now\" trailing", "say \"hi\" now"},
        {"=\"no closing quote", "no closing quote"},
        {"=\"\"", ""},
        {"=\"", ""},
        // A blank before "=": still found, the value starts at the 11th byte.
        {" =\"abc\"", "\"abc"},
        {"X\"abc\"", "abc"},
        {"=\"tab\\there\\nnext\"", "tab\there\nnext"},
    };
    for (const Case& c : cases) {
        LanguageResources l;
        LoadText(l, "***messages**\n" + k + c.Line + "\nffffffff=\"other\"\n");
        EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), c.Value) << c.Line;
    }
}

TEST(Lookup, MissesLeaveTheSource) {
    std::string k = Key(kMessageText, nullptr, "src");
    std::string upper = k;
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    ASSERT_NE(upper, k) << "pick a source whose key has a letter";
    const std::string files[] = {
        "***messages**\n" + upper + "=\"upper\"\n",
        "***messages**\n " + k + "=\"indented\"\n",
        "***messages**\n" + Key(kDialogText, nullptr, "src") + "=\"other kind\"\n",
    };
    for (const std::string& file : files) {
        LanguageResources l;
        LoadText(l, file);
        EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), "src") << file;
        char inPlace[16] = "src";
        TranslateWith(l, inPlace, sizeof(inPlace), inPlace, nullptr, kMessageText);
        EXPECT_STREQ(inPlace, "src");
    }
    LanguageResources empty;
    EXPECT_FALSE(empty.IsLoaded());
    EXPECT_EQ(Translate(empty, "src", nullptr, kMessageText), "src");
    EXPECT_EQ(Translate(empty, "source text", nullptr, kMessageText, 7), "source");
}

TEST(Lookup, InPlaceTranslation) {
    LanguageResources l;
    LoadText(l, "***messages**\n" + Key(kDialogText, "DLG", "Cancel") + "=\"Abbrechen\"\n");
    char text[1024] = "Cancel";
    EXPECT_TRUE(TranslateWith(l, text, sizeof(text), text, "DLG", kDialogText));
    EXPECT_STREQ(text, "Abbrechen");
}

TEST(Lookup, LastLineAndBounds) {
    std::string k = Key(kMessageText, nullptr, "src");
    std::string longText(2000, 'v');
    {
        // Last line without a line end: at most 255 characters.
        LanguageResources l;
        LoadText(l, "***messages**\n" + k + "=\"" + longText);
        EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), std::string(255, 'v'));
        LanguageResources shortLine;
        LoadText(shortLine, "***messages**\n" + k + "=\"end\"");
        EXPECT_EQ(Translate(shortLine, "src", nullptr, kMessageText), "end");
    }
    {
        // A value that would begin past the end of the text is empty.
        LanguageResources l;
        LoadText(l, "***messages**\n" + k + "=");
        EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), "");
    }
    {
        // Long values are cut to the destination; the closing quote is found
        // on the whole line first, so an inner quote before the cut stays.
        std::string value = std::string(100, 'a') + "\"" + std::string(1500, 'b');
        LanguageResources l;
        LoadText(l, "***messages**\n" + k + "=\"" + value + "\"\n");
        size_t sizes[] = {1, 2, 9, 256, 512, 1024, 4096};
        for (size_t size : sizes) {
            std::vector<char> dest(size + 16, 'X');
            TranslateWith(l, dest.data(), size, "src", nullptr, kMessageText);
            std::string got = dest.data();
            EXPECT_EQ(got, value.substr(0, std::min(size - 1, value.size()))) << size;
            for (size_t i = size; i < dest.size(); i++)
                ASSERT_EQ(dest[i], 'X') << "written past " << size;
        }
        char untouched = 'X';
        TranslateWith(l, &untouched, 0, "src", nullptr, kMessageText);
        EXPECT_EQ(untouched, 'X');
    }
}

TEST(Lookup, ScanEntryFindsWhatTheIndexCannot) {
    std::string k = Key(kMessageText, nullptr, "src");
    LanguageResources l;
    // Position 0 is never indexed; only the scan finds it there.
    LoadText(l, k + "=\"first\"\f\fyyyyyyyyXnot an entry\fzzzzzzzz=\"z\"\f");
    EXPECT_EQ(l.FindEntry(k.c_str()), -1);
    EXPECT_EQ(l.ScanEntry(k.c_str()), 0);
    EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), "first");

    LanguageResources scan;
    // The scan wants "=" and a quote after the key; the binary search does not.
    LoadText(scan, "x\f\f" + k + "X\"no\"\f" + k + "=\"yes\"");
    EXPECT_EQ(scan.ScanEntry(k.c_str()), static_cast<int>(3 + k.size() + 5 + 1));
    EXPECT_EQ(scan.ScanEntry("0000000"), -1); // a short key never matches
    EXPECT_EQ(scan.FindEntry(""), -1);
}

// The search reads the keys copied beside the index; without that copy it
// reads the text. Both must land on the same line for every key, found or
// not: duplicates, bytes above 0x7F (unsigned order), a key running into
// the next line, short and empty keys.
TEST(Lookup, KeyCopyAndTextGiveTheSamePositions) {
    std::string text = "***messages**\f";
    const char* lines[] = {"dupdupdu=\"1\"",
                           "\xe4\xb8\xad\xe6\x96\x87"
                           "ab=\"2\"",
                           "dupdupdu=\"3\"",
                           "abc\fdefghij",
                           "dupdupdu=\"4\"",
                           "\x7f\x80"
                           "zzzzzz",
                           "aaaaaaaa=\"5\""};
    for (const char* line : lines)
        text += std::string(line) + "\f";
    LanguageResources l;
    LoadText(l, text);
    ASSERT_NE(l.LineKeys, nullptr);
    std::vector<std::string> keys = {"",
                                     "a",
                                     "dupdupdu",
                                     "dupdupd",
                                     "abc\fdefg",
                                     "\x7f\x80"
                                     "zzzzzz",
                                     "\xe4\xb8\xad\xe6\x96\x87"
                                     "ab",
                                     "aaaaaaaa",
                                     "zzzzzzzz",
                                     "\xff"};
    for (const char* line : lines)
        keys.push_back(std::string(line, 8));
    std::vector<int> withCopy;
    for (const std::string& key : keys)
        withCopy.push_back(l.FindEntry(key.c_str()));
    uint64_t* copy = l.LineKeys;
    l.LineKeys = nullptr;
    for (size_t i = 0; i < keys.size(); i++)
        EXPECT_EQ(l.FindEntry(keys[i].c_str()), withCopy[i]) << i;
    l.LineKeys = copy;
    EXPECT_NE(withCopy[2], -1);
    EXPECT_EQ(withCopy[8], -1);
}

TEST(Lookup, ManyEntriesAreAllFound) {
    std::string text = "***messages**\n";
    for (int i = 0; i < 3000; i++) {
        char line[64];
        int id = (i * 7919) % 3000; // out of order in the file
        snprintf(line, sizeof(line), "%s=\"v%d\"\r\n",
                 Key(kMessageText, nullptr, std::to_string(id).c_str()).c_str(), id);
        text += line;
    }
    LanguageResources l;
    LoadText(l, text);
    EXPECT_EQ(l.LineIndex.ItemCount, 3000);
    for (int id = 0; id < 3000; id++) {
        std::string source = std::to_string(id);
        ASSERT_EQ(Translate(l, source.c_str(), nullptr, kMessageText), "v" + source);
    }
    EXPECT_EQ(Translate(l, "3000", nullptr, kMessageText), "3000");
}

namespace {

std::string WithMarkerAt(size_t offset, size_t size, const std::string& marker = "***messages**") {
    std::string file(size, 'p');
    std::string section = marker + "\n" + Key(kMessageText, nullptr, "src") + "=\"found\"\n";
    file.replace(offset, section.size(), section);
    return file;
}

std::string LoadFromMemory(const std::string& bytes, bool* loaded, int failReadsFrom = 1 << 30) {
    MemoryFile file(bytes);
    file.FailReadsFrom = failReadsFrom;
    LanguageResources l;
    l.LoadFrom(file);
    *loaded = l.IsLoaded();
    return Translate(l, "src", nullptr, kMessageText);
}

} // namespace

TEST(LoadFrom, MarkerSearch) {
    struct Case {
        const char* Name;
        std::string Bytes;
        bool Loaded;
        const char* Value;
    } cases[] = {
        {"at start", WithMarkerAt(0, 100), true, "found"},
        {"three closing asterisks", WithMarkerAt(5, 100, "***messages***"), true, "found"},
        {"two opening asterisks", WithMarkerAt(5, 100, "**messages**"), false, "src"},
        {"last 12 bytes of a block", WithMarkerAt(8192 - 12, 9000), true, "found"},
        {"last 13 bytes of a block", WithMarkerAt(8192 - 13, 9000), true, "found"},
        {"in the 16th block", WithMarkerAt(15 * (8192 - 16) + 100, 15 * 8176 + 400), true, "found"},
        {"beyond the 16th block", WithMarkerAt(16 * 8176 + 100, 16 * 8176 + 400), false, "src"},
        {"fewer than 16 bytes", "***messages**\n", false, "src"},
        {"16 bytes", "***messages**\n\n\n", true, "src"},
        {"empty file", "", false, "src"},
    };
    for (const Case& c : cases) {
        bool loaded = false;
        EXPECT_EQ(LoadFromMemory(c.Bytes, &loaded), c.Value) << c.Name;
        EXPECT_EQ(loaded, c.Loaded) << c.Name;
    }
}

TEST(LoadFrom, SectionLimitAndFailedRead) {
    std::string late = "\n" + Key(kMessageText, nullptr, "late") + "=\"late\"\n";
    {
        // The line starts 11 bytes before the section's end: its value is
        // cut there, and what follows the section is never read.
        std::string file = WithMarkerAt(10, 200);
        file.resize(10 + kLanguageSectionSize - 12, 'p');
        file += late + std::string(100, 'q');
        MemoryFile f(file);
        LanguageResources l;
        l.LoadFrom(f);
        EXPECT_EQ(l.TextLength, kLanguageSectionSize);
        EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), "found");
        EXPECT_EQ(Translate(l, "late", nullptr, kMessageText), "l");
    }
    {
        std::string file = WithMarkerAt(10, 200);
        file.resize(10 + kLanguageSectionSize, 'p');
        file += late;
        MemoryFile f(file);
        LanguageResources l;
        l.LoadFrom(f);
        EXPECT_EQ(Translate(l, "src", nullptr, kMessageText), "found");
        EXPECT_EQ(Translate(l, "late", nullptr, kMessageText), "late");
    }
    // The read of the section fails: loaded, but empty.
    MemoryFile failing(WithMarkerAt(0, 100));
    failing.FailReadsFrom = 1;
    LanguageResources empty;
    empty.LoadFrom(failing);
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_EQ(empty.TextLength, 0);
    EXPECT_EQ(empty.LineIndex.ItemCount, 0);
    EXPECT_EQ(Translate(empty, "src", nullptr, kMessageText), "src");
}

TEST(DialogScaleEntry, Parsing) {
    struct Case {
        const char* Text;
        int Width;
        int Height;
        bool On;
    } cases[] = {
        {"", 100, 100, false},
        {"120", 100, 100, false},
        {"120*110", 120, 110, true},
        {"100*100", 100, 100, false},
        {"100*100 and more", 100, 100, false},
        {"100*101", 100, 101, true},
        {" 80 *  +90x", 80, 90, true},
        {"-5*7*9", -5, 7, true},
        {"abc*def", 0, 0, true},
        {"*", 0, 0, true},
        {"99999999999999*1", kScaleLimit, 1, true},
        {"1*-99999999999999", 1, -kScaleLimit, true},
    };
    for (const Case& c : cases) {
        DialogScale s = ParseScaleEntry(c.Text);
        EXPECT_EQ(s.Width, c.Width) << c.Text;
        EXPECT_EQ(s.Height, c.Height) << c.Text;
        EXPECT_EQ(s.On, c.On) << c.Text;
    }
    EXPECT_EQ(ScaleBy(331, 120), 397);
    EXPECT_EQ(ScaleBy(-7, 50), -3); // toward zero
    EXPECT_EQ(ScaleBy(7, -50), -3);
    EXPECT_EQ(ScaleBy(2000000000, kScaleLimit), INT32_MAX);
    EXPECT_EQ(ScaleBy(-2000000000, kScaleLimit), INT32_MIN);
}
