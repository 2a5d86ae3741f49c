#include "registry/keypath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(KeyPath, MapsBySettingsRootRules) {
    struct Case {
        bool CurrentUser;
        const char* Subkey;
        const char* Mapped;
    } cases[] = {
        {true, "", "Software\\Molvex"},
        {true, "Setup", "Software\\Molvex\\Setup"},
        {true, "Setup\\.zip", "Software\\Molvex\\Setup\\.zip"},
        {true, "\\Software\\Classes", "Software\\Classes"},
        {true, "\\", ""},
        {true, "\\\\x", "\\x"},
        {false, "", ""},
        {false, ".zip", ".zip"},
        {false, "\\.zip", "\\.zip"},
    };
    for (const Case& c : cases) {
        char out[256];
        EXPECT_TRUE(ComposeKeyPath(c.CurrentUser, c.Subkey, out, sizeof(out))) << c.Subkey;
        EXPECT_STREQ(out, c.Mapped) << c.Subkey;
    }
}

// Each case is run with a buffer exactly as large as the result needs and
// with one byte less: the first fits, the second is refused with an empty
// output and nothing written past the buffer.
TEST(KeyPath, RefusesWhatDoesNotFit) {
    const std::string long100(100, 'k');
    struct Case {
        bool CurrentUser;
        std::string Subkey;
        size_t Mapped;
    } cases[] = {
        {true, "", 15},
        {true, "a", 17},
        {true, long100 + "\\" + long100, 16 + 201},
        {true, "\\" + long100, 100},
        {false, long100, 100},
        {false, "", 0},
    };
    for (const Case& c : cases) {
        for (size_t size : {c.Mapped + 1, c.Mapped}) {
            char buffer[300];
            memset(buffer, 'Z', sizeof(buffer));
            bool fits = size > c.Mapped;
            EXPECT_EQ(ComposeKeyPath(c.CurrentUser, c.Subkey.c_str(), buffer, size), fits)
                << c.Subkey << " in " << size;
            if (fits) {
                EXPECT_EQ(strlen(buffer), c.Mapped);
            } else if (size > 0) {
                EXPECT_EQ(buffer[0], 0);
            }
            for (size_t i = size; i < sizeof(buffer); i++)
                ASSERT_EQ(buffer[i], 'Z') << c.Subkey << " wrote past " << size;
        }
    }
}

TEST(KeyPath, ChildPathFitsOrIsRefused) {
    const std::string name(199, 'n');
    const std::string path = "Software\\Molvex\\" + std::string(295, 'p'); // 311 bytes
    char child[512];
    EXPECT_TRUE(ComposeChildPath(child, sizeof(child), path.c_str(), name.c_str()));
    EXPECT_EQ(std::string(child), path + "\\" + name);
    const std::string longer = path + "p";
    EXPECT_FALSE(ComposeChildPath(child, sizeof(child), longer.c_str(), name.c_str()));
    EXPECT_STREQ(child, "");
}
