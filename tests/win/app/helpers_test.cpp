#include "app/system.h"
#include "app/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

static bool Family9x() {
    const char* f = getenv("MVX_FAMILY");
    return f && (strcmp(f, "win98") == 0 || strcmp(f, "winme") == 0);
}

TEST(Helpers, FamilyMatchesPrefix) {
    EXPECT_EQ(NtMajorVersion() == 0, Family9x());
}

TEST(Helpers, CodePage936LeadBytes) {
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_TRUE(g_LeadBytes.MultiByte());
    EXPECT_TRUE(g_LeadBytes.IsLead(0x81));
    EXPECT_FALSE(g_LeadBytes.IsLead('A'));
    // "乗" is 81 5C: its second byte is not a separator.
    char path[64] = "C:\\dir\\\x81\x5C";
    EXPECT_STREQ(NameStart(path), "\x81\x5C");
    ASSERT_TRUE(AppendSlash(path, sizeof(path)));
    EXPECT_STREQ(path, "C:\\dir\\\x81\x5C\\");
}
