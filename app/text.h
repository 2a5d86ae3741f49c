// Byte-level text and path operations shared by every subsystem. No
// <windows.h> here: the host build compiles this file natively for the
// sanitizer tests and the fuzzers.
#pragma once

#include <cstddef>

// Element count of a real array; refuses pointers at compile time.
template <typename T, size_t N> constexpr size_t dimof(T (&)[N]) { return N; }

// Bounded text operations. Each writes at most `size` bytes including the
// terminating zero, always terminates when size > 0, and returns false when
// the result had to be cut (or size is 0).
bool StrCopy(char* dst, size_t size, const char* src);
bool StrAppend(char* dst, size_t size, const char* src);
bool StrFormat(char* dst, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Case-insensitive comparison of ASCII letters only; other bytes compare as
// they are. Returns <0, 0, >0 like strcmp.
int CompareAsciiNoCase(const char* a, const char* b);
// Prefix comparison of `count` bytes, ignoring the case of ASCII letters.
bool StartsWithAsciiNoCase(const char* text, const char* prefix, size_t count);

// Lead bytes of the ANSI code page: entries 0-255 tell whether a byte value
// starts a double-byte character, entry 256 whether the code page is
// multi-byte at all. Built once before the entry point (see globals.cpp).
struct LeadByteTable {
    unsigned char Entry[257];
    bool IsLead(unsigned char c) const { return Entry[c] != 0; }
    bool MultiByte() const { return Entry[256] != 0; }
};
extern LeadByteTable g_LeadBytes;

// Next character start; a lead byte before the terminator never steps past it.
const char* NextChar(const LeadByteTable& table, const char* p);

bool IsPathSeparator(char c);
bool IsDriveColon(char c);

// Start of the name part of a path (after the last separator, or after a
// leading "X:"). Separators are recognised only at character starts.
const char* NameStart(const char* path);
char* NameStart(char* path);
// First byte of the last character; the text itself when it is empty.
const char* LastChar(const char* text);
char* LastChar(char* text);
// Adds a backslash unless the path is empty or already ends in one.
// `size` is the whole buffer; returns false (and changes nothing) when the
// backslash does not fit.
bool AppendSlash(char* path, size_t size);
// Removes trailing CR, LF, blanks and tabs; returns the text.
char* TrimTrailing(char* text);
// Copies a zero-terminated 16-bit string, cut to `count` units.
void CopyWide(wchar_t* dst, size_t count, const wchar_t* src);

// printf-style formatting of a format that comes from a resource or a
// translation, with one text argument: the first "%s" takes the argument,
// "%%" gives "%", and every other "%" stays as it is, so that a translated
// text with other conversions can never read past its one argument.
// Cut to `size` at a character start; false when cut.
bool FormatWithText(char* dst, size_t size, const char* format, const char* argument);
