#include "links.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace setuptest {

LinkInfo ReadLink(const std::string& path) {
    LinkInfo info;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return info;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) > 0 &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[1024];
            info.Loaded = true;
            text[0] = 0;
            link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            info.Target = text;
            text[0] = 0;
            link->GetDescription(text, sizeof(text));
            info.Description = text;
            text[0] = 0;
            link->GetArguments(text, sizeof(text));
            info.Arguments = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, sizeof(text));
            info.WorkingDirectory = text;
            text[0] = 0;
            link->GetIconLocation(text, sizeof(text), &info.IconIndex);
            info.IconFile = text;
            link->GetHotkey(&info.HotKey);
        }
        file->Release();
    }
    link->Release();
    return info;
}

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE))
        return "";
    return path;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(data.cFileName, ".") != 0 && strcmp(data.cFileName, "..") != 0)
            names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

static BOOL CALLBACK CloseExplorer(HWND window, LPARAM) {
    char name[64];
    GetClassNameA(window, name, sizeof(name));
    if (strcmp(name, "ExplorerWClass") == 0 || strcmp(name, "CabinetWClass") == 0)
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void CloseExplorerWindows() {
    EnumWindows(CloseExplorer, 0);
}

} // namespace setuptest
