// Driver of scripts/demo: runs "/setup" of a sample installation with its
// default choices, saves a picture of each of the three dialogs, and prints
// what the setup wrote (in UTF-8).
//
//   mvx_demo_driver.exe <installation folder> <picture folder>
#include "links.h"
#include "testutil.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace testutil;

static std::string Utf8(const std::string& ansi) {
    wchar_t wide[4096];
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 4096);
    if (n <= 0)
        return ansi;
    char utf8[8192];
    int m = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof(utf8), nullptr, nullptr);
    return m > 0 ? std::string(utf8) : ansi;
}

static void Print(const std::string& ansi) {
    std::string text = Utf8(ansi) + "\n";
    fwrite(text.data(), 1, text.size(), stdout);
}

// The window as it shows on the screen, as a 24-bit BMP file.
static bool SavePicture(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    GetDIBits(memory, bitmap, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes += pixels;
    return WriteFileBytes(path, bytes);
}

static HWND WaitForDialog(const char* captionUtf8, HWND except) {
    std::string caption = Ansi(captionUtf8);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(100)) {
        HWND w = FindWindowA("#32770", caption.c_str());
        if (w && w != except && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

static void Snap(HWND dialog, const std::string& folder, const char* name) {
    SetForegroundWindow(dialog);
    Sleep(1000); // let it paint
    std::string path = folder + "\\" + name + ".bmp";
    if (!SavePicture(dialog, path))
        Print("cannot save " + path);
}

static std::string Hex(const std::string& bytes) {
    std::string out;
    char two[4];
    for (unsigned char c : bytes) {
        snprintf(two, sizeof(two), "%02X ", c);
        out += two;
    }
    return out;
}

static const char* RootName(HKEY root) {
    if (root == HKEY_CLASSES_ROOT)
        return "HKCR";
    if (root == HKEY_LOCAL_MACHINE)
        return "HKLM";
    return "HKCU";
}

static void PrintValue(HKEY root, const std::string& key, const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!RegRead(root, key.c_str(), name.c_str(), &type, &data))
        return;
    std::string shown;
    if (type == REG_SZ) {
        shown = "\"" + std::string(data.c_str()) + "\"";
    } else if (type == REG_DWORD && data.size() == 4) {
        DWORD v;
        memcpy(&v, data.data(), 4);
        shown = "dword:" + std::to_string(v);
    } else {
        shown = "hex:" + Hex(data);
    }
    Print("    " + (name.empty() ? std::string("@") : name) + " = " + shown);
}

static void PrintKey(HKEY root, const std::string& key, bool withSubkeys) {
    if (!RegKeyExists(root, key.c_str()))
        return;
    Print(std::string("  [") + RootName(root) + "\\" + key + "]");
    for (const std::string& name : RegValueNames(root, key.c_str()))
        PrintValue(root, key, name);
    if (withSubkeys) {
        for (const std::string& child : RegSubkeyNames(root, key.c_str()))
            PrintKey(root, key + "\\" + child, true);
    }
}

static void PrintLink(const std::string& path) {
    setuptest::LinkInfo link = setuptest::ReadLink(path);
    if (link.Loaded)
        Print("  " + path + "\n    -> " + link.Target + "  (\"" + link.Description + "\")");
}

static void PrintWritten(const std::string& folder) {
    Print("Registry, per user:");
    PrintKey(HKEY_CURRENT_USER, "Software\\Molvex", true);
    Print("Registry, system:");
    PrintKey(HKEY_LOCAL_MACHINE,
             "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Molvex.exe", true);
    PrintKey(HKEY_LOCAL_MACHINE,
             "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Molvex archiver", true);
    const char approved[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
    Print(std::string("  [HKLM\\") + approved + "] (Molvex's value only)");
    PrintValue(HKEY_LOCAL_MACHINE, approved, "{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}");
    Print("Registry, classes:");
    for (const char* key : {"CLSID\\{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}", "Molvex", "Molvex.ZIP",
                            "Molvex.REV", ".rev"})
        PrintKey(HKEY_CLASSES_ROOT, key, true);
    for (const char* key :
         {"exefile\\shellex\\PropertySheetHandlers\\{3C5E8A21-6B4F-47D9-B2E1-9A0D4C7F1E63}",
          "*\\shellex\\ContextMenuHandlers\\Molvex", "Folder\\shellex\\ContextMenuHandlers\\Molvex",
          "Folder\\shellex\\DragDropHandlers\\Molvex", "Drive\\shellex\\DragDropHandlers\\Molvex",
          "Directory\\shellex\\ContextMenuHandlers\\Molvex",
          "Directory\\shellex\\DragDropHandlers\\Molvex"})
        PrintKey(HKEY_CLASSES_ROOT, key, true);
    for (const char* ext :
         {".mvx", ".zip", ".cab", ".arj", ".lzh", ".lha", ".ace", ".tar", ".gz", ".tgz", ".uue",
          ".xxe", ".uu", ".bz2", ".tbz2", ".bz", ".tbz", ".jar", ".iso"})
        PrintKey(HKEY_CLASSES_ROOT, ext, true);
    int volumes = 0;
    for (int j = 0; j < 100; j++) {
        char name[8];
        snprintf(name, sizeof(name), ".m%02d", j);
        std::string text;
        if (RegString(HKEY_CLASSES_ROOT, name, "", &text) && text == "Molvex")
            volumes++;
    }
    Print("  [HKCR\\.m00] ... : " + std::to_string(volumes) + " volume extensions = \"Molvex\"");

    Print("Links:");
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU})
        PrintLink(setuptest::SpecialFolder(csidl) + "\\Molvex.lnk");
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) {
        std::string group = setuptest::SpecialFolder(csidl) + "\\Molvex";
        for (const std::string& name : setuptest::FolderEntries(group))
            PrintLink(group + "\\" + name);
    }

    Print("Template files:");
    for (const char* name : {"mvxnew.dat", "zipnew.dat"}) {
        std::string bytes;
        if (ReadFileBytes(folder + "\\" + name, &bytes))
            Print("  " + folder + "\\" + name + " (" + std::to_string(bytes.size()) +
                  " bytes): " + Hex(bytes));
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        Print("usage: mvx_demo_driver <installation folder> <picture folder>");
        return 2;
    }
    const std::string folder = argv[1], pictures = argv[2];
    OleInitialize(nullptr);
    Process p = Start("\"" + folder + "\\uninstall.exe\" /setup", folder);
    int status = 1;
    HWND setup = WaitForDialog("Molvex 安装", nullptr);
    if (setup) {
        Snap(setup, pictures, "setup");
        PostMessageA(GetDlgItem(setup, 5121), BM_CLICK, 0, 0);
        HWND items = WaitForDialog("关联菜单项目", nullptr);
        if (items) {
            Snap(items, pictures, "contextitems");
            PressButton(items, IDOK);
            for (int i = 0; i < 100 && IsWindow(items); i++)
                Sleep(50);
        }
        PressButton(setup, IDOK);
        HWND done = WaitForDialog("Molvex 安装", setup);
        if (done) {
            Snap(done, pictures, "done");
            PressButton(done, IDOK);
            status = 0;
        }
    }
    if (!Wait(p, 30000))
        status = 1;
    Sleep(1000);
    setuptest::CloseExplorerWindows();
    if (status == 0)
        PrintWritten(folder);
    else
        Print("the setup dialogs did not appear as expected");
    OleUninitialize();
    return status;
}
