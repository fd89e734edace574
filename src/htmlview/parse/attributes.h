#pragma once
// The attributes of the last tag read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "htmlview/base/text_pool.h"
#include "htmlview/parse/symbols.h"
#include "htmlview/style/properties.h"

namespace talmeko::htmlview {

struct TAttribute {
  TAttrSymbol Which = TAttrSymbol::OtherAttribute;
  std::string Name;      // upper case, as written otherwise
  std::u16string Value;  // entities decoded
  int Numeric = 0;
  bool HasValue = false;
};

// Reused from tag to tag: entries keep their storage, so reading attributes
// does not allocate once the list has grown to the page's largest tag.
class TAttributeList {
 public:
  void Reset() {
    count_ = 0;
    present_ = 0;
    indexed_ = true;
  }
  // The caller fills in the entry; the list indexes it when Find is next
  // called, so every field must be set before that.
  TAttribute& Add();
  // The same with the symbol set and indexed at once; the entry's symbol
  // must not change afterwards.
  TAttribute& Add(TAttrSymbol which);
  // The same for a symbol of the attribute table, with the entry's name set
  // to the symbol's name. The tokenizer adds the same attributes tag after
  // tag, so an entry that held this symbol's name the last time keeps it
  // instead of having it written again. The caller sets the value, the
  // number and HasValue, and changes neither Which nor Name.
  TAttribute& AddKnown(TAttrSymbol which) {
    // An entry whose bit is set exists: entries are never dropped.
    const std::size_t i = count_;
    const auto w = static_cast<std::size_t>(which);
    if (i < 64 && ((named_ >> i) & 1) != 0 && items_[i].Which == which && indexed_ && w < kSymbolCount) {
      ++count_;
      TAttribute& a = items_[i];
      ClearValue(a);
      IndexEntry(i, w);
      return a;
    }
    return AddKnownSlow(which);
  }
  std::size_t Count() const { return count_; }
  const TAttribute& operator[](std::size_t i) const { return items_[i]; }

  const TAttribute* Find(TAttrSymbol which) const {
    const auto w = static_cast<std::size_t>(which);
    if (indexed_ && w < kSymbolCount) {
      return ((present_ >> w) & 1) != 0 ? &items_[first_[w]] : nullptr;
    }
    return FindSlow(which);
  }
  std::u16string_view ValueOf(TAttrSymbol which) const;
  // The id lower-cased; the class lower-cased with inner spaces turned into
  // "."; the title as UTF-8.
  std::string TheID() const;
  std::string TheClass() const;
  std::string TheTitle() const;
  // Parses the style attribute into props; false when there is none.
  bool TheStyle(TTextPool& pool, TProperties& props) const;

 private:
  TAttribute& AddKnownSlow(TAttrSymbol which);
  static void ClearValue(TAttribute& a) {
    a.Value.clear();
    a.Numeric = 0;
    a.HasValue = false;
  }
  // Notes that entry i holds symbol w, unless an earlier entry does.
  void IndexEntry(std::size_t i, std::size_t w) const {
    const std::uint64_t bit = std::uint64_t{1} << w;
    if ((present_ & bit) == 0) {
      present_ |= bit;
      first_[w] = static_cast<std::uint8_t>(i);
    }
  }
  void Index() const;
  const TAttribute* FindSlow(TAttrSymbol which) const;

  std::vector<TAttribute> items_;
  std::size_t count_ = 0;
  // The tree builder asks for several attributes per tag, most of them
  // absent: once indexed, a bit per symbol says which are there and first_
  // where the first of each is, so Find reads no entry. first_ holds only
  // for symbols whose bit is set.
  static constexpr std::size_t kSymbolCount = static_cast<std::size_t>(TAttrSymbol::SpanSy) + 1;
  mutable std::uint64_t present_ = 0;
  mutable std::array<std::uint8_t, kSymbolCount> first_{};
  mutable bool indexed_ = true;
  // A bit per entry, for the first 64: set while the entry's name is the
  // table name of its symbol as AddKnown wrote it.
  std::uint64_t named_ = 0;
};

// The numeric value of an attribute text: a trailing "%" or "*" removed, a
// leading decimal number rounded, 0 when there is none.
int AttributeNumber(std::u16string_view value);
// The same, answered at once for the values most attributes have, which
// start with a character no number can follow: a letter or "#".
inline int QuickAttributeNumber(std::u16string_view value) {
  if (value.empty()) return 0;
  const char16_t first = value.front();
  if (first != u' ' && first != u'+' && first != u'-' && first != u'.' && !(first >= u'0' && first <= u'9')) return 0;
  return AttributeNumber(value);
}

}  // namespace talmeko::htmlview
