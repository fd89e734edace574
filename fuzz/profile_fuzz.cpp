// Any bytes as a profile file, and one key written into it: a key that the
// file holds, or a new one, with a value taken from the input's last bytes.
// The file must come back byte for byte when nothing is written; a write
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
};

// The section and key names the file holds, as the reader sees them.
std::vector<Name> NamesIn(const std::string& text) {
  using namespace profile_detail;
  std::vector<Name> names;
  std::string section;
  ForEachLine(text, 0, text.size(), KeyStarts::Any(), true, [&](const LineSpan&, const LineMeaning& meaning) {
    if (meaning.kind == LineKind::section) section = meaning.name;
    if (meaning.kind == LineKind::key && !meaning.name.empty()) names.push_back({section, std::string(meaning.name)});
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
  const Name target = pick < names.size() ? names[pick] : Name{"palette", "gamma"};
  const std::string value = input.substr(size - std::min<std::size_t>(size, 12));
  std::vector<std::string> earlier;
  for (const Name& n : names) earlier.push_back(document.ReadString(n.section, n.key, "\x01"));

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
