// A recorded state of registry trees and folders, and the differences
// between two such states, for "the machine is as it was" checks.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace roundtrip {

struct ValueState {
    std::string Name;
    DWORD Type = 0;
    std::string Data;
};

struct KeyState {
    std::string Path;                         // as the registry spells it, with its root's name
    std::map<std::string, ValueState> Values; // by lower-case name
};

// Registry keys and folder entries, each by lower-case path: the registry
// and the file system ignore the case of ASCII letters in names.
struct Snapshot {
    std::map<std::string, KeyState> Keys;
    std::map<std::string, std::string> Files;     // path -> "<dir>" or the file's bytes
    std::map<std::string, std::string> FileNames; // path -> as spelt on disk
};

// Adds the key `path` below `root` (named `rootName` in the snapshot, e.g.
// "HKCR") with all its values and subkeys; nothing when it does not exist.
void RecordTree(HKEY root, const char* rootName, const std::string& path, Snapshot* snapshot);
// Adds everything below `folder`, named `label` in the snapshot.
void RecordFolder(const std::string& folder, const std::string& label, Snapshot* snapshot);

enum class Change {
    KeyAdded,
    KeyRemoved,
    ValueAdded,
    ValueRemoved,
    ValueChanged,
    FileAdded,
    FileRemoved,
    FileChanged
};

struct Difference {
    Change Kind;
    std::string Path;  // lower-case key path or file path
    std::string Value; // lower-case value name, for value changes
    std::string Text;  // for the failure message
};

std::vector<Difference> Compare(const Snapshot& before, const Snapshot& after);

// Lower-case of the ASCII letters only, as the registry folds names.
std::string Lower(const std::string& text);

} // namespace roundtrip
