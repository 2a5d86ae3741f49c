// CRC-32/ISO-HDLC (reflected polynomial 0xEDB88320), the checksum behind the
// keys of the language file. No <windows.h>: shared with the host build.
#pragma once

#include <cstddef>
#include <cstdint>

// The 256 entries of the byte-wise table, filled on first use.
const uint32_t* Crc32Table();
// Advances a running value over `length` bytes without the initial or final
// inversion, eight bytes per step while eight remain.
uint32_t Crc32Update(uint32_t crc, const void* bytes, size_t length);
