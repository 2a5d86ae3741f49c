#include "snapshot.h"

#include "testutil.h"

#include <cstdio>
#include <cstring>

namespace roundtrip {

std::string Lower(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

static std::string Printable(const ValueState& v) {
    std::string out = "type " + std::to_string(v.Type) + " \"";
    for (unsigned char c : v.Data) {
        if (c >= 0x20 && c != 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof(hex), "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

void RecordTree(HKEY root, const char* rootName, const std::string& path, Snapshot* snapshot) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    std::string full = std::string(rootName) + (path.empty() ? "" : "\\") + path;
    KeyState& state = snapshot->Keys[Lower(full)];
    state.Path = full;

    DWORD subkeys = 0, maxSubkey = 0, values = 0, maxName = 0, maxData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr, &values,
                     &maxName, &maxData, nullptr, nullptr);
    // Wine reports the longest name in characters; double-byte names need
    // up to twice as many bytes.
    std::vector<char> name(2 * maxName + 2 > 1024 ? 2 * maxName + 2 : 1024);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0;; i++) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG r =
            RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (r == ERROR_MORE_DATA) {
            data.resize(dataSize + 2);
            i--;
            continue;
        }
        if (r != ERROR_SUCCESS)
            break;
        ValueState v;
        v.Name.assign(name.data(), nameSize);
        v.Type = type;
        v.Data.assign(reinterpret_cast<const char*>(data.data()), dataSize);
        state.Values[Lower(v.Name)] = v;
    }
    std::vector<std::string> children;
    std::vector<char> child(2 * maxSubkey + 2 > 1024 ? 2 * maxSubkey + 2 : 1024);
    for (DWORD i = 0;; i++) {
        DWORD size = static_cast<DWORD>(child.size());
        if (RegEnumKeyExA(key, i, child.data(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.emplace_back(child.data(), size);
    }
    RegCloseKey(key);
    for (const std::string& c : children)
        RecordTree(root, rootName, path.empty() ? c : path + "\\" + c, snapshot);
}

static void RecordEntries(const std::string& folder, const std::string& label, Snapshot* snapshot) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> subfolders;
    do {
        if (strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0)
            continue;
        std::string name = label + "\\" + data.cFileName;
        std::string path = folder + "\\" + data.cFileName;
        snapshot->FileNames[Lower(name)] = name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot->Files[Lower(name)] = "<dir>";
            subfolders.push_back(data.cFileName);
        } else {
            std::string bytes;
            if (!testutil::ReadFileBytes(path, &bytes))
                bytes = "<unreadable>";
            snapshot->Files[Lower(name)] = bytes;
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    for (const std::string& sub : subfolders)
        RecordEntries(folder + "\\" + sub, label + "\\" + sub, snapshot);
}

void RecordFolder(const std::string& folder, const std::string& label, Snapshot* snapshot) {
    RecordEntries(folder, label, snapshot);
}

std::vector<Difference> Compare(const Snapshot& before, const Snapshot& after) {
    std::vector<Difference> out;
    for (const auto& [path, old] : before.Keys) {
        auto found = after.Keys.find(path);
        if (found == after.Keys.end()) {
            out.push_back({Change::KeyRemoved, path, "", "key removed: " + old.Path});
            continue;
        }
        const KeyState& now = found->second;
        for (const auto& [name, v] : old.Values) {
            auto same = now.Values.find(name);
            if (same == now.Values.end())
                out.push_back({Change::ValueRemoved, path, name,
                               "value removed: " + old.Path + " [" + v.Name + "] " + Printable(v)});
            else if (same->second.Type != v.Type || same->second.Data != v.Data)
                out.push_back({Change::ValueChanged, path, name,
                               "value changed: " + old.Path + " [" + v.Name + "] " + Printable(v) +
                                   " -> " + Printable(same->second)});
        }
        for (const auto& [name, v] : now.Values) {
            if (!old.Values.count(name))
                out.push_back({Change::ValueAdded, path, name,
                               "value added: " + now.Path + " [" + v.Name + "] " + Printable(v)});
        }
    }
    for (const auto& [path, now] : after.Keys) {
        if (before.Keys.count(path))
            continue;
        out.push_back({Change::KeyAdded, path, "", "key added: " + now.Path});
        for (const auto& [name, v] : now.Values)
            out.push_back({Change::ValueAdded, path, name,
                           "value added: " + now.Path + " [" + v.Name + "] " + Printable(v)});
    }
    for (const auto& [path, bytes] : before.Files) {
        auto found = after.Files.find(path);
        if (found == after.Files.end())
            out.push_back({Change::FileRemoved, path, "", "removed: " + before.FileNames.at(path)});
        else if (found->second != bytes)
            out.push_back({Change::FileChanged, path, "", "changed: " + before.FileNames.at(path)});
    }
    for (const auto& [path, bytes] : after.Files) {
        if (!before.Files.count(path))
            out.push_back({Change::FileAdded, path, "", "added: " + after.FileNames.at(path)});
    }
    return out;
}

} // namespace roundtrip
