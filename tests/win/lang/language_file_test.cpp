// LanguageResources::LoadFile on real files through File: the marker search
// over overlapping blocks, short files, the section limit, and paths that
// cannot be loaded.
#include "lang/language.h"
#include "lang/translate.h"

#include "app/text.h"

#include "support/testutil.h"

#include <gtest/gtest.h>

using namespace testutil;

namespace {

std::string Entry(const char* source, const char* value) {
    char key[9];
    FormTranslationKey(key, nullptr, source, kMessageText);
    return std::string(key) + "=\"" + value + "\"";
}

// `size` bytes of preamble with the marker and one entry placed at `offset`.
std::string MarkerAt(size_t offset, size_t size) {
    std::string file(size, 'p');
    std::string section = "***messages**\r\n" + Entry("src", "found") + "\r\n";
    file.replace(offset, section.size(), section);
    return file;
}

std::string Lookup(const LanguageResources& l, const char* source) {
    char text[256];
    TranslateWith(l, text, dimof(text), source, nullptr, kMessageText);
    return text;
}

} // namespace

TEST(LanguageFile, MarkerSearchOnRealFiles) {
    const size_t step = kLanguageBlockSize - kLanguageBlockOverlap;
    struct Row {
        const char* Name;
        std::string Bytes;
        bool Loaded;
        const char* Value;
    } rows[] = {
        {"at the start", MarkerAt(0, 200), true, "found"},
        {"in the last 12 bytes of the first block", MarkerAt(8192 - 12, 9000), true, "found"},
        {"in the last 13 bytes of the first block", MarkerAt(8192 - 13, 9000), true, "found"},
        {"in the 16th block", MarkerAt(15 * step + 100, 15 * step + 400), true, "found"},
        {"beyond the 16th block", MarkerAt(16 * step + 100, 16 * step + 400), false, "src"},
        {"15 bytes", "***messages**\r\n", false, "src"},
        {"16 bytes", "***messages**\r\n\n", true, "src"},
        {"empty", "", false, "src"},
        {"no marker", std::string(20000, 'p'), false, "src"},
    };
    std::string folder = FreshFolder("lng_marker");
    int n = 0;
    for (const Row& r : rows) {
        std::string path = folder + "\\" + std::to_string(n++) + ".lng";
        ASSERT_TRUE(WriteFileBytes(path, r.Bytes)) << r.Name;
        LanguageResources l;
        l.LoadFile(path.c_str());
        EXPECT_EQ(l.IsLoaded(), r.Loaded) << r.Name;
        EXPECT_EQ(Lookup(l, "src"), r.Value) << r.Name;
    }
}

TEST(LanguageFile, SectionEndsAfter65536Bytes) {
    std::string folder = FreshFolder("lng_section");
    std::string late = "\r" + Entry("late", "late value") + "\r";
    std::string after = "\n" + Entry("after", "after value") + "\n";
    // "late" starts 11 bytes before the section's end and is cut there;
    // "after" starts beyond it and is never read.
    std::string file = MarkerAt(10, 200);
    file.resize(10 + kLanguageSectionSize - 12, 'p');
    file += late + after + std::string(70000, 'q');
    std::string path = folder + "\\long.lng";
    ASSERT_TRUE(WriteFileBytes(path, file));
    LanguageResources l;
    l.LoadFile(path.c_str());
    ASSERT_TRUE(l.IsLoaded());
    EXPECT_EQ(l.TextLength, kLanguageSectionSize);
    EXPECT_EQ(Lookup(l, "src"), "found");
    EXPECT_EQ(Lookup(l, "late"), "l");
    EXPECT_EQ(Lookup(l, "after"), "after");
}

TEST(LanguageFile, OpenSharesReadingAndWriting) {
    std::string folder = FreshFolder("lng_open");
    std::string path = folder + "\\uninstall.lng";
    ASSERT_TRUE(WriteFileBytes(path, MarkerAt(0, 100)));
    struct Row {
        DWORD Share;
        bool Loaded;
    } rows[] = {
        // A writer holds the file: the loader must share writing.
        {FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {FILE_SHARE_READ, true},
        // The holder refuses readers.
        {FILE_SHARE_WRITE, false},
        {0, false},
    };
    for (const Row& r : rows) {
        HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, r.Share, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(writer, INVALID_HANDLE_VALUE);
        LanguageResources l;
        l.LoadFile(path.c_str());
        EXPECT_EQ(l.IsLoaded(), r.Loaded) << r.Share;
        CloseHandle(writer);
    }
}

TEST(LanguageFile, PathsThatLoadNothing) {
    std::string folder = FreshFolder("lng_paths");
    ASSERT_TRUE(WriteFileBytes(folder + "\\uninstall.lng", MarkerAt(0, 100)));
    std::string tooLong = folder + "\\" + std::string(1100, 'x') + "\\uninstall.lng";
    for (const std::string& path : {folder, folder + "\\missing.lng", tooLong}) {
        LanguageResources l;
        l.LoadFile(path.c_str());
        EXPECT_FALSE(l.IsLoaded()) << path.substr(0, 80);
    }
}
