#pragma once
// Small character helpers shared by the tokenizer and the style parsers.

#include <string>
#include <string_view>

namespace talmeko::htmlview {

constexpr bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr char16_t ToLowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
constexpr char16_t ToUpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// Appends one character as UTF-8; a lone surrogate becomes "?".
void AppendUtf8(std::string& out, char16_t c);
// Converts UTF-8 text to UTF-16; ill-formed bytes become U+FFFD.
std::u16string FromUtf8(std::string_view text);

// Removes spaces at both ends.
std::string_view TrimSpaces(std::string_view text);
// Removes one pair of matching single or double quotes around the text.
std::string_view Unquote(std::string_view text);

}  // namespace talmeko::htmlview
