// Composition of the key paths that the registry layer hands to the system.
// No <windows.h>: the host build tests and fuzzes these natively.
#pragma once

#include <cstddef>

// The settings root below HKEY_CURRENT_USER.
extern const char kSettingsRoot[];

// The mapped path of `subkey`. Under the current user's root a subkey is
// placed below the settings root unless it begins with a backslash, which is
// then dropped; under any other root it is taken as it is. False, with an
// empty output, when the result does not fit `size`.
bool ComposeKeyPath(bool currentUser, const char* subkey, char* out, size_t size);

// "<path>\<name>"; false, with an empty output, when it does not fit.
bool ComposeChildPath(char* out, size_t size, const char* path, const char* name);
