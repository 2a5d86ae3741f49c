#include "uninstall/list_reader.h"

#include "app/text.h"

static bool IsTrailingBlank(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\t';
}

ListReader::ListReader(ReadFunction read, void* context) : Read(read), Context(context) {}

bool ListReader::Fill() {
    if (AtEnd)
        return false;
    int n = Read(Context, Buffer, static_cast<int>(sizeof(Buffer)));
    if (n <= 0 || static_cast<size_t>(n) > sizeof(Buffer)) {
        AtEnd = true;
        return false;
    }
    Start = 0;
    Count = static_cast<size_t>(n);
    return true;
}

ListLine ListReader::Next(char* line, size_t size) {
    if (size > kListLineSize)
        size = kListLineSize;
    for (;;) {
        if (size > 0)
            line[0] = 0;
        size_t length = 0;
        bool any = false;
        bool tooLong = false;
        bool hasZero = false;
        bool ended = false;
        while (!ended) {
            if (Start == Count && !Fill())
                break;
            any = true;
            char c = Buffer[Start++];
            if (c == '\n') {
                ended = true;
            } else if (c == 0) {
                hasZero = true;
            } else if (length + 1 < size) {
                line[length++] = c;
            } else if (!IsTrailingBlank(c)) {
                // Blanks past the limit are harmless only when nothing but
                // blanks follows them: trimming would remove them anyway.
                tooLong = true;
            }
        }
        if (!any)
            return ListLine::End;
        if (size > 0)
            line[length] = 0;
        if (tooLong || hasZero || size == 0) {
            if (size > 0)
                line[0] = 0;
            return ListLine::Invalid;
        }
        if (TrimTrailing(line)[0] != 0)
            return ListLine::Entry;
    }
}
