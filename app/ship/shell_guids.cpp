// Linked into the shipped program only. libuuid keeps nearly every GUID of
// the SDK in one 35 KB section that the linker cannot split, so the three
// that the shortcut code names are defined here, each in a section of its
// own, and libuuid is never searched for them.
#include <windows.h>

#include <shlobj.h>

#include <initguid.h>

DEFINE_GUID(CLSID_ShellLink, 0x00021401, 0, 0, 0xc0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IShellLinkA, 0x000214ee, 0, 0, 0xc0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IPersistFile, 0x0000010b, 0, 0, 0xc0, 0, 0, 0, 0, 0, 0, 0x46);
