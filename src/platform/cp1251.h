#pragma once
// The program's one text codec: everything it shows, reads and writes is
// Windows-1251. Other encodings reach it only through these conversions.

#include <string>
#include <string_view>

namespace talmeko::platform {

// The Unicode character of one Windows-1251 byte. Byte 0x98, which the code
// page leaves unassigned, maps to U+0098 so that every byte survives a round trip.
char16_t Cp1251ToUnicode(unsigned char byte);

// The Windows-1251 byte of a character, or '?' when the code page cannot hold it.
char UnicodeToCp1251(char16_t ch);

std::u16string DecodeCp1251(std::string_view bytes);
// The same into storage of its own: out must hold bytes.size() characters.
void DecodeCp1251To(std::string_view bytes, char16_t* out);

// Characters the code page cannot hold, unpaired surrogates and surrogate pairs
// included, become one '?' each.
std::string EncodeCp1251(std::u16string_view text);

std::string Cp1251ToUtf8(std::string_view bytes);

// Appends one Unicode code point (up to U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// For diagnostics, dumps and the terminal: surrogate pairs are joined,
// unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Ill-formed UTF-8 and characters Windows-1251 cannot hold become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

}  // namespace talmeko::platform
