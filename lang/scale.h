// The dialog scale entry "width*height" of the language file. No
// <windows.h>: shared with the host build.
#pragma once

struct DialogScale {
    int Width;
    int Height;
    bool On;
};

// Percentages beyond this are taken as this, so that no coordinate product
// can overflow.
constexpr int kScaleLimit = 100000;

// Reads an entry text: without "*" 100, 100 and off; otherwise the decimal
// numbers before and after the first "*", on unless both are 100.
DialogScale ParseScaleEntry(const char* text);
// value * percent / 100, truncated toward zero, kept within 32 bits.
int ScaleBy(int value, int percent);
