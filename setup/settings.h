// The integration choices of one user and their transfer to and from the
// registry and the setup dialog.
#pragma once

#include <windows.h>

// 26 one-byte flags, each 0 or 1, addressed by position (see Bytes()).
struct IntegrationSettings {
    unsigned char AssociateGroup[12]; // 0-11: the association groups
    unsigned char Spare[8];           // 12-19: read by nobody
    unsigned char LinkOnDesktop;      // 20
    unsigned char LinkInStartMenu;    // 21
    unsigned char CreateProgramGroup; // 22
    unsigned char IntegrateShell;     // 23
    unsigned char CascadeMenus;       // 24
    unsigned char ShowMenuIcons;      // 25

    unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(this); }
    const unsigned char* Bytes() const { return reinterpret_cast<const unsigned char*>(this); }
};
static_assert(sizeof(IntegrationSettings) == 26, "the record is 26 bytes");

enum { kGroupCount = 12, kIsoGroup = 11 };

// Whether the extension's default value names "Molvex" or "Molvex.ZIP".
bool IsOwnAssociation(const char* extension);
void ReadIntegrationSettings(IntegrationSettings* settings);
void SaveIntegrationSettings(const IntegrationSettings* settings);
void SettingsToDialog(HWND dialog, const IntegrationSettings* settings);
void SettingsFromDialog(HWND dialog, IntegrationSettings* settings);
void SelectAllGroups(HWND dialog);
