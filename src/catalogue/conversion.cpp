#include "catalogue/conversion.h"

#include <cctype>

namespace talmeko::catalogue {
namespace {

constexpr int kLargestDistance = 765;
constexpr int kAcceptanceThreshold = 144;

// Brands whose empty slots the DMC pass may fill, in the order it visits them.
constexpr std::array<std::string_view, 4> kPassBrands = {"gamma", "anchor", "madeira", "kirov"};

// Brand keys are a handful of bytes; comparing them in place is much cheaper
// than a library call per table entry.
bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

std::size_t IndexOf(std::string_view key) { return *BrandIndex(key); }

// The slot of a table brand on the other side of a matching entry, or nothing
// when that side names no table brand (such as "*dmc").
std::string* TableSlot(Equivalents& result, std::string_view brand) {
  if (!IsTableBrand(brand)) return nullptr;
  return &result.Slot(IndexOf(brand));
}

void AppendFromTable(std::string* slot, std::string_view number) {
  if (slot == nullptr) return;
  if (!slot->empty()) *slot += ',';
  AppendNormalizedNumber(*slot, number);
}

void PutOwnNumber(Equivalents& result, std::string_view number, std::string_view brand) {
  if (const std::optional<std::size_t> own = BrandIndex(brand)) result.Slot(*own) = std::string(number);
}

const Palette* FindSourceEntry(const Tables& tables, std::string_view number, std::string_view brand) {
  const std::int64_t at = tables.Index().FirstPalette(tables.PaletteTable(), brand, number);
  return at < 0 ? nullptr : &tables.PaletteTable()[static_cast<std::size_t>(at)];
}

bool IsSixHexDigits(std::string_view code) {
  if (code.size() != 6) return false;
  for (const char c : code) {
    if (std::isxdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

// The colour a search starts from. A metallic thread stores its six hex digits
// without the "#"; reading them anyway lets a metallic red still find reds.
bool SourceColor(const Palette& entry, std::uint32_t& color) {
  if (HTMLToColor(entry.Code, color)) return true;
  if (!IsSixHexDigits(entry.Code)) return false;
  char withHash[7] = {'#'};
  for (std::size_t i = 0; i < 6; ++i) withHash[i + 1] = entry.Code[i];
  return HTMLToColor(std::string_view(withHash, 7), color);
}

struct NearestState {
  std::array<int, kTableBrands.size()> minimum{};
  std::array<std::size_t, kTableBrands.size()> slotIndex{};
};

NearestState StartNearest() {
  NearestState state;
  for (std::size_t i = 0; i < kTableBrands.size(); ++i) {
    state.minimum[i] = kLargestDistance;
    state.slotIndex[i] = IndexOf(kTableBrands[i]);
  }
  return state;
}

std::optional<std::size_t> TableBrandPosition(std::string_view brand) {
  for (std::size_t i = 0; i < kTableBrands.size(); ++i) {
    if (kTableBrands[i] == brand) return i;
  }
  return std::nullopt;
}

void ScanCandidates(const Tables& tables, std::string_view brand, std::uint32_t source, Equivalents& result) {
  NearestState state = StartNearest();
  for (const Palette& entry : tables.PaletteTable()) {
    if (SameKey(entry.Brand, brand)) continue;
    std::uint32_t candidate = 0;
    if (!HTMLToColor(entry.Code, candidate)) continue;
    const int distance = ColorDistance(source, candidate);
    if (distance >= kAcceptanceThreshold) continue;
    const std::optional<std::size_t> position = TableBrandPosition(entry.Brand);
    if (!position || distance >= state.minimum[*position]) continue;
    state.minimum[*position] = distance;
    std::string& slot = result.Slot(state.slotIndex[*position]);
    slot.clear();
    AppendNormalizedNumber(slot, entry.Number);
    result.Found = true;
  }
}

}  // namespace

const std::string& Equivalents::Slot(std::string_view key) const {
  static const std::string kNoSlot;
  const std::optional<std::size_t> index = BrandIndex(key);
  return index ? slots[*index] : kNoSlot;
}

Equivalents FindExact(const Tables& tables, std::string_view number, std::string_view brand) {
  Equivalents result;
  PutOwnNumber(result, number, brand);
  // The index narrows the scan to candidates in table order; the comparisons
  // below still decide each of them exactly as a full scan would.
  for (const CatalogueIndex::Posting& candidate : tables.Index().AccordCandidates(brand, number)) {
    const Accord& entry = tables.AccordTable()[candidate.position];
    if (SameKey(entry.BrandA, brand) && SameNumber(entry.NumberA, number)) {
      result.Found = true;
      AppendFromTable(TableSlot(result, entry.BrandB), entry.NumberB);
    } else if (SameKey(entry.BrandB, brand) && SameNumber(entry.NumberB, number)) {
      result.Found = true;
      AppendFromTable(TableSlot(result, entry.BrandA), entry.NumberA);
    }
  }
  return result;
}

void DmcPass(const Tables& tables, Equivalents& result) {
  const std::size_t dmc = IndexOf("dmc");
  if (!result.Found || result.slots[dmc].empty()) return;
  const Equivalents second = FindExact(tables, FirstNumber(result.slots[dmc]), "dmc");
  result.Found = second.Found;
  for (const std::string_view brand : kPassBrands) {
    const std::size_t index = IndexOf(brand);
    if (result.slots[index].empty()) result.slots[index] = second.slots[index];
  }
}

Equivalents FindNearest(const Tables& tables, std::string_view number, std::string_view brand) {
  Equivalents result;
  const Palette* source = FindSourceEntry(tables, number, brand);
  if (source == nullptr) return result;
  std::uint32_t sourceColor = 0;
  if (!SourceColor(*source, sourceColor)) return result;
  PutOwnNumber(result, number, brand);
  ScanCandidates(tables, brand, sourceColor, result);
  return result;
}

}  // namespace talmeko::catalogue
