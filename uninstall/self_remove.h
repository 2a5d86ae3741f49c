// The self-removal script "Uninstall.Mvx.Bat" and its interpreter.
#pragma once

// Writes the script to the temporary folder for `programPath` and the
// current directory (the program folder), starts the command interpreter on
// it from the parent folder and ends the process with exit code 0. Returns
// only when the script cannot be created.
void RunRemovalScript(const char* programPath);
