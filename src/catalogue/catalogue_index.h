#pragma once
// Lookups by brand key and normalised number over the two tables, built once
// with them. Every lookup gives exactly what a scan in table order would find:
// the index narrows the scan to the entries whose key hashes alike, in table
// order, and the caller's own comparison still decides each of them.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace talmeko::catalogue {

struct Palette;
struct Accord;

class CatalogueIndex {
 public:
  struct Posting {
    std::uint64_t hash;
    std::uint32_t position;
  };

  CatalogueIndex() = default;
  CatalogueIndex(const std::vector<Palette>& palette, const std::vector<Accord>& accord);

  // Position of the first entry of the palette these tables were built from
  // whose brand equals this key and whose number is the same number, or -1.
  std::int64_t FirstPalette(const std::vector<Palette>& palette, std::string_view brand,
                            std::string_view number) const;

  // Correspondence entries that may hold this brand and number on either side,
  // in table order; every entry that does is among them, once.
  std::span<const Posting> AccordCandidates(std::string_view brand, std::string_view number) const;

  static std::uint64_t Hash(std::string_view brand, std::string_view number);

 private:
  std::vector<Posting> palette_;
  std::vector<Posting> accord_;
};

}  // namespace talmeko::catalogue
