#include "catalogue/catalogue_index.h"

#include <algorithm>

#include "catalogue/brands.h"
#include "catalogue/tables.h"

namespace talmeko::catalogue {
namespace {

constexpr std::uint64_t kOffsetBasis = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

void Mix(std::uint64_t& hash, char c) {
  hash ^= static_cast<unsigned char>(c);
  hash *= kPrime;
}

struct Before {
  bool operator()(const CatalogueIndex::Posting& a, const CatalogueIndex::Posting& b) const {
    return a.hash != b.hash ? a.hash < b.hash : a.position < b.position;
  }
};

std::span<const CatalogueIndex::Posting> Range(const std::vector<CatalogueIndex::Posting>& postings,
                                               std::uint64_t hash) {
  const auto byHash = [](const CatalogueIndex::Posting& p, std::uint64_t h) { return p.hash < h; };
  const auto first = std::lower_bound(postings.begin(), postings.end(), hash, byHash);
  auto last = first;
  while (last != postings.end() && last->hash == hash) ++last;
  return {first, last};
}

}  // namespace

// The number is hashed in its normalised form, character by character, so
// numbers that are the same number always meet.
std::uint64_t CatalogueIndex::Hash(std::string_view brand, std::string_view number) {
  std::uint64_t hash = kOffsetBasis;
  for (const char c : brand) Mix(hash, c);
  Mix(hash, ':');
  bool leading = true;
  for (const char c : number) {
    if (c == '\n' || c == '\r' || (leading && c == '0')) continue;
    leading = false;
    Mix(hash, c);
  }
  return hash;
}

CatalogueIndex::CatalogueIndex(const std::vector<Palette>& palette, const std::vector<Accord>& accord) {
  palette_.reserve(palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette_.push_back({Hash(palette[i].Brand, palette[i].Number), static_cast<std::uint32_t>(i)});
  }
  accord_.reserve(accord.size() * 2);
  for (std::size_t i = 0; i < accord.size(); ++i) {
    const std::uint64_t first = Hash(accord[i].BrandA, accord[i].NumberA);
    const std::uint64_t second = Hash(accord[i].BrandB, accord[i].NumberB);
    accord_.push_back({first, static_cast<std::uint32_t>(i)});
    if (second != first) accord_.push_back({second, static_cast<std::uint32_t>(i)});
  }
  std::sort(palette_.begin(), palette_.end(), Before{});
  std::sort(accord_.begin(), accord_.end(), Before{});
}

std::int64_t CatalogueIndex::FirstPalette(const std::vector<Palette>& palette, std::string_view brand,
                                          std::string_view number) const {
  for (const Posting& p : Range(palette_, Hash(brand, number))) {
    const Palette& entry = palette[p.position];
    if (entry.Brand == brand && SameNumber(entry.Number, number)) return p.position;
  }
  return -1;
}

std::span<const CatalogueIndex::Posting> CatalogueIndex::AccordCandidates(std::string_view brand,
                                                                          std::string_view number) const {
  return Range(accord_, Hash(brand, number));
}

}  // namespace talmeko::catalogue
