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

// The reason in the user's words. Reading and writing share most reasons;
// a missing permission and a missing file mean different things in each.
std::string SystemReason(const platform::ProfileResult& failure) {
  const bool reading = failure.stage == platform::FileStage::reading;
  switch (failure.error) {
    case EACCES:
    case EPERM:
      return platform::Utf8ToCp1251(reading ? "нет прав на чтение этого файла"
                                            : "нет прав на запись в эту папку или в этот файл");
    case EROFS: return platform::Utf8ToCp1251("диск доступен только для чтения");
    case ENOSPC:
    case EDQUOT: return platform::Utf8ToCp1251("на диске не хватает места");
    case ENOENT:
      return platform::Utf8ToCp1251(reading ? "ссылка указывает на файл, которого нет" : "такой папки нет");
    case ENOTDIR: return platform::Utf8ToCp1251("такой папки нет");
    case EISDIR: return platform::Utf8ToCp1251("под этим именем уже есть папка");
    case ENODEV: return platform::Utf8ToCp1251("под этим именем устройство или канал, а не файл");
    case EFBIG: return platform::Utf8ToCp1251("файл больше 16 МБ");
    case ELOOP: return platform::Utf8ToCp1251("ссылки на этот файл замыкаются в кольцо");
    case ENAMETOOLONG: return platform::Utf8ToCp1251("слишком длинное имя файла");
    default: return platform::Utf8ToCp1251(failure.reason);
  }
}

std::string FailureMessage(std::string_view prefix, std::string_view path, const platform::ProfileResult& failure) {
  return platform::Utf8ToCp1251(prefix) + platform::Utf8ToCp1251(path) + platform::Utf8ToCp1251("\": ") +
         SystemReason(failure) + ".";
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

// Two passes over the section keep the memory small whatever the file
// holds: the first finds which item numbers occur, the second takes the
// first value of each.
std::vector<std::string> ColourSetItems(const platform::ProfileDocument& document, int count) {
  std::vector<std::uint32_t> numbers;
  document.VisitEntries(kSection, [&](const platform::ProfileEntry& entry) {
    const std::optional<std::int64_t> index = ItemIndex(entry.key);
    if (index && *index < count) numbers.push_back(static_cast<std::uint32_t>(*index));
  }, "c");
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  // The values go straight into the list, in the order of their numbers: a
  // hostile file holds hundreds of thousands of items, and a second list of
  // views beside this one would cost as much memory as the file.
  std::vector<std::string> items(numbers.size());
  std::vector<bool> taken(numbers.size(), false);
  document.VisitEntries(kSection, [&](const platform::ProfileEntry& entry) {
    const std::optional<std::int64_t> index = ItemIndex(entry.key);
    if (!index || *index >= count) return;
    const auto at = static_cast<std::size_t>(
        std::lower_bound(numbers.begin(), numbers.end(), static_cast<std::uint32_t>(*index)) - numbers.begin());
    if (!taken[at]) items[at] = entry.value.substr(0, platform::kProfileBufferSize - 1);
    taken[at] = true;
  }, "c");
  std::erase(items, kMissing);
  return items;
}

platform::ProfileResult WriteColourSet(platform::ProfileDocument& document, const std::vector<std::string>& items) {
  std::vector<platform::ProfileWrite> writes;
  writes.reserve(items.size() + 1);
  writes.push_back({"Count", std::to_string(items.size())});
  for (std::size_t i = 0; i < items.size(); ++i) writes.push_back({"c" + std::to_string(i), items[i]});
  return document.WriteStrings(kSection, writes);
}

std::string SaveFailureMessage(std::string_view path, const platform::ProfileResult& failure) {
  return FailureMessage("Не удалось сохранить набор цветов в файл \"", path, failure);
}

std::string LoadFailureMessage(std::string_view path, const platform::ProfileResult& failure) {
  return FailureMessage("Не удалось загрузить набор цветов из файла \"", path, failure);
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

// A file that cannot be read leaves the list and the page as they are, so
// a wrong choice in the dialog never costs the user the list.
void ColourSetFile::LoadColorSet() {
  const std::optional<std::string> chosen = port_.ChooseOpenFile(ColourSetFilterDescription(), kColourSetPattern);
  if (!chosen) return;
  platform::ProfileDocument document;
  if (const platform::ProfileResult loaded = document.Load(*chosen); !loaded) {
    port_.ShowMessage(LoadFailureMessage(*chosen, loaded));
    return;
  }
  port_.RemoveAllColours();
  for (const std::string& item : ColourSetItems(document, document.ReadInteger(kSection, "Count", 0))) {
    port_.AppendColour(item);
  }
  builder_.RebuildPage();
  port_.RepaintColours();
}

}  // namespace talmeko::app
