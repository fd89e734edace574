#pragma once
// INI profile files: the settings file and colour set files, read as the
// Windows profile functions read them, since such files come from Windows
// programs and from hand editing alike.
//
// A file is a list of lines ended by CR LF, a lone CR or a lone LF; a NUL
// byte ends the text of its line. A line whose first non-blank character is
// "[" and that holds a "]" names a section, the name running to the last "]";
// a line holding "=" is a key line; anything else is kept but never matched.
// Blanks are space, tab, vertical tab, form feed and Ctrl-Z; they are removed
// around names and values, and a value in matching double or single quotes
// loses them. Section and key names match without regard to case (ASCII and
// the Cyrillic letters of Windows-1251). A UTF-8 byte-order mark is skipped;
// a UTF-16LE file with its byte-order mark is read as text converted to
// Windows-1251. Writing keeps the mark, the encoding and every line it does
// not change byte for byte.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regular_file.h"

namespace talmeko::platform {

// Values are read through a buffer of this size, so a longer value is cut to
// one byte less than this.
inline constexpr std::size_t kProfileBufferSize = 2048;

using ProfileResult = FileResult;

// One key line of a section as it is read: blanks around both sides removed,
// the value out of its quotes and not cut.
struct ProfileEntry {
  std::string_view key;
  std::string_view value;
};

// One key to be written and its value.
struct ProfileWrite {
  std::string key;
  std::string value;
};

namespace profile_detail {
class KeyStarts;
}

// A profile file held in memory as its Windows-1251 text. Reading looks
// through the text once per request, so the work and the memory grow with
// the file and nothing else. Several keys can be changed and then written
// back in one save.
class ProfileDocument {
 public:
  // A file that does not exist loads as an empty document and succeeds; any
  // other failure to read leaves the document empty and reports why.
  ProfileResult Load(const std::string& path);
  void Parse(std::string_view bytes);

  // The value of the first matching key of the first matching section, or
  // the default; either is cut to what the read buffer holds.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "$" or "0x", optionally signed; anything
  // else, and anything outside the range of int, gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // Several keys of one section in one pass: for each the value ReadString
  // gives, or nothing when the key is missing.
  std::vector<std::optional<std::string>> ReadStrings(std::string_view section,
                                                      const std::vector<std::string_view>& keys) const;
  // True for any integer other than 0.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Calls visit for each key line of the first matching section, in file
  // order, or only for those whose key starts with one of the given letters
  // in either case. The views stay valid until the document changes.
  template <typename Visit>
  void VisitEntries(std::string_view section, Visit&& visit, std::string_view firstLetters = {}) const;

  // Replaces the first matching key where it stands, or adds the key at the
  // end of its section, or the section at the end of the document. Names and
  // values that would break the line structure are refused.
  ProfileResult WriteString(std::string_view section, std::string_view key, std::string_view value);
  ProfileResult WriteInteger(std::string_view section, std::string_view key, int value);
  ProfileResult WriteBool(std::string_view section, std::string_view key, bool value);
  // Writes the keys of one section in one pass over the document, with the
  // result of writing them one after the other. Nothing is written when any
  // of them is refused.
  ProfileResult WriteStrings(std::string_view section, const std::vector<ProfileWrite>& writes);

  // The file's bytes, byte-order mark included.
  std::string Bytes() const;
  ProfileResult Save(const std::string& path) const;

 private:
  enum class Encoding { bytes, utf8, utf16 };
  struct Splice;

  // Where the lines of a section run, from the line after its header up to
  // the next section line.
  struct SectionRange {
    bool found = false;
    std::size_t from = 0;
    std::size_t to = 0;
  };
  // The last section looked up is remembered, so reading several keys of
  // one section looks for the section once.
  struct SectionCache {
    bool valid = false;
    std::string name;
    SectionRange range;
  };

  void Adopt(std::string bytes);
  SectionRange FindSection(std::string_view section) const;
  bool VisitSection(std::string_view section, const profile_detail::KeyStarts& wanted, const auto& visit) const;
  void Apply(const std::vector<Splice>& splices);
  void ApplyToUtf16(const std::vector<Splice>& splices);

  Encoding encoding_ = Encoding::bytes;
  std::string text_;  // the lines, in Windows-1251
  std::string raw_;   // for a UTF-16 file, its bytes after the byte-order mark
  mutable SectionCache cache_;
};

// Reads one key of one section of a file with a default; a missing or
// unreadable file, section or key gives the default.
std::string GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     const std::string& path);

// Writes one key of one section of a file, keeping every other byte.
ProfileResult WritePrivateProfileStringA(std::string_view section, std::string_view key, std::string_view value,
                                         const std::string& path);

// Parses a profile integer as ReadInteger does; false leaves the value alone.
bool ParseProfileInteger(std::string_view text, int& value);

// Case-insensitive equality of section and key names.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

namespace profile_detail {

// One line of the text: where it starts, where its text ends (at its first
// NUL or its line break) and where the next line starts.
struct LineSpan {
  std::size_t start;
  std::size_t end;
  std::size_t next;
};

enum class LineKind { other, section, key };

// What a line means: for a section line its name, for a key line its key and
// value; blank when nothing but blanks comes before its end.
struct LineMeaning {
  LineKind kind = LineKind::other;
  bool blank = false;
  std::string_view name;
  std::string_view value;
};

// The first characters of the keys a search looks for. A line starting with
// any other character is no key it wants, so the line need not be taken
// apart; this keeps a search through millions of short lines fast.
class KeyStarts {
 public:
  static KeyStarts Any();
  void Add(std::string_view key);
  bool Has(unsigned char c) const { return wanted_[c]; }

 private:
  std::array<bool, 256> wanted_{};
};

// Ctrl-Z ends files of old editors, and vertical tab and form feed come
// from printers' habits; none of them is part of a name or value.
inline bool IsBlank(char c) {
  constexpr std::uint64_t kBlanks = 1ull << ' ' | 1ull << '\t' | 1ull << '\x0B' | 1ull << '\x0C' | 1ull << '\x1A';
  const auto code = static_cast<unsigned char>(c);
  return code < 64 && (kBlanks >> code & 1) != 0;
}

LineMeaning FullMeaning(std::string_view lineText);

// A line whose first character starts none of the wanted keys is passed
// over untaken apart. Sections are found by their own search, so here a line
// starting with "[" is no more than any other line.
inline LineMeaning Meaning(std::string_view lineText, const KeyStarts& wanted) {
  std::size_t i = 0;
  while (i < lineText.size() && IsBlank(lineText[i])) ++i;
  if (i == lineText.size()) return {LineKind::other, true, {}, {}};
  const auto first = static_cast<unsigned char>(lineText[i]);
  if (!wanted.Has(first)) return {};
  return FullMeaning(lineText);
}

// The search functions of the C library are the fastest way through long
// lines and long runs of line breaks, and a plain loop the fastest through
// short ones, so the first bytes are looked at here. Both stop at a NUL,
// which here only ends the text of a line, and may look past the end of the
// part searched, never past the NUL that ends every std::string.
inline std::size_t BreaksAt(const char* p) {
  for (std::size_t n = 0; n < 16; ++n) {
    if (p[n] != '\r' && p[n] != '\n') return n;
  }
  return 16 + std::strspn(p + 16, "\r\n");
}

inline std::size_t TextAt(const char* p) {
  for (std::size_t n = 0; n < 16; ++n) {
    if (p[n] == '\r' || p[n] == '\n' || p[n] == '\0') return n;
  }
  return 16 + std::strcspn(p + 16, "\r\n");
}

inline LineSpan LineAt(const std::string& text, std::size_t start, std::size_t to) {
  const char* const data = text.c_str();
  const std::size_t end = std::min(start + TextAt(data + start), to);
  std::size_t brk = end;
  while (brk < to && data[brk] == '\0') brk = std::min(brk + 1 + TextAt(data + brk + 1), to);
  std::size_t next = brk;
  if (brk < to) next += (data[brk] == '\r' && brk + 1 < to && data[brk + 1] == '\n') ? 2 : 1;
  return {start, end, next};
}

// Calls visit(span, meaning) for every line from..to that is not empty,
// until it returns false. Empty lines mean nothing to any search, so a run
// of line breaks is passed over at once.
template <typename Visit>
void ForEachLine(const std::string& text, std::size_t from, std::size_t to, const KeyStarts& wanted,
                 Visit&& visit) {
  const std::string_view all = text;
  for (std::size_t start = from;;) {
    start = std::min(start + BreaksAt(text.c_str() + start), to);
    if (start >= to) return;
    const LineSpan span = LineAt(text, start, to);
    if (!visit(span, Meaning(all.substr(span.start, span.end - span.start), wanted))) return;
    start = span.next;
  }
}

}  // namespace profile_detail

// The lines of the first matching section, header excluded; false when no
// section matches.
bool ProfileDocument::VisitSection(std::string_view section, const profile_detail::KeyStarts& wanted,
                                   const auto& visit) const {
  const SectionRange range = FindSection(section);
  if (range.found) profile_detail::ForEachLine(text_, range.from, range.to, wanted, visit);
  return range.found;
}

template <typename Visit>
void ProfileDocument::VisitEntries(std::string_view section, Visit&& visit, std::string_view firstLetters) const {
  using namespace profile_detail;
  KeyStarts starts = firstLetters.empty() ? KeyStarts::Any() : KeyStarts();
  for (std::size_t i = 0; i < firstLetters.size(); ++i) starts.Add(firstLetters.substr(i, 1));
  VisitSection(section, starts, [&](const LineSpan&, const LineMeaning& meaning) {
    if (meaning.kind == LineKind::key) visit(ProfileEntry{meaning.name, meaning.value});
    return true;
  });
}

}  // namespace talmeko::platform
