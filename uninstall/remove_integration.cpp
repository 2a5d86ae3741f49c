#include "uninstall/remove_integration.h"

#include "app/text.h"
#include "registry/registry.h"
#include "setup/associations.h"
#include "setup/settings.h"
#include "setup/shell_ext.h"
#include "setup/shortcuts.h"

#include <shlobj.h>

#include <cstring>

static const char kRecoveryExtension[] = ".rev";
static const char kRecoveryProgId[] = "Molvex.REV";

// Our own ProgIDs go whole. ".rev" is a file type like any other, though:
// when another program has taken it since setup, its registration stays.
static void DeleteProgIds() {
    DeleteRegTree(HKEY_CLASSES_ROOT, "Molvex");
    DeleteRegTree(HKEY_CLASSES_ROOT, "Molvex.ZIP");
    DeleteRegTree(HKEY_CLASSES_ROOT, kRecoveryProgId);
    char owner[80];
    GetRegString(HKEY_CLASSES_ROOT, kRecoveryExtension, "", owner, "", sizeof(owner));
    if (CompareAsciiNoCase(owner, kRecoveryProgId) == 0)
        DeleteRegTree(HKEY_CLASSES_ROOT, kRecoveryExtension);
}

void RemoveIntegration() {
    IntegrationSettings cleared;
    memset(&cleared, 0, sizeof(cleared));

    ApplyAssociations(&cleared);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    ApplyShellExtension(&cleared);
    ApplyShortcuts(&cleared, nullptr);

    DeleteProgIds();
    // Setup gives these two keys no subkeys, so deleting the single key
    // removes them on both families.
    DeleteRegKey(HKEY_LOCAL_MACHINE,
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Molvex archiver");
    DeleteRegKey(HKEY_LOCAL_MACHINE,
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Molvex.exe");
    // The empty subkey is the settings root itself, with the choices and
    // the owners' backups below it.
    DeleteRegTree(HKEY_CURRENT_USER, "");
}
