#include "htmlview/style/style_attribute_cache.h"

#include <bit>

#include "htmlview/base/byte_hash.h"
#include "htmlview/style/style_sheet_parser.h"

namespace talmeko::htmlview {
namespace {

std::string_view BytesOf(std::u16string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}

}  // namespace

std::uint64_t TStyleAttributeCache::Hash(std::u16string_view text) {
  const std::string_view bytes = BytesOf(text);
  return HashBytes(0x7A3D5C1B9E8F4A21ULL, bytes.data(), bytes.size());
}

std::uint64_t TStyleAttributeCache::Parse(std::u16string_view text, TTextPool& pool, TProperties& scratch,
                                          std::vector<TPropValue>& values, std::uint64_t& valued) {
  // Merged onto a new set, the attribute marks exactly the slots it sets as
  // set by a rule; written over another set in slot order, they give what
  // merging it onto that set would. The scratch set comes new and is left
  // new again, its changed slots put back rather than the whole set copied.
  MergeStyleAttribute(text, pool, scratch);
  const std::uint64_t mask = scratch.RuleFlags();
  valued = scratch.ValuedSlots() & mask;
  values.clear();
  for (std::uint64_t bits = mask; bits != 0; bits &= bits - 1) {
    values.push_back(scratch[static_cast<PropIndex>(std::countr_zero(bits))]);
  }
  scratch.RestoreSlots(TProperties::NewSet(), mask);
  return mask;
}

const TStyleAttributeCache::TEntry* TStyleAttributeCache::Find(std::string_view bytes, std::uint64_t hash) const {
  if (table_.empty()) return nullptr;
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = table_[i];
    if (slot == 0) return nullptr;
    const TEntry& entry = entries_[slot - 1];
    if (entry.hash == hash && SameBytes(entry.bytes, bytes.data(), bytes.size())) return &entry;
  }
}

void TStyleAttributeCache::Link(std::size_t index) {
  // Kept at most half full, so that probes stay short and always end.
  if (entries_.size() * 2 > table_.size()) {
    std::vector<std::uint32_t> bigger(table_.empty() ? 64 : table_.size() * 2, 0);
    const std::size_t mask = bigger.size() - 1;
    for (std::uint32_t slot : table_) {
      if (slot == 0) continue;
      std::size_t i = entries_[slot - 1].hash & mask;
      while (bigger[i] != 0) i = (i + 1) & mask;
      bigger[i] = slot;
    }
    table_.swap(bigger);
  }
  const std::size_t mask = table_.size() - 1;
  std::size_t i = entries_[index].hash & mask;
  while (table_[i] != 0) i = (i + 1) & mask;
  table_[i] = static_cast<std::uint32_t>(index + 1);
}

const TStyleAttributeCache::TEntry* TStyleAttributeCache::Get(std::u16string_view text, std::uint64_t hash) {
  const std::string_view bytes = BytesOf(text);
  if (const TEntry* known = Find(bytes, hash)) return known;
  if (Full()) return nullptr;
  if (!scratch_) scratch_ = std::make_unique<TProperties>();
  TEntry made;
  made.hash = hash;
  made.slotMask = Parse(text, pool_, *scratch_, parsed_, made.valuedMask);
  made.bytes = bytes.empty() ? std::string_view() : pool_.Store(bytes);
  made.firstValue = static_cast<std::uint32_t>(values_.size());
  values_.insert(values_.end(), parsed_.begin(), parsed_.end());
  entries_.push_back(made);
  Link(entries_.size() - 1);
  return &entries_.back();
}

}  // namespace talmeko::htmlview
