// File-type associations with a backup of each extension's previous owner.
#pragma once

#include "setup/settings.h"

// Empty-archive templates; their first bytes are zero until ApplyAssociations.
extern unsigned char EmptyArchiveTemplate[20];
extern unsigned char EmptyZipTemplate[22];

void ApplyAssociations(const IntegrationSettings* settings);
void RegisterProgIds();
