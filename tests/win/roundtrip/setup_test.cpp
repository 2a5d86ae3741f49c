// Round trips of setups with the choices a new user gets.
#include "roundtrip.h"

#include <gtest/gtest.h>

using roundtrip::RoundTrip;
using roundtrip::Variant;

TEST(RoundTrip, SetupOnce) {
    RoundTrip(Variant());
}

// The second setup finds the types already associated with Molvex and
// takes no new backup, so the owners from before the first one come back.
TEST(RoundTrip, SetupTwice) {
    Variant v;
    v.SetupRuns = 2;
    RoundTrip(v);
}
