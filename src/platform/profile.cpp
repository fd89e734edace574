#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <string>
#include <system_error>

namespace talmeko::platform {
namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Folds ASCII letters and the Cyrillic letters of Windows-1251 to lower case.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + ('a' - 'A'));
  if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 0x20);
  if (c == 0xA8) return 0xB8;
  return c;
}

// The name of a section line, or false for any other line.
bool SectionName(std::string_view text, std::string_view& name) {
  std::string_view rest = Trim(text);
  if (rest.empty() || rest.front() != '[') return false;
  rest.remove_prefix(1);
  name = Trim(rest.substr(0, rest.find(']')));
  return true;
}

// The key and value of a key line, or false for any other line.
bool KeyValue(std::string_view text, ProfileEntry& entry) {
  std::string_view unused;
  if (SectionName(text, unused)) return false;
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return false;
  entry.key = Trim(text.substr(0, eq));
  entry.value = Trim(text.substr(eq + 1));
  return true;
}

std::string CutToBuffer(std::string_view value) {
  return std::string(value.substr(0, kProfileBufferSize - 1));
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

ProfileResult Refused(const char* why) { return ProfileResult::Failure(EINVAL, why); }

ProfileResult SystemFailure(int errorNumber) {
  return ProfileResult::Failure(errorNumber, std::error_code(errorNumber, std::generic_category()).message());
}

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a temporary file of its own in the directory of the target, so the
// later rename never crosses file systems.
int CreateTemporary(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned> counter{0};
  const std::size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = directory + ".talmeko-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

ProfileResult ReplaceFile(const std::string& path, std::string_view bytes) {
  std::string temporary;
  const int fd = CreateTemporary(path, temporary);
  if (fd < 0) return SystemFailure(errno);
  struct stat existing{};
  if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd, existing.st_mode & 07777);
  }
  int failure = 0;
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) failure = errno;
  if (failure != 0) {
    ::unlink(temporary.c_str());
    return SystemFailure(failure);
  }
  return ProfileResult::Success();
}

}  // namespace

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
  lines_.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ProfileResult::Success() : SystemFailure(errno);
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int failure = errno;
      ::close(fd);
      return SystemFailure(failure);
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  ::close(fd);
  Parse(bytes);
  return ProfileResult::Success();
}

// A line ends at CR LF, at a lone CR or at a lone LF, so files written by any
// system are read line by line alike.
void ProfileDocument::Parse(std::string_view bytes) {
  lines_.clear();
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t brk = bytes.find_first_of("\r\n", start);
    if (brk == std::string_view::npos) {
      lines_.push_back({std::string(bytes.substr(start)), std::string()});
      break;
    }
    const std::size_t endLength = bytes.compare(brk, 2, kLineEnd) == 0 ? 2 : 1;
    lines_.push_back({std::string(bytes.substr(start, brk - start)), std::string(bytes.substr(brk, endLength))});
    start = brk + endLength;
  }
}

ProfileDocument::KeyPosition ProfileDocument::Find(std::string_view section, std::string_view key) const {
  KeyPosition where{npos, npos, lines_.size()};
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view name;
    if (SectionName(lines_[i].text, name)) {
      if (where.sectionLine != npos) {
        where.sectionEnd = i;
        break;
      }
      if (ProfileNamesEqual(name, section)) where.sectionLine = i;
      continue;
    }
    ProfileEntry entry;
    if (where.sectionLine != npos && where.keyLine == npos && KeyValue(lines_[i].text, entry) &&
        ProfileNamesEqual(entry.key, key)) {
      where.keyLine = i;
    }
  }
  return where;
}

// A new key goes after the last line of its section that is not blank, so
// the blank lines that part it from the next section stay in front of that one.
std::size_t ProfileDocument::InsertionPoint(const KeyPosition& where) const {
  std::size_t last = where.sectionLine;
  for (std::size_t i = where.sectionLine + 1; i < where.sectionEnd; ++i) {
    if (!Trim(lines_[i].text).empty()) last = i;
  }
  return last + 1;
}

void ProfileDocument::EndLine(std::size_t index) {
  if (lines_[index].end.empty()) lines_[index].end = kLineEnd;
}

std::string ProfileDocument::ReadString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) const {
  const KeyPosition where = Find(section, key);
  if (where.keyLine == npos) return CutToBuffer(defaultValue);
  ProfileEntry entry;
  KeyValue(lines_[where.keyLine].text, entry);
  return CutToBuffer(entry.value);
}

int ProfileDocument::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  int value = defaultValue;
  if (!ParseProfileInteger(ReadString(section, key, ""), value)) return defaultValue;
  return value;
}

bool ProfileDocument::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<ProfileEntry> ProfileDocument::Entries(std::string_view section) const {
  std::vector<ProfileEntry> entries;
  bool inside = false;
  for (const Line& line : lines_) {
    std::string_view name;
    if (SectionName(line.text, name)) {
      if (inside) break;
      inside = ProfileNamesEqual(name, section);
      continue;
    }
    ProfileEntry entry;
    if (inside && KeyValue(line.text, entry)) entries.push_back(entry);
  }
  return entries;
}

ProfileResult ProfileDocument::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (HoldsLineBreak(section) || section.find(']') != std::string_view::npos) {
    return Refused("the section name cannot be stored in a profile file");
  }
  if (Trim(key).empty() || HoldsLineBreak(key) || key.find('=') != std::string_view::npos ||
      Trim(key).front() == '[') {
    return Refused("the key name cannot be stored in a profile file");
  }
  if (HoldsLineBreak(value)) return Refused("the value holds a line break");
  std::string text;
  text.reserve(key.size() + 1 + value.size());
  text.append(key).append("=").append(value);
  const KeyPosition where = Find(section, key);
  if (where.sectionLine == npos) {
    if (!lines_.empty()) EndLine(lines_.size() - 1);
    lines_.push_back({"[" + std::string(section) + "]", std::string(kLineEnd)});
    lines_.push_back({std::move(text), std::string(kLineEnd)});
  } else if (where.keyLine == npos) {
    const std::size_t at = InsertionPoint(where);
    EndLine(at - 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), std::string(kLineEnd)});
  } else {
    lines_[where.keyLine] = {std::move(text), std::string(kLineEnd)};
  }
  return ProfileResult::Success();
}

ProfileResult ProfileDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

ProfileResult ProfileDocument::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

std::string ProfileDocument::Bytes() const {
  std::size_t size = 0;
  for (const Line& line : lines_) size += line.text.size() + line.end.size();
  std::string bytes;
  bytes.reserve(size);
  for (const Line& line : lines_) bytes.append(line.text).append(line.end);
  return bytes;
}

ProfileResult ProfileDocument::Save(const std::string& path) const { return ReplaceFile(path, Bytes()); }

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
