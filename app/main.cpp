// The entry point: start-up resources, the mode of the command line, release.
#include "app/frame.h"
#include "lang/language.h"

#include <ole2.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int) {
    g_ExtResource.Load(instance, nullptr);
    g_Language.Load("uninstall.lng");
    OleInitialize(nullptr);
    HMODULE richEdit = LoadLibraryA("riched32.dll");
    g_ProgramIcon = LoadIconA(g_ResourceModule, "MVXICON");
    // "宋体" (SimSun) in code page 936.
    g_BoldFont = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "\xCB\xCE\xCC\xE5");
    RunCommandLine(commandTail ? commandTail : "");
    if (richEdit)
        FreeLibrary(richEdit);
    OleUninitialize();
    DeleteObject(g_BoldFont);
    return 0;
}
