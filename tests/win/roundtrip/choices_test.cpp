// Round trips of setups with a user's own choices, and with file types that
// other programs take over between setup and uninstall.
#include "roundtrip.h"

#include <gtest/gtest.h>

using roundtrip::RoundTrip;
using roundtrip::Variant;

// Cleared groups are never touched; links that were chosen go, and without
// a program group or shell integration nothing of them is left.
TEST(RoundTrip, SetupWithClearedChoices) {
    Variant v;
    v.Choices = {
        {"Setup\\.zip", "Set", 0},      {"Setup\\.tar", "Set", 0},
        {"Setup\\.gz", "Set", 0},       {"Setup\\Links", "Programs", 0},
        {"Setup\\Links", "Desktop", 1}, {"Setup\\Links", "StartMenu", 1},
        {"Setup", "ShellExt", 0},
    };
    v.TakesZip = false;
    v.TakesGz = false;
    v.ProgramGroup = false;
    v.Shell = false;
    v.SingleLinks = true;
    RoundTrip(v);
}

// A type that another program has taken since setup stays that program's:
// ".cab", which Molvex had taken over, and ".rev", which setup wrote.
TEST(RoundTrip, TypesTakenOverAfterSetupStay) {
    Variant v;
    v.AfterSetup = {
        {".cab", "", "Extractor.Cabinet"},
        {".cab", "Content Type", "application/x-cab"},
        {".rev", "", "Parity.Volume"},
    };
    RoundTrip(v);
}

// An installation whose setup never ran: uninstalling finds nothing of
// Molvex to take back and changes nothing else, not even by a residue.
TEST(RoundTrip, UninstallWithoutSetup) {
    Variant v;
    v.SetupRuns = 0;
    v.TakesZip = false;
    v.TakesGz = false;
    v.ProgramGroup = false;
    v.Shell = false;
    RoundTrip(v);
}
