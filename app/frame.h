// Process-wide state of the program frame and the language-module holder.
#pragma once

#include <windows.h>

// Holder of the language module "mvxlng.dll" beside the program.
class ExtResource {
  public:
    bool Loaded;

    ExtResource() : Loaded(false) {}
    ~ExtResource() { Free(); }

    // Loads "mvxlng.dll" from the folder of `path` (a file in that folder, or
    // the folder with a trailing backslash), or from the program's folder
    // when no path is given.
    void Load(HINSTANCE instance, const char* path);
    void Free();
};

extern ExtResource g_ExtResource;

// Module of every dialog template, the icon and the first string lookup:
// the language module while it is loaded, else the program itself.
extern HINSTANCE g_ResourceModule;
extern HINSTANCE g_ProgramInstance;
extern bool g_Silent;
extern HICON g_ProgramIcon;
extern HFONT g_BoldFont;
extern char ProgramGroupFolder[1024];

// The message text of `id`, translated; valid until seven more calls.
const char* GetMessageText(int id);

// Full path of the program file; false (and an empty buffer) when the
// system's answer does not fit.
bool GetProgramPath(char* buffer, DWORD size);
// `fileName` in the program's folder; false when it does not fit.
bool ProgramFolderFile(char* buffer, size_t size, const char* fileName);

// Runs the mode that the command-line tail selects.
void RunCommandLine(const char* tail);
