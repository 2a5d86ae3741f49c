// The process-wide objects that the Windows build defines in app/globals.cpp.
// The lead-byte table starts empty (a single-byte code page); tests that need
// a double-byte one fill it themselves.
#include "app/text.h"
#include "io/error_state.h"

ErrorState g_ErrorState;
LeadByteTable g_LeadBytes;
