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
        {"/setup /S", RunMode::Setup, true},
        {"/S /SETUP", RunMode::Setup, false},
        {"/setup /s  ", RunMode::Nothing, false},
        {"/s/s", RunMode::Nothing, true},
        {"/wait/s", RunMode::Wait, true},
        {"/clean /s", RunMode::Clean, true},
        {"/warning /s", RunMode::Warning, true},
        {"/setup /sx", RunMode::Nothing, false},
        {"/setup /s /s", RunMode::Setup, true},
        {" /setup", RunMode::Setup, false},
        {"//setup", RunMode::Setup, false},
        {"/setup x", RunMode::Setup, false},
        {"/wai", RunMode::Nothing, false},
        {"/warn", RunMode::Nothing, false},
        {"/clea", RunMode::Nothing, false},
        {"C:\\Program Files\\x", RunMode::Uninstall, false},
        {"a/b", RunMode::Nothing, false},
        {"\xBD\xE2 /setup", RunMode::Setup, false},
    };
    for (const Case& c : cases) {
        CommandLine r = ParseCommandLine(c.Tail);
        EXPECT_EQ(r.Mode, c.Mode) << "tail \"" << c.Tail << "\"";
        EXPECT_EQ(r.Silent, c.Silent) << "tail \"" << c.Tail << "\"";
    }
}
