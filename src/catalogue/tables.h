#pragma once
// The catalogue: the palette table and the correspondence table, each built
// line by line from a source text and only read afterwards.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_index.h"

namespace talmeko::catalogue {

struct Palette {
  std::string Brand;
  std::string Number;
  std::string Code;
  std::string Name;
};

struct Accord {
  std::string BrandA;
  std::string NumberA;
  std::string BrandB;
  std::string NumberB;
};

// Splits one line into four fields at its first three ':' characters; the
// fourth field keeps everything after the third, further ':' included.
struct LineFields {
  std::string_view f1, f2, f3, f4;
};
LineFields SplitLine(std::string_view line);

class Tables {
 public:
  Tables() = default;
  Tables(std::vector<Palette> palette, std::vector<Accord> accord);

  const std::vector<Palette>& PaletteTable() const { return palette_; }
  const std::vector<Accord>& AccordTable() const { return accord_; }
  const CatalogueIndex& Index() const { return index_; }

 private:
  std::vector<Palette> palette_;
  std::vector<Accord> accord_;
  CatalogueIndex index_;
};

// Builds both tables from source texts: one record per line, none skipped.
// Lines end at CR LF; a lone line feed belongs to its line, which is how a
// correspondence number can keep a trailing line feed.
Tables LoadTables(std::string_view paletteSource, std::string_view accordSource);

// The catalogue sources compiled into the program, byte for byte.
std::string_view BuiltinPaletteSource();
std::string_view BuiltinAccordSource();

// Builds both tables from the catalogue compiled into the program.
Tables LoadTables();

}  // namespace talmeko::catalogue
