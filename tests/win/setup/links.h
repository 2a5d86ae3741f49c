// Reading shell links and the places setup writes them to, for the setup tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace setuptest {

struct LinkInfo {
    bool Loaded = false;
    std::string Target;
    std::string Description;
    std::string Arguments;
    std::string WorkingDirectory;
    std::string IconFile;
    int IconIndex = 0;
    WORD HotKey = 0;
};

// Loads a .lnk file through the shell's own link object (COM must be up).
LinkInfo ReadLink(const std::string& path);
// Path of a shell special folder, "" when the system has none.
std::string SpecialFolder(int csidl);
// Names in a folder, without "." and "..", sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
// Closes the Explorer windows that a setup opened on its program group.
void CloseExplorerWindows();

} // namespace setuptest
