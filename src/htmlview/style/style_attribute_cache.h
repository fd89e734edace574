#pragma once
// Parsed style attributes by their text. What an attribute sets depends on
// its text alone, not on the element or the page, and a result page repeats
// the same few texts (a swatch's colour) on every load: the view keeps one
// cache for all the pages it shows, so each text is parsed once.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "htmlview/base/text_pool.h"
#include "htmlview/style/properties.h"

namespace talmeko::htmlview {

class TStyleAttributeCache {
 public:
  // What one attribute text sets: the slots, and their values in slot
  // order, each as set by a rule.
  struct TEntry {
    std::uint64_t hash = 0;
    std::string_view bytes;  // the text's UTF-16 code units, as bytes
    std::uint64_t slotMask = 0;
    std::uint64_t valuedMask = 0;  // those of the slots that hold a value
    std::uint32_t firstValue = 0;
  };

  // Past this many texts nothing more is kept: a page with endlessly varied
  // attributes has them parsed each time instead of growing the cache.
  static constexpr std::size_t kMaxEntries = 4096;

  TStyleAttributeCache() = default;
  TStyleAttributeCache(const TStyleAttributeCache&) = delete;
  TStyleAttributeCache& operator=(const TStyleAttributeCache&) = delete;

  static std::uint64_t Hash(std::u16string_view text);
  // The entry of the text, parsed now if it is new; null when the text is
  // new and the cache is full. Valid until the next call.
  const TEntry* Get(std::u16string_view text, std::uint64_t hash);
  const TPropValue* Values(const TEntry& entry) const { return values_.data() + entry.firstValue; }
  // Entries are numbered from 0 in the order they were made.
  std::size_t IndexOf(const TEntry& entry) const { return static_cast<std::size_t>(&entry - entries_.data()); }
  std::size_t Size() const { return entries_.size(); }
  bool Full() const { return entries_.size() >= kMaxEntries; }

  // Parses the text onto a new set: the slots it sets and their values in
  // slot order, the texts among them stored in the pool. The scratch set
  // must be new, and is left so. Used for texts the cache does not keep.
  // Returns the slots; valued tells which of them hold a value.
  static std::uint64_t Parse(std::u16string_view text, TTextPool& pool, TProperties& scratch,
                             std::vector<TPropValue>& values, std::uint64_t& valued);

 private:
  const TEntry* Find(std::string_view bytes, std::uint64_t hash) const;
  void Link(std::size_t index);

  std::vector<TEntry> entries_;
  std::vector<std::uint32_t> table_;  // open addressing: index + 1, 0 for free
  std::vector<TPropValue> values_;
  // The attribute texts and the texts their values hold.
  TTextPool pool_;
  std::unique_ptr<TProperties> scratch_;
  std::vector<TPropValue> parsed_;
};

}  // namespace talmeko::htmlview
