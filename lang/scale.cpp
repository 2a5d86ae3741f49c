#include "lang/scale.h"

#include <cstdint>
#include <cstring>

// Leading blanks, an optional sign, then digits up to the first other
// character; no digits give 0. Saturates instead of overflowing.
static int ReadDecimal(const char* p) {
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')
        p++;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    int value = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        if (value < kScaleLimit)
            value = value * 10 + (*p - '0');
    }
    if (value > kScaleLimit)
        value = kScaleLimit;
    return negative ? -value : value;
}

DialogScale ParseScaleEntry(const char* text) {
    const char* star = strchr(text, '*');
    if (!star)
        return {100, 100, false};
    DialogScale scale;
    scale.Width = ReadDecimal(text);
    scale.Height = ReadDecimal(star + 1);
    scale.On = !(scale.Width == 100 && scale.Height == 100);
    return scale;
}

int ScaleBy(int value, int percent) {
    int64_t result = static_cast<int64_t>(value) * percent / 100;
    if (result > INT32_MAX)
        return INT32_MAX;
    if (result < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(result);
}
