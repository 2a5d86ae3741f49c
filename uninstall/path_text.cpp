#include "uninstall/path_text.h"

#include <cstring>

static const char* Step(const LeadByteTable& table, const char* p) {
    return table.MultiByte() ? NextChar(table, p) : p + 1;
}

char* LastBackslash(char* path, const LeadByteTable& table) {
    char* found = nullptr;
    for (char* p = path; *p; p = const_cast<char*>(Step(table, p))) {
        if (*p == '\\')
            found = p;
    }
    return found;
}

static char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// "CON", "PRN", "AUX", "NUL", "COM1"-"COM9" and "LPT1"-"LPT9", alone or
// followed by blanks or an extension, name devices wherever they stand.
static bool IsDeviceName(const char* name, size_t length) {
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL"};
    size_t base = length;
    for (size_t i = 0; i < length; i++) {
        if (name[i] == '.' || name[i] == ' ') {
            base = i;
            break;
        }
    }
    char upper[5] = {};
    if (base < 3 || base > 4)
        return false;
    for (size_t i = 0; i < base; i++)
        upper[i] = AsciiUpper(name[i]);
    if (base == 3) {
        for (const char* device : devices) {
            if (memcmp(upper, device, 3) == 0)
                return true;
        }
        return false;
    }
    return (memcmp(upper, "COM", 3) == 0 || memcmp(upper, "LPT", 3) == 0) && upper[3] >= '1' &&
           upper[3] <= '9';
}

static bool IsDotsOnly(const char* name, size_t length) {
    bool dot = false;
    for (size_t i = 0; i < length; i++) {
        if (name[i] == '.')
            dot = true;
        else if (name[i] != ' ')
            return false;
    }
    return dot;
}

bool IsEntryInsideFolder(const char* entry, const LeadByteTable& table) {
    if (entry[0] == 0 || IsPathSeparator(entry[0]))
        return false;
    const char* component = entry;
    for (const char* p = entry;; p = Step(table, p)) {
        if (*p == ':')
            return false;
        if (*p == 0 || IsPathSeparator(*p)) {
            size_t length = static_cast<size_t>(p - component);
            if (IsDotsOnly(component, length) || IsDeviceName(component, length))
                return false;
            if (*p == 0)
                return true;
            component = p + 1;
        }
    }
}

void DropPartialLastChar(char* text, const LeadByteTable& table) {
    if (!table.MultiByte())
        return;
    char* p = text;
    while (*p) {
        if (table.IsLead(static_cast<unsigned char>(*p)) && p[1] == 0) {
            *p = 0;
            return;
        }
        p = const_cast<char*>(NextChar(table, p));
    }
}
