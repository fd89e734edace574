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

#include <cstddef>
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
  // True for any integer other than 0.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Calls visit for each key line of the first matching section, in file
  // order. The views stay valid until the document changes.
  template <typename Visit>
  void VisitEntries(std::string_view section, Visit&& visit) const;

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

  void Adopt(std::string bytes);
  bool VisitSection(std::string_view section, const auto& visit) const;
  void Apply(const std::vector<Splice>& splices);
  void ApplyToUtf16(const std::vector<Splice>& splices);

  Encoding encoding_ = Encoding::bytes;
  std::string text_;  // the lines, in Windows-1251
  std::string raw_;   // for a UTF-16 file, its bytes after the byte-order mark
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

// What a line means: for a section line its name, for a key line its key and value.
struct LineMeaning {
  LineKind kind = LineKind::other;
  std::string_view name;
  std::string_view value;
};

inline LineSpan LineAt(std::string_view text, std::size_t start) {
  const char* const begin = text.data();
  const char* const stop = begin + text.size();
  const char* p = begin + start;
  const char* nul = nullptr;
  while (p < stop && *p != '\r' && *p != '\n') {
    if (*p == '\0' && nul == nullptr) nul = p;
    ++p;
  }
  const auto end = static_cast<std::size_t>(p - begin);
  std::size_t next = end;
  if (p < stop) next += (*p == '\r' && p + 1 < stop && p[1] == '\n') ? 2 : 1;
  return {start, nul != nullptr ? static_cast<std::size_t>(nul - begin) : end, next};
}

LineMeaning Meaning(std::string_view lineText);

// Calls visit(span, meaning) for every line until it returns false.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  for (std::size_t start = 0; start < text.size();) {
    const LineSpan span = LineAt(text, start);
    const LineMeaning meaning =
        span.end == span.start ? LineMeaning{} : Meaning(text.substr(span.start, span.end - span.start));
    if (!visit(span, meaning)) return;
    start = span.next;
  }
}

}  // namespace profile_detail

// The first matching section's lines, header excluded, until the next
// section line; false when no section matches.
bool ProfileDocument::VisitSection(std::string_view section, const auto& visit) const {
  using namespace profile_detail;
  bool inside = false;
  bool found = false;
  ForEachLine(text_, [&](const LineSpan& span, const LineMeaning& meaning) {
    if (meaning.kind == LineKind::section) {
      if (inside) return false;
      inside = found = ProfileNamesEqual(meaning.name, section);
      return true;
    }
    return !inside || visit(span, meaning);
  });
  return found;
}

template <typename Visit>
void ProfileDocument::VisitEntries(std::string_view section, Visit&& visit) const {
  using namespace profile_detail;
  VisitSection(section, [&](const LineSpan&, const LineMeaning& meaning) {
    if (meaning.kind == LineKind::key) visit(ProfileEntry{meaning.name, meaning.value});
    return true;
  });
}

}  // namespace talmeko::platform
