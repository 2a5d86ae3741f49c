// Path and text helpers on arbitrary bytes, under an arbitrary lead-byte
// table: nothing may read or write past a text or its buffer.
#include "app/cmdline.h"
#include "app/text.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // First byte: which bytes lead (every byte >= it, 0 for a single-byte page).
    uint8_t leadFrom = data[0];
    memset(&g_LeadBytes, 0, sizeof(g_LeadBytes));
    if (leadFrom) {
        for (int c = leadFrom; c < 256; c++)
            g_LeadBytes.Entry[c] = 1;
        g_LeadBytes.Entry[256] = 1;
    }
    size_t bufferSize = data[1] % 40;
    data += 2;
    size -= 2;

    std::vector<char> text(data, data + size);
    text.push_back(0);
    const char* t = text.data();
    size_t length = strlen(t);

    const char* name = NameStart(t);
    if (name < t || name > t + length)
        __builtin_trap();
    const char* last = LastChar(t);
    if (last < t || last > t + length || (length > 0 && last == t + length))
        __builtin_trap();
    ParseCommandLine(t);

    // Exactly-sized heap buffers, so that ASan sees any overrun.
    std::vector<char> path(text.begin(), text.begin() + length + 1);
    path.push_back(0);
    AppendSlash(path.data(), path.size());
    std::vector<char> trimmed(text);
    TrimTrailing(trimmed.data());

    if (bufferSize > 0) {
        std::vector<char> out(bufferSize);
        StrCopy(out.data(), out.size(), t);
        StrAppend(out.data(), out.size(), t);
        FormatWithText(out.data(), out.size(), t, "C:\\x");
        if (strnlen(out.data(), out.size()) >= out.size())
            __builtin_trap();
        StrFormat(out.data(), out.size(), "%s", t);
    }
    return 0;
}
