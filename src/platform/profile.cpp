#include "platform/profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/cp1251.h"

namespace talmeko::platform {

using profile_detail::LineKind;
using profile_detail::LineMeaning;
using profile_detail::LineSpan;

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::size_t npos = std::string::npos;

using profile_detail::IsBlank;
using profile_detail::KeyStarts;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'')) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Folds ASCII letters and the Cyrillic letters of Windows-1251 to lower case.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + ('a' - 'A'));
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 0x20);
  if (c == 0xA8) return 0xB8;
  return c;
}

std::string CutToBuffer(std::string_view value) { return std::string(value.substr(0, kProfileBufferSize - 1)); }

bool HoldsLineBreak(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != npos; }

ProfileResult Refused(const char* why) { return ProfileResult::Failure(EINVAL, why); }

ProfileResult CheckNames(std::string_view section, const std::vector<ProfileWrite>& writes) {
  if (HoldsLineBreak(section) || section.find(']') != npos) {
    return Refused("the section name cannot be stored in a profile file");
  }
  for (const ProfileWrite& w : writes) {
    const std::string_view key = Trim(w.key);
    if (key.empty() || HoldsLineBreak(w.key) || key.find('=') != npos || key.front() == '[') {
      return Refused("the key name cannot be stored in a profile file");
    }
    if (HoldsLineBreak(w.value)) return Refused("the value holds a line break");
  }
  return ProfileResult::Success();
}

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes one character of a UTF-16LE text takes at offset i: four for a
// surrogate pair, two for anything else.
std::size_t Utf16Length(std::string_view raw, std::size_t i) {
  const auto unit = [&](std::size_t at) {
    return static_cast<char16_t>(static_cast<unsigned char>(raw[at]) | static_cast<unsigned char>(raw[at + 1]) << 8);
  };
  const char16_t first = unit(i);
  if (first >= 0xD800 && first < 0xDC00 && i + 3 < raw.size()) {
    const char16_t second = unit(i + 2);
    if (second >= 0xDC00 && second < 0xE000) return 4;
  }
  return 2;
}

// One Windows-1251 character per UTF-16 character; a trailing odd byte is no
// character and stays in the raw bytes only.
std::string Utf16ToText(std::string_view raw) {
  std::string text;
  text.reserve(raw.size() / 2);
  for (std::size_t i = 0; i + 1 < raw.size();) {
    const std::size_t length = Utf16Length(raw, i);
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                            static_cast<unsigned char>(raw[i + 1]) << 8);
    text.push_back(length == 4 ? '?' : UnicodeToCp1251(unit));
    i += length;
  }
  return text;
}

void AppendUtf16(std::string& raw, std::string_view text) {
  for (const char c : text) {
    const char16_t unit = Cp1251ToUnicode(static_cast<unsigned char>(c));
    raw.push_back(static_cast<char>(unit & 0xFF));
    raw.push_back(static_cast<char>(unit >> 8));
  }
}

// The names of a batch of reads or writes in one section, so that each key
// line of the section finds its request at once, without building a string
// per line.
class KeyIndex {
 public:
  explicit KeyIndex(std::vector<std::string_view> keys) : keys_(std::move(keys)) {
    std::size_t size = 16;
    while (size < keys_.size() * 2) size *= 2;
    slots_.assign(size, npos);
    first_.resize(keys_.size());
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      std::size_t& slot = slots_[Position(keys_[i])];
      if (slot == npos) slot = i;
      first_[i] = slot;
      starts_.Add(keys_[i]);
    }
  }
  // The first request of this name, or npos.
  std::size_t Find(std::string_view key) const { return slots_[Position(key)]; }
  // The first request of the same name as this one.
  std::size_t First(std::size_t request) const { return first_[request]; }
  std::size_t Size() const { return keys_.size(); }
  const KeyStarts& Starts() const { return starts_; }

 private:
  // The slot of the name, or the empty slot where it would go.
  std::size_t Position(std::string_view key) const {
    std::uint32_t hash = 2166136261u;
    for (const char c : key) hash = (hash ^ FoldCase(static_cast<unsigned char>(c))) * 16777619u;
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at] != npos && !ProfileNamesEqual(keys_[slots_[at]], key)) at = (at + 1) & mask;
    return at;
  }

  std::vector<std::string_view> keys_;
  std::vector<std::size_t> slots_;
  std::vector<std::size_t> first_;
  KeyStarts starts_;
};

std::vector<std::string_view> KeysOf(const std::vector<ProfileWrite>& writes) {
  std::vector<std::string_view> keys;
  keys.reserve(writes.size());
  for (const ProfileWrite& w : writes) keys.push_back(w.key);
  return keys;
}

std::string KeyLine(const ProfileWrite& w) {
  std::string line;
  line.reserve(w.key.size() + 1 + w.value.size() + kLineEnd.size());
  line.append(w.key).append("=").append(w.value).append(kLineEnd);
  return line;
}

// Whether the line ending just before the offset has no line break.
bool Unended(std::string_view text, std::size_t offset) {
  return offset > 0 && text[offset - 1] != '\r' && text[offset - 1] != '\n';
}

// Where each write goes: the first line of its key in the section, and
// where new keys are added.
struct SectionPlaces {
  std::vector<LineSpan> line;
  std::size_t insertAt = 0;
  bool insertAfterUnended = false;
};

// The section's lines from..to, after a header that ends where from is.
SectionPlaces FindPlaces(const std::string& text, std::size_t from, std::size_t to, const KeyIndex& index) {
  SectionPlaces places;
  places.line.assign(index.Size(), LineSpan{npos, npos, npos});
  places.insertAt = from;
  places.insertAfterUnended = Unended(text, from);
  profile_detail::ForEachLine(text, from, to, index.Starts(), [&](const LineSpan& span, const LineMeaning& meaning) {
    if (meaning.kind == LineKind::key) {
      const std::size_t w = index.Find(meaning.name);
      if (w != npos && places.line[w].start == npos) places.line[w] = span;
    }
    if (!meaning.blank) {
      places.insertAt = span.next;
      places.insertAfterUnended = Unended(text, span.next);
    }
    return true;
  });
  return places;
}

}  // namespace

namespace profile_detail {

// Plain loops over offsets rather than searches and trimmed copies: lines
// are mostly a few bytes long, and this runs once for each of millions of
// them in a hostile file.
LineMeaning FullMeaning(std::string_view line) {
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  if (begin == end) return {LineKind::other, true, {}, {}};
  if (line[begin] == '[') {
    std::size_t close = end;
    while (close > begin + 1 && line[close - 1] != ']') --close;
    if (close > begin + 1) return {LineKind::section, false, Trim(line.substr(begin + 1, close - begin - 2)), {}};
  }
  std::size_t equals = begin;
  while (equals < end && line[equals] != '=') ++equals;
  if (equals == end) return {};
  std::size_t keyEnd = equals;
  while (keyEnd > begin && IsBlank(line[keyEnd - 1])) --keyEnd;
  std::size_t valueBegin = equals + 1;
  while (valueBegin < end && IsBlank(line[valueBegin])) ++valueBegin;
  return {LineKind::key, false, line.substr(begin, keyEnd - begin), Unquote(line.substr(valueBegin, end - valueBegin))};
}

KeyStarts KeyStarts::Any() {
  KeyStarts starts;
  starts.wanted_.fill(true);
  return starts;
}

void KeyStarts::Add(std::string_view key) {
  const std::string_view name = Trim(key);
  if (name.empty()) return;
  const unsigned char folded = FoldCase(static_cast<unsigned char>(name.front()));
  for (int c = 0; c < 256; ++c) {
    if (FoldCase(static_cast<unsigned char>(c)) == folded) wanted_[static_cast<std::size_t>(c)] = true;
  }
}

}  // namespace profile_detail

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool ParseProfileInteger(std::string_view text, int& value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (text.starts_with('$')) {
    hex = true;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, hex);
    if (digit < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + digit;
    if (magnitude > limit) return false;
  }
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

ProfileResult ProfileDocument::Load(const std::string& path) {
  FileContents contents = ReadRegularFile(path);
  Adopt(std::move(contents.bytes));
  return contents.result;
}

void ProfileDocument::Parse(std::string_view bytes) { Adopt(std::string(bytes)); }

// The bytes are taken over rather than copied, so a large file is held once.
void ProfileDocument::Adopt(std::string bytes) {
  cache_ = {};
  raw_.clear();
  if (bytes.starts_with(kUtf16Mark)) {
    encoding_ = Encoding::utf16;
    raw_ = std::move(bytes);
    raw_.erase(0, kUtf16Mark.size());
    text_ = Utf16ToText(raw_);
    return;
  }
  encoding_ = bytes.starts_with(kUtf8Mark) ? Encoding::utf8 : Encoding::bytes;
  text_ = std::move(bytes);
  if (encoding_ == Encoding::utf8) text_.erase(0, kUtf8Mark.size());
}

namespace {

// Where the line holding the offset "to" starts, when a line break lies
// between from and to; npos when none does. A plain loop: the bytes between
// two hits of the search are looked at once, and mostly there are few.
std::size_t AfterLastBreak(const char* data, std::size_t from, std::size_t to) {
  for (std::size_t at = to; at > from; --at) {
    if (data[at - 1] == '\n' || data[at - 1] == '\r') return at;
  }
  return npos;
}

// Only section lines matter here, and each holds a "]", so the search jumps
// from one "]" to the next instead of walking every line: millions of key,
// blank or unclosed "[" lines cost one library search. A line is looked at
// once, at its first "]"; what follows a NUL is no part of the line.
template <typename Visit>
void ForEachSectionLine(const std::string& text, Visit&& visit) {
  const char* const data = text.c_str();
  const std::size_t size = text.size();
  std::size_t lineStart = 0;
  for (std::size_t at = 0; at < size;) {
    const void* hit = std::memchr(data + at, ']', size - at);
    if (hit == nullptr) return;
    const auto close = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
    if (const std::size_t start = AfterLastBreak(data, at, close); start != npos) lineStart = start;
    const LineSpan span = profile_detail::LineAt(text, lineStart, size);
    const LineMeaning meaning =
        profile_detail::FullMeaning(std::string_view(text).substr(lineStart, span.end - lineStart));
    if (meaning.kind == LineKind::section && !visit(span, meaning)) return;
    at = lineStart = span.next;
  }
}

}  // namespace

ProfileDocument::SectionRange ProfileDocument::FindSection(std::string_view section) const {
  if (cache_.valid && ProfileNamesEqual(cache_.name, section)) return cache_.range;
  SectionRange range{false, text_.size(), text_.size()};
  ForEachSectionLine(text_, [&](const LineSpan& span, const LineMeaning& meaning) {
    if (range.found) {
      range.to = span.start;
      return false;
    }
    if (ProfileNamesEqual(meaning.name, section)) {
      range.found = true;
      range.from = span.next;
    }
    return true;
  });
  cache_ = {true, std::string(section), range};
  return range;
}

std::vector<std::optional<std::string>> ProfileDocument::ReadStrings(std::string_view section,
                                                                     const std::vector<std::string_view>& keys) const {
  const KeyIndex index(keys);
  std::vector<std::optional<std::string>> values(keys.size());
  std::size_t missing = keys.size();
  VisitSection(section, index.Starts(), [&](const LineSpan&, const LineMeaning& meaning) {
    if (meaning.kind != LineKind::key) return true;
    const std::size_t first = index.Find(meaning.name);
    if (first == npos || values[first]) return true;
    values[first] = CutToBuffer(meaning.value);
    return --missing > 0;
  });
  for (std::size_t i = 0; i < keys.size(); ++i) values[i] = values[index.First(i)];
  return values;
}

std::string ProfileDocument::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) const {
  std::optional<std::string> value = std::move(ReadStrings(section, {key}).front());
  return value ? std::move(*value) : CutToBuffer(defaultValue);
}

int ProfileDocument::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  int value = defaultValue;
  if (!ParseProfileInteger(ReadString(section, key, ""), value)) return defaultValue;
  return value;
}

bool ProfileDocument::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

// One change of the text: the bytes from..to give way to the new lines.
struct ProfileDocument::Splice {
  std::size_t from;
  std::size_t to;
  std::string lines;
};

ProfileResult ProfileDocument::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return WriteStrings(section, {ProfileWrite{std::string(key), std::string(value)}});
}

ProfileResult ProfileDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

ProfileResult ProfileDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

// A key already in the section is replaced where its first line stands; the
// others go, in the order given, after the section's last line that is not
// blank, so the blank lines parting it from the next section stay in front
// of that one. A later write of the same name replaces the earlier one.
ProfileResult ProfileDocument::WriteStrings(std::string_view section, const std::vector<ProfileWrite>& writes) {
  if (ProfileResult checked = CheckNames(section, writes); !checked) return checked;
  if (writes.empty()) return ProfileResult::Success();
  const KeyIndex index(KeysOf(writes));
  const SectionRange range = FindSection(section);
  SectionPlaces places;
  if (range.found) {
    places = FindPlaces(text_, range.from, range.to, index);
  } else {
    places.line.assign(writes.size(), LineSpan{npos, npos, npos});
    places.insertAt = text_.size();
    places.insertAfterUnended = Unended(text_, text_.size());
  }
  std::vector<std::size_t> lastOf(writes.size(), npos);
  for (std::size_t i = 0; i < writes.size(); ++i) lastOf[index.First(i)] = i;
  std::vector<Splice> splices;
  std::string added;
  for (std::size_t w = 0; w < writes.size(); ++w) {
    if (lastOf[w] == npos) continue;
    if (places.line[w].start == npos) {
      added += KeyLine(writes[lastOf[w]]);
    } else {
      splices.push_back({places.line[w].start, places.line[w].next, KeyLine(writes[lastOf[w]])});
    }
  }
  std::sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) { return a.from < b.from; });
  if (!range.found) {
    added = "[" + std::string(section) + "]" + std::string(kLineEnd) + added;
  }
  if (!added.empty()) {
    const bool replacedLast = !splices.empty() && splices.back().to == places.insertAt;
    if (places.insertAfterUnended && !replacedLast) added.insert(0, kLineEnd);
    splices.push_back({places.insertAt, places.insertAt, std::move(added)});
  }
  Apply(splices);
  return ProfileResult::Success();
}

// The new text is built in one pass, whatever the number of changes.
void ProfileDocument::Apply(const std::vector<Splice>& splices) {
  cache_ = {};
  if (encoding_ == Encoding::utf16) ApplyToUtf16(splices);
  std::size_t size = text_.size();
  for (const Splice& s : splices) size += s.lines.size() - (s.to - s.from);
  std::string text;
  text.reserve(size);
  std::size_t at = 0;
  for (const Splice& s : splices) {
    text.append(text_, at, s.from - at).append(s.lines);
    at = s.to;
  }
  text.append(text_, at);
  text_ = std::move(text);
}

// The same changes in the file's own UTF-16 bytes: character n of the text
// is character n of the raw bytes, so everything between the changes keeps
// its exact bytes, characters Windows-1251 cannot hold included.
void ProfileDocument::ApplyToUtf16(const std::vector<Splice>& splices) {
  std::size_t added = 0;
  for (const Splice& s : splices) added += s.lines.size() * 2;
  std::string raw;
  raw.reserve(raw_.size() + added);
  std::size_t character = 0;
  std::size_t byte = 0;
  const auto advanceTo = [&](std::size_t target) {
    for (; character < target && byte + 1 < raw_.size(); ++character) byte += Utf16Length(raw_, byte);
    return byte;
  };
  std::size_t copied = 0;
  for (const Splice& s : splices) {
    const std::size_t from = advanceTo(s.from);
    raw.append(raw_, copied, from - copied);
    AppendUtf16(raw, s.lines);
    copied = advanceTo(s.to);
  }
  raw.append(raw_, copied);
  raw_ = std::move(raw);
}

std::string ProfileDocument::Bytes() const {
  switch (encoding_) {
    case Encoding::utf8: return std::string(kUtf8Mark) + text_;
    case Encoding::utf16: return std::string(kUtf16Mark) + raw_;
    case Encoding::bytes: break;
  }
  return text_;
}

ProfileResult ProfileDocument::Save(const std::string& path) const {
  switch (encoding_) {
    case Encoding::utf8: return WriteRegularFile(path, {kUtf8Mark, text_});
    case Encoding::utf16: return WriteRegularFile(path, {kUtf16Mark, raw_});
    case Encoding::bytes: break;
  }
  return WriteRegularFile(path, {text_});
}

std::string GetPrivateProfileStringA(std::string_view section, std::string_view key, std::string_view defaultValue,
                                     const std::string& path) {
  ProfileDocument document;
  if (!document.Load(path)) return CutToBuffer(defaultValue);
  return document.ReadString(section, key, defaultValue);
}

ProfileResult WritePrivateProfileStringA(std::string_view section, std::string_view key, std::string_view value,
                                         const std::string& path) {
  ProfileDocument document;
  if (ProfileResult loaded = document.Load(path); !loaded) return loaded;
  if (ProfileResult changed = document.WriteString(section, key, value); !changed) return changed;
  return document.Save(path);
}

}  // namespace talmeko::platform
