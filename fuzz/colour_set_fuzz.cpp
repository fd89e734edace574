// Any bytes as an earlier colour set file, and a list taken from the input
// saved over it: loading what was saved gives the list back, each item as
// the reader trims it and the items that read as "-" left out, whatever the
// earlier file held.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/colour_set_file.h"
#include "platform/profile.h"
#include "value_as_read.h"

using namespace talmeko;

// The input is the earlier file, a byte 0xFF, then the items, one per line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.rfind('\xFF');
  const std::string_view earlier = split == std::string_view::npos ? std::string_view() : input.substr(0, split);
  std::string_view rest = split == std::string_view::npos ? input : input.substr(split + 1);
  std::vector<std::string> items;
  while (!rest.empty() && items.size() < 1000) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    items.emplace_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }

  platform::ProfileDocument document;
  document.Parse(earlier);
  if (!app::WriteColourSet(document, items)) return 0;
  platform::ProfileDocument saved;
  saved.Parse(document.Bytes());
  std::vector<std::string> expected;
  for (const std::string& item : items) {
    if (fuzzing::ValueAsRead(item) != "-") expected.push_back(fuzzing::ValueAsRead(item));
  }
  if (app::ColourSetItems(saved, saved.ReadInteger("Mouline", "Count", 0)) != expected) std::abort();
  return 0;
}
