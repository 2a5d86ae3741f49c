// The floor of the silent setup: the program's start-up (COM, the Rich Edit
// library, its icon, its bold font, its visual-style manifest) and its own
// two dialog templates, each ending itself as soon as it is created, as the
// silent setup's do. It reads no setting, translates nothing and touches no
// registry value, file or shell link: that work is what the setup costs
// above this.
#include <windows.h>

namespace {

INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);
    HMODULE richEdit = LoadLibraryA("riched32.dll");
    LoadIconA(instance, "MVXICON");
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "\xcb\xce\xcc\xe5");
    if (DialogBoxParamA(instance, "SETUPDLG", nullptr, EndAtOnce, 0) != 0)
        DialogBoxParamA(instance, "DONEDLG", nullptr, EndAtOnce, 0);
    if (richEdit)
        FreeLibrary(richEdit);
    OleUninitialize();
    DeleteObject(font);
    return 0;
}
