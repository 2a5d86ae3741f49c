#include "registry/registry.h"

#include "app/system.h"
#include "app/text.h"
#include "registry/keypath.h"
#include "registry/tree_hooks.h"

#include <cstring>

TreeDeletionHooks g_TreeDeletionHooks = {nullptr, nullptr};

bool SettingsKeyPath(HKEY root, const char* subkey, char* out, size_t size) {
    return ComposeKeyPath(root == HKEY_CURRENT_USER, subkey, out, size);
}

HKEY CreateRegKey(HKEY root, const char* subkey) {
    char path[256];
    if (!SettingsKeyPath(root, subkey, path, dimof(path)))
        return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY OpenRegKey(HKEY root, const char* subkey) {
    char path[256];
    if (!SettingsKeyPath(root, subkey, path, dimof(path)))
        return nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool CloseRegKey(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}

// The writers report whether the key was obtained; the value's own outcome
// is not reported, and callers rely on that.
static bool SetRegValue(HKEY root, const char* subkey, const char* name, DWORD type,
                        const void* data, DWORD size) {
    HKEY key = CreateRegKey(root, subkey);
    if (!key)
        return false;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    return CloseRegKey(key);
}

bool SetRegString(HKEY root, const char* subkey, const char* name, const char* text) {
    return SetRegValue(root, subkey, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

bool SetRegDword(HKEY root, const char* subkey, const char* name, DWORD value) {
    return SetRegValue(root, subkey, name, REG_DWORD, &value, sizeof(value));
}

bool SetRegBinary(HKEY root, const char* subkey, const char* name, const void* data, DWORD size) {
    return SetRegValue(root, subkey, name, REG_BINARY, data, size);
}

// Whatever is stored is copied as it is, whatever its type. The result is
// always a terminated text: shorter data gets a zero after it, and data that
// fills the whole buffer without ending in a zero is treated as too long.
bool GetRegString(HKEY root, const char* subkey, const char* name, char* buffer,
                  const char* defaultText, DWORD size) {
    if (size == 0)
        return false;
    bool read = false;
    HKEY key = OpenRegKey(root, subkey);
    if (key) {
        DWORD length = size;
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                             &length) == ERROR_SUCCESS) {
            if (length < size) {
                buffer[length] = 0;
                read = true;
            } else {
                read = length == size && buffer[size - 1] == 0;
            }
        }
        CloseRegKey(key);
    }
    if (!read)
        StrCopy(buffer, size, defaultText ? defaultText : "");
    return read;
}

// Data shorter than four bytes fills the low bytes; the others stay zero.
bool QueryRegDword(HKEY root, const char* subkey, const char* name, DWORD* value,
                   DWORD defaultValue) {
    bool read = false;
    HKEY key = OpenRegKey(root, subkey);
    if (key) {
        DWORD number = 0;
        DWORD length = sizeof(number);
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                             &length) == ERROR_SUCCESS) {
            *value = number;
            read = true;
        }
        CloseRegKey(key);
    }
    if (!read)
        *value = defaultValue;
    return read;
}

DWORD GetRegDword(HKEY root, const char* subkey, const char* name, DWORD defaultValue) {
    DWORD value = defaultValue;
    QueryRegDword(root, subkey, name, &value, defaultValue);
    return value;
}

// An empty path would name the root itself, which the 9x family deletes
// with every key below it; such a path is refused like one that is too long.
LONG DeleteRegKey(HKEY root, const char* subkey) {
    char path[256];
    if (!SettingsKeyPath(root, subkey, path, dimof(path)) || path[0] == 0)
        return ERROR_INVALID_PARAMETER;
    return RegDeleteKeyA(root, path);
}

void DeleteRegValue(HKEY root, const char* subkey, const char* name) {
    char path[256];
    if (!SettingsKeyPath(root, subkey, path, dimof(path)))
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

bool HasRegKey(HKEY root, const char* subkey) {
    char path[256];
    if (!SettingsKeyPath(root, subkey, path, dimof(path)))
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

struct TreeDeletion {
    int Pass;
    int Deleted; // keys deleted in the current pass, at any depth
};

static void NoteDeleted(TreeDeletion& run, const char* path) {
    run.Deleted++;
    if (g_TreeDeletionHooks.KeyDeleted)
        g_TreeDeletionHooks.KeyDeleted(run.Pass, path);
}

// One depth-first pass. The index moves on after every child even when the
// child was deleted, so the sibling that takes its place waits for the next
// pass; on the NT family a key goes only once all its subkeys have gone.
static void DeleteTreePass(TreeDeletion& run, HKEY root, const char* path) {
    if (path[0] == 0)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char name[200];
    for (DWORD index = 0;; index++) {
        DWORD length = dimof(name);
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        // A child whose path does not fit stays, and so does this key.
        char child[512];
        if (ComposeChildPath(child, dimof(child), path, name))
            DeleteTreePass(run, root, child);
    }
    RegCloseKey(key);
    if (RegDeleteKeyA(root, path) == ERROR_SUCCESS)
        NoteDeleted(run, path);
}

static void DeleteKeyTree(HKEY root, const char* path) {
    TreeDeletion run = {0, 0};
    if (NtMajorVersion() == 0 && RegDeleteKeyA(root, path) == ERROR_SUCCESS) {
        NoteDeleted(run, path);
        return;
    }
    do {
        run.Pass++;
        run.Deleted = 0;
        if (g_TreeDeletionHooks.PassStarted)
            g_TreeDeletionHooks.PassStarted(run.Pass);
        DeleteTreePass(run, root, path);
    } while (run.Deleted != 0);
}

// An empty mapped path names the root itself: nothing is deleted, not even
// by the direct deletion of the 9x family, which would empty the root.
void DeleteRegTree(HKEY root, const char* subkey) {
    char path[200];
    if (!SettingsKeyPath(root, subkey, path, dimof(path)) || path[0] == 0)
        return;
    DeleteKeyTree(root, path);
}

bool SetUserString(const char* subkey, const char* name, const char* text) {
    return SetRegString(HKEY_CURRENT_USER, subkey, name, text);
}

bool SetUserDword(const char* subkey, const char* name, DWORD value) {
    return SetRegDword(HKEY_CURRENT_USER, subkey, name, value);
}

bool GetUserString(const char* subkey, const char* name, char* buffer, const char* defaultText,
                   DWORD size) {
    return GetRegString(HKEY_CURRENT_USER, subkey, name, buffer, defaultText, size);
}

DWORD GetUserDword(const char* subkey, const char* name, DWORD defaultValue) {
    return GetRegDword(HKEY_CURRENT_USER, subkey, name, defaultValue);
}
