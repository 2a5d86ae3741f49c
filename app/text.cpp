#include "app/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool StrCopy(char* dst, size_t size, const char* src) {
    if (size == 0)
        return false;
    size_t n = strlen(src);
    bool fits = n < size;
    if (!fits)
        n = size - 1;
    memmove(dst, src, n);
    dst[n] = 0;
    return fits;
}

bool StrAppend(char* dst, size_t size, const char* src) {
    size_t used = strnlen(dst, size);
    if (used >= size)
        return false;
    return StrCopy(dst + used, size - used, src);
}

bool StrFormat(char* dst, size_t size, const char* format, ...) {
    if (size == 0)
        return false;
    va_list args;
    va_start(args, format);
#ifdef _WIN32
    // msvcrt's formatter keeps MinGW's own printf out of the program. On a
    // cut it returns -1, or exactly `size` when the text is one byte too
    // long, and in both cases leaves the buffer without its terminator.
    int n = _vsnprintf(dst, size, format, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        dst[size - 1] = 0;
        return false;
    }
    return true;
#else
    int n = vsnprintf(dst, size, format, args);
    va_end(args);
    if (n < 0) {
        dst[0] = 0;
        return false;
    }
    return static_cast<size_t>(n) < size;
#endif
}

static int AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

int CompareAsciiNoCase(const char* a, const char* b) {
    for (;; a++, b++) {
        int ca = AsciiLower(static_cast<unsigned char>(*a));
        int cb = AsciiLower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

bool StartsWithAsciiNoCase(const char* text, const char* prefix, size_t count) {
    for (size_t i = 0; i < count; i++) {
        int ct = AsciiLower(static_cast<unsigned char>(text[i]));
        int cp = AsciiLower(static_cast<unsigned char>(prefix[i]));
        if (ct != cp)
            return false;
        if (ct == 0)
            return true;
    }
    return true;
}

const char* NextChar(const LeadByteTable& table, const char* p) {
    if (table.IsLead(static_cast<unsigned char>(*p)) && p[1] != 0)
        return p + 2;
    return p + 1;
}

static const char* Step(const char* p) {
    return g_LeadBytes.MultiByte() ? NextChar(g_LeadBytes, p) : p + 1;
}

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}
bool IsDriveColon(char c) {
    return c == ':';
}

const char* NameStart(const char* path) {
    const char* found = nullptr;
    for (const char* p = path; *p; p = Step(p)) {
        if (IsPathSeparator(*p))
            found = p + 1;
    }
    if (found)
        return found;
    if (*path == 0)
        return path;
    if (IsDriveColon(path[1]) && Step(path) == path + 1)
        return path + 2;
    return path;
}

char* NameStart(char* path) {
    return const_cast<char*>(NameStart(static_cast<const char*>(path)));
}

const char* LastChar(const char* text) {
    const char* last = text;
    for (const char* p = text; *p; p = Step(p))
        last = p;
    return last;
}

char* LastChar(char* text) {
    return const_cast<char*>(LastChar(static_cast<const char*>(text)));
}

bool AppendSlash(char* path, size_t size) {
    const char* last = LastChar(path);
    if (*last == 0 || *last == '\\')
        return true;
    // A one-byte append that does not fit writes nothing, so the path stays whole.
    return StrAppend(path, size, "\\");
}

char* TrimTrailing(char* text) {
    size_t n = strlen(text);
    while (n > 0) {
        char c = text[n - 1];
        if (c != '\r' && c != '\n' && c != ' ' && c != '\t')
            break;
        text[--n] = 0;
    }
    return text;
}

void CopyWide(wchar_t* dst, size_t count, const wchar_t* src) {
    if (count == 0)
        return;
    size_t i = 0;
    for (; i + 1 < count && src[i]; i++)
        dst[i] = src[i];
    dst[i] = 0;
}

bool FormatWithText(char* dst, size_t size, const char* format, const char* argument) {
    if (size == 0)
        return false;
    size_t w = 0;
    bool used = false;
    bool fits = true;
    auto put = [&](char c) {
        if (w + 1 < size)
            dst[w++] = c;
        else
            fits = false;
    };
    for (const char* p = format; *p; p++) {
        if (p[0] == '%' && p[1] == '%') {
            put('%');
            p++;
        } else if (p[0] == '%' && p[1] == 's' && !used) {
            for (const char* a = argument; *a; a++)
                put(*a);
            used = true;
            p++;
        } else {
            put(*p);
        }
    }
    dst[w] = 0;
    // A cut may have split the last double-byte character; its lone lead
    // byte would join whatever the caller puts after the text.
    if (!fits && g_LeadBytes.MultiByte()) {
        char* last = LastChar(dst);
        if (g_LeadBytes.IsLead(static_cast<unsigned char>(*last)) && last[1] == 0)
            *last = 0;
    }
    return fits;
}
