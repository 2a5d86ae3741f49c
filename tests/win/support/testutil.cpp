#include "testutil.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

namespace testutil {

static std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? v : "";
}

std::string Dist(const char* name) { return Env("MVX_DIST_W") + "\\" + name; }
std::string Source(const char* relative) { return Env("MVX_SOURCE_W") + "\\" + relative; }
std::string Build(const char* relative) { return Env("MVX_BUILD_W") + "\\" + relative; }

bool Family9x() {
    std::string f = Env("MVX_FAMILY");
    return f == "win98" || f == "winme";
}

bool RemoveTree(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    std::vector<char> list(path.begin(), path.end());
    list.push_back(0);
    list.push_back(0);
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.data();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationA(&op);
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string FreshFolder(const char* name) {
    CreateDirectoryA("C:\\mvxtest", nullptr);
    std::string path = std::string("C:\\mvxtest\\") + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bytes->clear();
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        bytes->append(buffer, n);
    CloseHandle(h);
    return true;
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

Process Start(const std::string& commandLine, const std::string& directory) {
    Process p;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        p.Handle = pi.hProcess;
        p.Id = pi.dwProcessId;
    }
    return p;
}

bool Wait(Process& p, DWORD timeoutMs, DWORD* exitCode) {
    if (!p.Handle)
        return false;
    bool done = WaitForSingleObject(p.Handle, timeoutMs) == WAIT_OBJECT_0;
    if (!done)
        TerminateProcess(p.Handle, 999);
    DWORD code = 0;
    GetExitCodeProcess(p.Handle, &code);
    if (exitCode)
        *exitCode = code;
    CloseHandle(p.Handle);
    p.Handle = nullptr;
    return done;
}

long Run(const std::string& commandLine, const std::string& directory, DWORD timeoutMs) {
    Process p = Start(commandLine, directory);
    DWORD code = 0;
    if (!Wait(p, timeoutMs, &code))
        return -1;
    return static_cast<long>(code);
}

struct FindData {
    const char* ClassName;
    const char* Caption;
    DWORD Pid;
    HWND Found;
};

static BOOL CALLBACK FindProc(HWND w, LPARAM lp) {
    FindData* d = reinterpret_cast<FindData*>(lp);
    if (!IsWindowVisible(w))
        return TRUE;
    if (d->Pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != d->Pid)
            return TRUE;
    }
    char buffer[1024];
    if (d->ClassName) {
        GetClassNameA(w, buffer, sizeof(buffer));
        if (strcmp(buffer, d->ClassName) != 0)
            return TRUE;
    }
    if (d->Caption) {
        GetWindowTextA(w, buffer, sizeof(buffer));
        if (strcmp(buffer, d->Caption) != 0)
            return TRUE;
    }
    d->Found = w;
    return FALSE;
}

HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs, DWORD pid) {
    DWORD start = GetTickCount();
    for (;;) {
        FindData d = {className, caption, pid, nullptr};
        EnumWindows(FindProc, reinterpret_cast<LPARAM>(&d));
        if (d.Found)
            return d.Found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool NoWindowFor(const char* className, const char* caption, DWORD ms, DWORD pid) {
    return WaitForWindow(className, caption, ms, pid) == nullptr;
}

std::string WindowText(HWND window) {
    char buffer[4096];
    buffer[0] = 0;
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool RegRead(HKEY root, const char* key, const char* name, DWORD* type, std::string* data) {
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG r = RegQueryValueExA(k, name, nullptr, type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
        data->assign(size, '\0');
        r = RegQueryValueExA(k, name, nullptr, type,
                             reinterpret_cast<BYTE*>(size ? &(*data)[0] : nullptr), &size);
        data->resize(size);
    }
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

bool RegString(HKEY root, const char* key, const char* name, std::string* text) {
    DWORD type = 0;
    if (!RegRead(root, key, name, &type, text) || type != REG_SZ)
        return false;
    if (!text->empty() && text->back() == 0)
        text->pop_back();
    return true;
}

bool RegDword(HKEY root, const char* key, const char* name, DWORD* value) {
    DWORD type = 0;
    std::string data;
    if (!RegRead(root, key, name, &type, &data) || type != REG_DWORD || data.size() != 4)
        return false;
    memcpy(value, data.data(), 4);
    return true;
}

bool RegKeyExists(HKEY root, const char* key) {
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

bool RegValueExists(HKEY root, const char* key, const char* name) {
    DWORD type;
    std::string data;
    return RegRead(root, key, name, &type, &data);
}

void RegPutString(HKEY root, const char* key, const char* name, const char* text) {
    HKEY k;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(k);
}

void RegPutDword(HKEY root, const char* key, const char* name, DWORD value) {
    HKEY k;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(k);
}

void RegRemoveTree(HKEY root, const char* key) {
    for (const std::string& child : RegSubkeyNames(root, key))
        RegRemoveTree(root, (std::string(key) + "\\" + child).c_str());
    RegDeleteKeyA(root, key);
}

static std::vector<std::string> Names(HKEY root, const char* key, bool values) {
    std::vector<std::string> names;
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; i++) {
        char name[1024];
        DWORD len = sizeof(name);
        LONG r = values ? RegEnumValueA(k, i, name, &len, nullptr, nullptr, nullptr, nullptr)
                        : RegEnumKeyExA(k, i, name, &len, nullptr, nullptr, nullptr, nullptr);
        if (r != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(k);
    return names;
}

std::vector<std::string> RegValueNames(HKEY root, const char* key) { return Names(root, key, true); }
std::vector<std::string> RegSubkeyNames(HKEY root, const char* key) {
    return Names(root, key, false);
}

std::string Ansi(const char* utf8) {
    wchar_t wide[4096];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 4096);
    if (n <= 0)
        return "";
    char ansi[8192];
    int m = WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr);
    return m > 0 ? std::string(ansi) : std::string();
}

} // namespace testutil
