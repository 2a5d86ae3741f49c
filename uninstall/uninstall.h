// The uninstall mode: confirmation, the file list, the removal passes and
// the hand-over to the self-removal script.
#pragma once

// Returns only when it stops early or the script cannot be created;
// otherwise the process ends inside it.
void RunUninstall();
