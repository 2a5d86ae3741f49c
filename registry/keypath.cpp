#include "registry/keypath.h"

#include "app/text.h"

const char kSettingsRoot[] = "Software\\Molvex";

// A cut path would name some other key, so it is never handed on.
static bool Refuse(char* out, size_t size) {
    if (size > 0)
        out[0] = 0;
    return false;
}

bool ComposeKeyPath(bool currentUser, const char* subkey, char* out, size_t size) {
    bool fits;
    if (!currentUser)
        fits = StrCopy(out, size, subkey);
    else if (subkey[0] == '\\')
        fits = StrCopy(out, size, subkey + 1);
    else
        fits = StrFormat(out, size, "%s%s%s", kSettingsRoot, subkey[0] ? "\\" : "", subkey);
    return fits || Refuse(out, size);
}

bool ComposeChildPath(char* out, size_t size, const char* path, const char* name) {
    return StrFormat(out, size, "%s\\%s", path, name) || Refuse(out, size);
}
