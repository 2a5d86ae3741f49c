#include "app/cmdline.h"

#include "app/text.h"

#include <cstring>

CommandLine ParseCommandLine(const char* tail) {
    CommandLine result = {RunMode::Nothing, false};
    const char* last = strrchr(tail, '/');
    if (!last) {
        result.Mode = RunMode::Uninstall;
        return result;
    }
    const char* mode = last;
    // "/s" counts only as the very last word, without even a trailing blank;
    // the switch then is the first one on the line.
    if (CompareAsciiNoCase(last, "/s") == 0) {
        result.Silent = true;
        mode = strchr(tail, '/');
    }
    static const struct {
        const char* Name;
        size_t Length;
        RunMode Mode;
    } kSwitches[] = {
        {"/setup", 6, RunMode::Setup},
        {"/wait", 5, RunMode::Wait},
        {"/warning", 8, RunMode::Warning},
        {"/clean", 6, RunMode::Clean},
    };
    for (const auto& s : kSwitches) {
        if (StartsWithAsciiNoCase(mode, s.Name, s.Length)) {
            result.Mode = s.Mode;
            break;
        }
    }
    return result;
}
