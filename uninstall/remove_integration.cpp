#include "uninstall/remove_integration.h"

void RemoveIntegration() {}
