#include "catalogue/tables.h"

// The two catalogue sources, compiled in from data/palette.txt and data/accord.txt.
extern const std::string_view talmeko_palette_source;
extern const std::string_view talmeko_accord_source;

namespace talmeko::catalogue {

std::string_view BuiltinPaletteSource() { return talmeko_palette_source; }
std::string_view BuiltinAccordSource() { return talmeko_accord_source; }

Tables LoadTables() { return LoadTables(talmeko_palette_source, talmeko_accord_source); }

}  // namespace talmeko::catalogue
