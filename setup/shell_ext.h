// Shell-extension registration, the App Paths entry and the uninstall entry.
#pragma once

#include "setup/settings.h"

void ApplyShellExtension(const IntegrationSettings* settings);
void RegisterAppPath();
void RegisterUninstallEntry();
