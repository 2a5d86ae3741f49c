#include "lang/crc32.h"

static uint32_t g_Crc32Table[256];
static bool g_Crc32TableFilled;

const uint32_t* Crc32Table() {
    if (!g_Crc32TableFilled) {
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t c = i;
            for (int bit = 0; bit < 8; bit++)
                c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            g_Crc32Table[i] = c;
        }
        g_Crc32TableFilled = true;
    }
    return g_Crc32Table;
}

uint32_t Crc32Update(uint32_t crc, const void* bytes, size_t length) {
    const uint32_t* table = Crc32Table();
    const unsigned char* p = static_cast<const unsigned char*>(bytes);
    while (length >= 8) {
        crc = table[(crc ^ p[0]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[1]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[2]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[3]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[4]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[5]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[6]) & 0xFF] ^ (crc >> 8);
        crc = table[(crc ^ p[7]) & 0xFF] ^ (crc >> 8);
        p += 8;
        length -= 8;
    }
    while (length > 0) {
        crc = table[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
        length--;
    }
    return crc;
}
