// The thin registry layer: every registry access of the program goes here.
// Under HKEY_CURRENT_USER a subkey is relative to "Software\Molvex" unless it
// begins with a backslash.
#pragma once

#include <windows.h>

// Maps root and subkey to the path given to the system. False (and an empty
// output) when the mapped path does not fit `size`.
bool SettingsKeyPath(HKEY root, const char* subkey, char* out, size_t size);

HKEY CreateRegKey(HKEY root, const char* subkey);
HKEY OpenRegKey(HKEY root, const char* subkey);
bool CloseRegKey(HKEY key);

// True whenever the key could be opened or created.
bool SetRegString(HKEY root, const char* subkey, const char* name, const char* text);
bool SetRegDword(HKEY root, const char* subkey, const char* name, DWORD value);
bool SetRegBinary(HKEY root, const char* subkey, const char* name, const void* data, DWORD size);

// On any failure the default is copied into the buffer and false returned.
bool GetRegString(HKEY root, const char* subkey, const char* name, char* buffer,
                  const char* defaultText, DWORD size);
bool QueryRegDword(HKEY root, const char* subkey, const char* name, DWORD* value,
                   DWORD defaultValue);
DWORD GetRegDword(HKEY root, const char* subkey, const char* name, DWORD defaultValue);

LONG DeleteRegKey(HKEY root, const char* subkey);
void DeleteRegValue(HKEY root, const char* subkey, const char* name);
// Deletes a key with all its subkeys on both Windows families.
void DeleteRegTree(HKEY root, const char* subkey);
bool HasRegKey(HKEY root, const char* subkey);

bool SetUserString(const char* subkey, const char* name, const char* text);
bool SetUserDword(const char* subkey, const char* name, DWORD value);
bool GetUserString(const char* subkey, const char* name, char* buffer, const char* defaultText,
                   DWORD size);
DWORD GetUserDword(const char* subkey, const char* name, DWORD defaultValue);
