// Placeholder until the uninstall driver lands.
#include "uninstall/uninstall.h"

void RunUninstall() {}
