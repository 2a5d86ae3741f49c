// The mode a command-line tail selects. Pure computation, shared with the
// host build.
#pragma once

enum class RunMode { Uninstall, Setup, Wait, Warning, Clean, Nothing };

struct CommandLine {
    RunMode Mode;
    bool Silent;
};

CommandLine ParseCommandLine(const char* tail);
