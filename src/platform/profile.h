#pragma once
// INI profile files: the settings file and colour set files. A file is a list
// of lines, each a section name in square brackets, a key "=" value line or
// anything else, which is kept but never matched. Reading takes one key of one
// section with a default; writing one key creates what is missing and keeps
// every other line byte for byte. Section and key names match without regard
// to case (ASCII and the Cyrillic letters of Windows-1251); values lose the
// blanks around them when read.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talmeko::platform {

// Values are read through a buffer of this size, so a longer value is cut to
// one byte less than this.
inline constexpr std::size_t kProfileBufferSize = 2048;

// The outcome of a file operation that may fail: the errno value and the
// system's text for it, or the reason the request itself was refused.
struct ProfileResult {
  bool ok = true;
  int error = 0;
  std::string reason;

  explicit operator bool() const { return ok; }
  static ProfileResult Success() { return {}; }
  static ProfileResult Failure(int errorNumber, std::string why) { return {false, errorNumber, std::move(why)}; }
};

// One key line of a section as the file holds it, blanks around both sides
// removed; the value is not cut.
struct ProfileEntry {
  std::string_view key;
  std::string_view value;
};

// A profile file held in memory. Several keys can be changed and then written
// back in one replacement of the whole file, which either happens completely
// or leaves the file as it was.
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

  // The key lines of the first matching section, in file order. The views
  // stay valid until the document changes.
  std::vector<ProfileEntry> Entries(std::string_view section) const;

  // Replaces the first matching key where it stands, or adds the key at the
  // end of its section, or the section at the end of the document. Names and
  // values that would break the line structure are refused.
  ProfileResult WriteString(std::string_view section, std::string_view key, std::string_view value);
  ProfileResult WriteInteger(std::string_view section, std::string_view key, int value);
  ProfileResult WriteBool(std::string_view section, std::string_view key, bool value);

  std::string Bytes() const;
  // Writes the document to a temporary file beside the path and renames it
  // over the path.
  ProfileResult Save(const std::string& path) const;

 private:
  struct Line {
    std::string text;
    std::string end;  // the line's own line break, empty for an unended last line
  };
  struct KeyPosition {
    std::size_t sectionLine;  // npos when the section is missing
    std::size_t keyLine;      // npos when the key is missing from the section
    std::size_t sectionEnd;   // one past the section's last line
  };

  KeyPosition Find(std::string_view section, std::string_view key) const;
  std::size_t InsertionPoint(const KeyPosition& where) const;
  void EndLine(std::size_t index);

  std::vector<Line> lines_;
};

// Reads one key of one section of a file with a default; a missing or
// unreadable file, section or key gives the default.
std::string GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     const std::string& path);

// Writes one key of one section of a file, replacing the file whole.
ProfileResult WritePrivateProfileStringA(std::string_view section, std::string_view key, std::string_view value,
                                         const std::string& path);

// Parses a profile integer as ReadInteger does; false leaves the value alone.
bool ParseProfileInteger(std::string_view text, int& value);

// Case-insensitive equality of section and key names.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

}  // namespace talmeko::platform
