#include "catalogue/tables.h"

#include <utility>

namespace talmeko::catalogue {
namespace {

// Cuts the text before the first ':' off the remainder. Without a ':' the
// field is empty and the remainder stays whole.
std::string_view TakeField(std::string_view& remainder) {
  const std::size_t colon = remainder.find(':');
  if (colon == std::string_view::npos) {
    return {};
  }
  const std::string_view field = remainder.substr(0, colon);
  remainder.remove_prefix(colon + 1);
  return field;
}

// Calls visit for every line of a source. Lines end at CR LF only, so a lone
// line feed stays inside its line; a final CR LF ends the last line rather
// than starting an empty one.
template <typename Visit>
void ForEachLine(std::string_view source, Visit visit) {
  while (!source.empty()) {
    const std::size_t end = source.find("\r\n");
    if (end == std::string_view::npos) {
      visit(source);
      return;
    }
    visit(source.substr(0, end));
    source.remove_prefix(end + 2);
  }
}

std::size_t CountLines(std::string_view source) {
  std::size_t count = 0;
  ForEachLine(source, [&count](std::string_view) { ++count; });
  return count;
}

}  // namespace

LineFields SplitLine(std::string_view line) {
  LineFields fields;
  std::string_view remainder = line;
  fields.f1 = TakeField(remainder);
  fields.f2 = TakeField(remainder);
  fields.f3 = TakeField(remainder);
  fields.f4 = remainder;
  return fields;
}

Tables::Tables(std::vector<Palette> palette, std::vector<Accord> accord)
    : palette_(std::move(palette)), accord_(std::move(accord)), index_(palette_, accord_) {}

Tables LoadTables(std::string_view paletteSource, std::string_view accordSource) {
  std::vector<Palette> palette;
  palette.reserve(CountLines(paletteSource));
  ForEachLine(paletteSource, [&palette](std::string_view line) {
    const LineFields f = SplitLine(line);
    palette.push_back(Palette{std::string(f.f1), std::string(f.f2), std::string(f.f3), std::string(f.f4)});
  });
  std::vector<Accord> accord;
  accord.reserve(CountLines(accordSource));
  ForEachLine(accordSource, [&accord](std::string_view line) {
    const LineFields f = SplitLine(line);
    accord.push_back(Accord{std::string(f.f1), std::string(f.f2), std::string(f.f3), std::string(f.f4)});
  });
  return Tables(std::move(palette), std::move(accord));
}

}  // namespace talmeko::catalogue
