#pragma once

#include <string>
#include <string_view>

// Helpers for the program's 8-bit text, which is Windows-1252 throughout.
namespace zw {

// The UTF-16 code unit of one Windows-1252 byte (undefined bytes map to the same code).
char16_t Win1252ToUtf16(unsigned char byte);

std::u16string Win1252ToUtf16(std::string_view text);

// The Windows-1252 byte of one UTF-16 code unit; '?' for a character the code page lacks.
char Win1252Of(char16_t unit);

// The Windows-1252 text of UTF-16 code units; a character the code page lacks becomes '?',
// as the system's conversion writes it.
std::string Utf16ToWin1252(std::u16string_view text);

// UTF-8 for terminals and files on systems whose text is UTF-8.
std::string Win1252ToUtf8(std::string_view text);

// Upper case of a Windows-1252 character: ASCII and the Western European letters.
unsigned char UpperCase1252(unsigned char byte);

// Lower case of a Windows-1252 character, the inverse of UpperCase1252.
unsigned char LowerCase1252(unsigned char byte);
// Case-insensitive equality for ASCII letters; every other byte must match exactly.
bool SameTextAscii(std::string_view a, std::string_view b);

// Orders two names as NTFS orders a folder: both upper-cased, then compared by UTF-16
// code unit. Negative, zero or positive like std::string::compare.
int CompareAsUpperCase(std::string_view a, std::string_view b);

}  // namespace zw
