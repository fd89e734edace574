#include "app/colour_set_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

#include "app/texts.h"
#include "app/website.h"
#include "platform/cp1251.h"

namespace talmeko::app {
namespace {

constexpr std::string_view kSection = "Mouline";
constexpr std::string_view kExtension = ".talmeko";
constexpr std::string_view kMissing = "-";

// The index of an item key "c" + decimal without leading zeros, or nothing.
std::optional<std::int64_t> ItemIndex(std::string_view key) {
  if (key.size() < 2 || (key[0] != 'c' && key[0] != 'C')) return std::nullopt;
  const std::string_view digits = key.substr(1);
  if (digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  std::int64_t index = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    index = index * 10 + (c - '0');
  }
  return index;
}

std::string SystemReason(const platform::ProfileResult& failure) {
  switch (failure.error) {
    case EACCES:
    case EPERM: return platform::Utf8ToCp1251("нет прав на запись в эту папку или в этот файл");
    case EROFS: return platform::Utf8ToCp1251("диск доступен только для чтения");
    case ENOSPC:
    case EDQUOT: return platform::Utf8ToCp1251("на диске не хватает места");
    case ENOENT:
    case ENOTDIR: return platform::Utf8ToCp1251("такой папки нет");
    case EISDIR: return platform::Utf8ToCp1251("под этим именем уже есть папка");
    case ENAMETOOLONG: return platform::Utf8ToCp1251("слишком длинное имя файла");
    default: return platform::Utf8ToCp1251(failure.reason);
  }
}

}  // namespace

std::string ColourSetFilterDescription() { return texts::ColourSetFilterPrefix() + WebsiteAddress(); }

std::string ColourSetPath(std::string_view chosenName) {
  const bool hasExtension =
      chosenName.size() >= kExtension.size() &&
      platform::ProfileNamesEqual(chosenName.substr(chosenName.size() - kExtension.size()), kExtension);
  std::string path(chosenName);
  if (!hasExtension) path.append(kExtension);
  return path;
}

std::vector<std::string> ColourSetItems(const platform::ProfileDocument& document, int count) {
  struct Found {
    std::int64_t index;
    std::size_t order;
    std::string_view value;
  };
  std::vector<Found> found;
  const std::vector<platform::ProfileEntry> entries = document.Entries(kSection);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::optional<std::int64_t> index = ItemIndex(entries[i].key);
    if (index && *index < count) found.push_back({*index, i, entries[i].value});
  }
  // The first line of a key is the one read, as for any profile key.
  std::sort(found.begin(), found.end(),
            [](const Found& a, const Found& b) { return a.index != b.index ? a.index < b.index : a.order < b.order; });
  std::vector<std::string> items;
  items.reserve(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (i > 0 && found[i].index == found[i - 1].index) continue;
    const std::string_view value = found[i].value.substr(0, platform::kProfileBufferSize - 1);
    if (value != kMissing) items.emplace_back(value);
  }
  return items;
}

platform::ProfileResult WriteColourSet(platform::ProfileDocument& document, const std::vector<std::string>& items) {
  if (auto r = document.WriteInteger(kSection, "Count", static_cast<int>(items.size())); !r) return r;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (auto r = document.WriteString(kSection, "c" + std::to_string(i), items[i]); !r) return r;
  }
  return platform::ProfileResult::Success();
}

std::string SaveFailureMessage(std::string_view path, const platform::ProfileResult& failure) {
  return platform::Utf8ToCp1251("Не удалось сохранить набор цветов в файл \"") + platform::Utf8ToCp1251(path) +
         platform::Utf8ToCp1251("\": ") + SystemReason(failure) + ".";
}

void ColourSetFile::SaveColorSet() {
  const std::optional<std::string> chosen = port_.ChooseSaveFile(ColourSetFilterDescription(), kColourSetPattern);
  if (!chosen) return;
  const std::string path = ColourSetPath(*chosen);
  std::vector<std::string> items;
  const int count = port_.ColourCount();
  items.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) items.push_back(port_.ColourItem(i));
  platform::ProfileDocument document;
  platform::ProfileResult result = document.Load(path);
  if (result) result = WriteColourSet(document, items);
  if (result) result = document.Save(path);
  if (!result) port_.ShowMessage(SaveFailureMessage(path, result));
}

void ColourSetFile::LoadColorSet() {
  const std::optional<std::string> chosen = port_.ChooseOpenFile(ColourSetFilterDescription(), kColourSetPattern);
  if (!chosen) return;
  port_.RemoveAllColours();
  platform::ProfileDocument document;
  document.Load(*chosen);
  for (const std::string& item : ColourSetItems(document, document.ReadInteger(kSection, "Count", 0))) {
    port_.AppendColour(item);
  }
  builder_.RebuildPage();
  port_.RepaintColours();
}

}  // namespace talmeko::app
