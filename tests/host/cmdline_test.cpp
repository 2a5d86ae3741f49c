#include "app/cmdline.h"

#include <gtest/gtest.h>

TEST(CommandLine, SelectsModeAndSilentFlag) {
    struct Case {
        const char* Tail;
        RunMode Mode;
        bool Silent;
    } cases[] = {
        {"", RunMode::Uninstall, false},
        {"plain words", RunMode::Uninstall, false},
        {"/s", RunMode::Nothing, true},
        {"/S", RunMode::Nothing, true},
        {"/setup /s", RunMode::Setup, true},
        {"/setup/S", RunMode::Setup, true},
        {"/s /setup", RunMode::Setup, false},
        {"/setup /s ", RunMode::Nothing, false},
        {"/SETUP", RunMode::Setup, false},
        {"/setupxyz", RunMode::Setup, false},
        {"/wait", RunMode::Wait, false},
        {"/waiting", RunMode::Wait, false},
        {"/warning", RunMode::Warning, false},
        {"/WARNINGS now", RunMode::Warning, false},
        {"/clean", RunMode::Clean, false},
        {"/unknown", RunMode::Nothing, false},
        {"/", RunMode::Nothing, false},
        {"x /warn", RunMode::Nothing, false},
        {"/setup /wait", RunMode::Wait, false},
    };
    for (const Case& c : cases) {
        CommandLine r = ParseCommandLine(c.Tail);
        EXPECT_EQ(r.Mode, c.Mode) << "tail \"" << c.Tail << "\"";
        EXPECT_EQ(r.Silent, c.Silent) << "tail \"" << c.Tail << "\"";
    }
}
