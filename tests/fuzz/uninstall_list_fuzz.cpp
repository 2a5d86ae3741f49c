// The file list reader, the entry check and the script text on arbitrary
// bytes: no read or write outside the buffers, and every accepted entry
// really stays inside its folder.
#include "uninstall/list_reader.h"
#include "uninstall/path_text.h"
#include "uninstall/script_text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Source {
    const uint8_t* Data;
    size_t Size;
    size_t Position;
    size_t Chunk;
};

int ReadSource(void* context, char* buffer, int count) {
    Source* s = static_cast<Source*>(context);
    size_t n = s->Size - s->Position;
    if (n > s->Chunk)
        n = s->Chunk;
    if (n > static_cast<size_t>(count))
        n = static_cast<size_t>(count);
    memcpy(buffer, s->Data + s->Position, n);
    s->Position += n;
    return static_cast<int>(n);
}

// No ".." component may survive. Read byte by byte, which is the reading of
// the double-byte table too as long as the entry is plain ASCII.
bool IsAscii(const char* text) {
    for (; *text; text++) {
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    }
    return true;
}

void CheckInside(const char* entry) {
    if (entry[0] == '\\' || entry[0] == '/' || strchr(entry, ':'))
        abort();
    const char* component = entry;
    for (const char* p = entry;; p++) {
        if (*p == 0 || *p == '\\' || *p == '/') {
            if (p - component == 2 && component[0] == '.' && component[1] == '.')
                abort();
            if (*p == 0)
                return;
            component = p + 1;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    LeadByteTable table = {};
    bool gbk = data[0] & 1;
    if (gbk) {
        for (int c = 0x81; c <= 0xFE; c++)
            table.Entry[c] = 1;
        table.Entry[256] = 1;
    }
    Source source{data + 1, size - 1, 0, static_cast<size_t>(data[0] >> 1) + 1};
    ListReader reader(ReadSource, &source);
    char line[kListLineSize];
    for (ListLine kind; (kind = reader.Next(line, sizeof(line))) != ListLine::End;) {
        size_t length = strlen(line);
        if (kind == ListLine::Invalid && length != 0)
            abort();
        if (kind != ListLine::Entry)
            continue;
        if (length == 0 || length >= kListLineSize)
            abort();
        if (IsEntryInsideFolder(line, table) && (!gbk || IsAscii(line)))
            CheckInside(line);
        char script[kScriptMaxSize];
        size_t n = BuildRemovalScript(script, sizeof(script), gbk, line, line, line);
        if (n >= sizeof(script) || (n && strlen(script) != n))
            abort();
        DropPartialLastChar(line, table);
        char* slash = LastBackslash(line, table);
        if (slash && *slash != '\\')
            abort();
    }
    return 0;
}
