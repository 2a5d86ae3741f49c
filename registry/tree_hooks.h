// Observation points of a tree deletion, for the tests only: the program
// leaves both null, and a tree deletion then runs exactly as without them.
#pragma once

struct TreeDeletionHooks {
    // Before each pass; passes are numbered from 1.
    void (*PassStarted)(int pass);
    // After each key that the deletion removed. Pass 0 is the direct
    // deletion that the 9x family tries first.
    void (*KeyDeleted)(int pass, const char* path);
};

extern TreeDeletionHooks g_TreeDeletionHooks;
