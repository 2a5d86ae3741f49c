// The whole life of an installation in a prefix that other programs and the
// user already live in: record the machine, lay out the files, run
// "/setup /s", uninstall through the Add/Remove Programs command, and find
// the registry and the shell folders as they were, apart from the listed
// residues.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace roundtrip {

// A REG_DWORD stored below the settings root before setup, as a user's
// earlier choices in the setup dialog would be.
struct Choice {
    const char* Key;
    const char* Name;
    DWORD Value;
};

// A default or named text value that another program writes under
// HKEY_CLASSES_ROOT after setup; it is expected to survive the uninstall.
struct ForeignValue {
    const char* Key;
    const char* Name;
    const char* Text;
};

struct Variant {
    int SetupRuns = 1;
    std::vector<Choice> Choices;
    std::vector<ForeignValue> AfterSetup;
    // What setup is expected to do with these choices.
    bool TakesZip = true;
    bool TakesGz = true;
    bool ProgramGroup = true;
    bool Shell = true;
    bool SingleLinks = false;
};

// Runs the round trip; failures are reported through GoogleTest.
void RoundTrip(const Variant& variant);

} // namespace roundtrip
