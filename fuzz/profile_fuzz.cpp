// Any bytes as a profile file, and one key written into it: a key that the
// file holds, or a new one, with a value taken from the input's last bytes.
// Every key must read as a plain walk through the lines finds it. The file
// must come back byte for byte when nothing is written; a write
// must be read back as the reader trims it, change no other key, and change
// no byte outside the line it replaces or adds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp1251.h"
#include "platform/profile.h"
#include "value_as_read.h"

namespace {

using namespace talmeko::platform;

void Check(bool holds) {
  if (!holds) std::abort();
}

struct Name {
  std::string section;
  std::string key;
  std::string value;  // as a walk through every line finds it
};

bool Named(const std::vector<Name>& names, std::string_view section, std::string_view key) {
  for (const Name& n : names) {
    if (ProfileNamesEqual(n.section, section) && ProfileNamesEqual(n.key, key)) return true;
  }
  return false;
}

// The keys the file holds where a read finds them, the first of each name in
// the first section of each name, found by walking every line: the reader
// itself jumps between section lines, and must find what the walk finds.
std::vector<Name> NamesIn(const std::string& text) {
  using namespace profile_detail;
  std::vector<Name> names;
  std::vector<std::string> sections;
  bool firstOfItsName = false;
  ForEachLine(text, 0, text.size(), KeyStarts::Any(), [&](const LineSpan&, const LineMeaning& meaning) {
    if (meaning.kind == LineKind::section) {
      firstOfItsName = true;
      for (const std::string& s : sections) firstOfItsName = firstOfItsName && !ProfileNamesEqual(s, meaning.name);
      sections.emplace_back(meaning.name);
    }
    if (meaning.kind == LineKind::key && firstOfItsName && !meaning.name.empty() &&
        !Named(names, sections.back(), meaning.name)) {
      names.push_back({sections.back(), std::string(meaning.name),
                       std::string(meaning.value.substr(0, kProfileBufferSize - 1))});
    }
    return names.size() < 64;
  });
  return names;
}

// The file's text in Windows-1251, as the reader sees it.
std::string AsText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  if (!bytes.starts_with("\xFF\xFE")) return std::string(bytes);
  std::u16string units;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return EncodeCp1251(units);
}

// Outside the one line a write replaces or adds, the bytes stay: what
// differs between before and after holds at most that line's own break.
void CheckOnlyOneLineChanged(const std::string& before, const std::string& after) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  std::size_t breaks = 0;
  for (std::size_t i = prefix; i < before.size() - suffix; ++i) breaks += before[i] == '\r' || before[i] == '\n';
  Check(breaks <= 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  ProfileDocument document;
  document.Parse(input);
  Check(document.Bytes() == input);

  const std::vector<Name> names = NamesIn(AsText(input));
  const std::size_t pick = size == 0 ? 0 : data[0] % (names.size() + 1);
  const Name target = pick < names.size() ? names[pick] : Name{"palette", "gamma", ""};
  const std::string value = input.substr(size - std::min<std::size_t>(size, 12));
  std::vector<std::string> earlier;
  for (const Name& n : names) {
    earlier.push_back(document.ReadString(n.section, n.key, "\x01"));
    Check(earlier.back() == n.value);
  }

  if (!document.WriteString(target.section, target.key, value)) {
    Check(document.Bytes() == input);
    return 0;
  }
  const std::string written = document.Bytes();
  ProfileDocument reread;
  reread.Parse(written);
  Check(reread.ReadString(target.section, target.key, "\x01") == talmeko::fuzzing::ValueAsRead(value));
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool same = ProfileNamesEqual(names[i].section, target.section) && ProfileNamesEqual(names[i].key, target.key);
    if (!same) Check(reread.ReadString(names[i].section, names[i].key, "\x01") == earlier[i]);
  }
  if (!input.starts_with("\xFF\xFE")) CheckOnlyOneLineChanged(input, written);
  Check(static_cast<bool>(reread.WriteString(target.section, target.key, value)));
  Check(reread.Bytes() == written);
  return 0;
}
