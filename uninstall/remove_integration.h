// Takes back everything setup built into the system.
#pragma once

void RemoveIntegration();
