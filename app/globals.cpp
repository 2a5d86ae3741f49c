// The process-wide objects, defined in one file so that they are constructed
// in this order before the entry point runs and destroyed in reverse after it.
#include <windows.h>

#include "app/frame.h"
#include "app/text.h"
#include "io/error_state.h"
#include "lang/language.h"

ErrorState g_ErrorState;
LeadByteTable g_LeadBytes;
ExtResource g_ExtResource;
LanguageResources g_Language;

static bool BuildLeadByteTable() {
    CPINFO info = {};
    bool multiByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
    for (int c = 0; c < 256; c++)
        g_LeadBytes.Entry[c] = IsDBCSLeadByte(static_cast<BYTE>(c)) ? 1 : 0;
    g_LeadBytes.Entry[256] = multiByte ? 1 : 0;
    return true;
}

static bool g_LeadBytesBuilt = BuildLeadByteTable();
