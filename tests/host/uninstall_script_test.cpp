#include "uninstall/script_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Build(bool family9x, const char* program, const char* folder, const char* script) {
    char text[kScriptMaxSize];
    size_t n = BuildRemovalScript(text, sizeof(text), family9x, program, folder, script);
    return std::string(text, n);
}

std::string Expected(const std::string& firstLine, const std::string& program,
                     const std::string& folder, const std::string& script) {
    std::string block = "del \"" + program + "\"\r\nrd \"" + folder + "\"\r\nif not exist \"" +
                        program + "\" goto done\r\n";
    std::string text = firstLine;
    for (int i = 0; i < 5; i++)
        text += block;
    return text + ":done\r\nif exist \"" + program + "\" \"" + program + "\" /warning\r\ndel \"" +
           script + "\"";
}

} // namespace

TEST(RemovalScript, BytesOfEachFamily) {
    const char* program = "C:\\Program Files\\Molvex\\uninstall.exe";
    const char* folder = "C:\\Program Files\\Molvex";
    const char* script = "C:\\TEMP\\Uninstall.Mvx.Bat";
    EXPECT_EQ(Build(false, program, folder, script),
              Expected("\"C:\\Program Files\\Molvex\\uninstall.exe\" /wait\r\n", program, folder,
                       script));
    EXPECT_EQ(Build(true, program, folder, script),
              Expected("start /wait \"C:\\Program Files\\Molvex\\uninstall.exe\" /wait\r\n",
                       program, folder, script));
    std::string text = Build(false, program, folder, script);
    size_t lines = 1;
    for (char c : text)
        lines += c == '\n';
    EXPECT_EQ(lines, 19u);
    EXPECT_NE(text.back(), '\n');
}

TEST(RemovalScript, PercentSignsAreDoubled) {
    std::string text =
        Build(false, "C:\\a%b%c\\%PATH%\\u.exe", "C:\\a%b%c\\%PATH%", "C:\\T%\\s.bat");
    EXPECT_EQ(text,
              Expected("\"C:\\a%%b%%c\\%%PATH%%\\u.exe\" /wait\r\n", "C:\\a%%b%%c\\%%PATH%%\\u.exe",
                       "C:\\a%%b%%c\\%%PATH%%", "C:\\T%%\\s.bat"));
}

TEST(RemovalScript, OtherBytesStayAsTheyAre) {
    // Blanks, "&", "^" and a double-byte character ending in 5C.
    const char* folder = "C:\\a b&c^d\x81\x5C";
    std::string program = std::string(folder) + "\\uninstall.exe";
    EXPECT_EQ(Build(false, program.c_str(), folder, "C:\\s.bat"),
              Expected("\"" + program + "\" /wait\r\n", program, folder, "C:\\s.bat"));
}

TEST(RemovalScript, PieceThatDoesNotFitCreatesNoScript) {
    // The attempt block names the program twice: the longest path whose
    // block still fits, and one byte more.
    const size_t blockFrame = strlen("del \"\"\r\nrd \"\"\r\nif not exist \"\" goto done\r\n");
    const char* folder = "C:\\f";
    size_t longest = kScriptPieceSize - 1 - blockFrame - strlen(folder);
    longest /= 2;
    std::string program = "C:\\" + std::string(longest - 3, 'p');
    EXPECT_NE(Build(false, program.c_str(), folder, "C:\\s.bat"), "");
    program += "p";
    EXPECT_EQ(Build(false, program.c_str(), folder, "C:\\s.bat"), "");
    // Doubling can push a path over its buffer too.
    std::string percents(600, '%');
    EXPECT_EQ(Build(false, "C:\\u.exe", "C:\\", percents.c_str()), "");
    char small[64];
    EXPECT_EQ(BuildRemovalScript(small, sizeof(small), false, "C:\\u.exe", "C:\\", "C:\\s.bat"),
              0u);
    EXPECT_STREQ(small, "");
}

TEST(RemovalScript, DoublePercentBounds) {
    char out[6];
    EXPECT_TRUE(DoublePercent(out, sizeof(out), "a%b"));
    EXPECT_STREQ(out, "a%%b");
    EXPECT_FALSE(DoublePercent(out, sizeof(out), "a%b%"));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(DoublePercent(out, sizeof(out), "%%"));
    EXPECT_STREQ(out, "%%%%");
}
