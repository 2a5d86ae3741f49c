#include "uninstall/script_text.h"

#include "app/text.h"

#include <cstring>

// Byte by byte is right for the double-byte code pages too: their second
// bytes are never below 0x40, so none of them is a "%".
bool DoublePercent(char* dst, size_t size, const char* text) {
    if (size == 0)
        return false;
    size_t w = 0;
    for (const char* p = text; *p; p++) {
        size_t need = *p == '%' ? 2 : 1;
        if (w + need >= size) {
            dst[0] = 0;
            return false;
        }
        dst[w++] = *p;
        if (*p == '%')
            dst[w++] = '%';
    }
    dst[w] = 0;
    return true;
}

static bool AppendPiece(char* dst, size_t size, size_t* used, const char* piece) {
    size_t n = strlen(piece);
    if (*used + n >= size)
        return false;
    memcpy(dst + *used, piece, n);
    *used += n;
    dst[*used] = 0;
    return true;
}

size_t BuildRemovalScript(char* dst, size_t size, bool family9x, const char* programPath,
                          const char* programFolder, const char* scriptPath) {
    if (size == 0)
        return 0;
    dst[0] = 0;
    char program[kScriptPieceSize];
    char folder[kScriptPieceSize];
    char script[kScriptPieceSize];
    if (!DoublePercent(program, sizeof(program), programPath) ||
        !DoublePercent(folder, sizeof(folder), programFolder) ||
        !DoublePercent(script, sizeof(script), scriptPath))
        return 0;

    char piece[kScriptPieceSize];
    size_t used = 0;
    bool ok = family9x ? StrFormat(piece, sizeof(piece), "start /wait \"%s\" /wait\r\n", program)
                       : StrFormat(piece, sizeof(piece), "\"%s\" /wait\r\n", program);
    ok = ok && AppendPiece(dst, size, &used, piece);
    for (int attempt = 0; ok && attempt < 5; attempt++) {
        ok = StrFormat(piece, sizeof(piece),
                       "del \"%s\"\r\nrd \"%s\"\r\nif not exist \"%s\" goto done\r\n", program,
                       folder, program) &&
             AppendPiece(dst, size, &used, piece);
    }
    ok = ok &&
         StrFormat(piece, sizeof(piece), ":done\r\nif exist \"%s\" \"%s\" /warning\r\ndel \"%s\"",
                   program, program, script) &&
         AppendPiece(dst, size, &used, piece);
    if (!ok) {
        dst[0] = 0;
        return 0;
    }
    return used;
}
