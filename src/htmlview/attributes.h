#pragma once
// The attributes of the last tag read.

#include <cstddef>
#include <string>
#include <vector>

#include "htmlview/properties.h"
#include "htmlview/symbols.h"
#include "htmlview/text_pool.h"

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
  void Reset() { count_ = 0; }
  TAttribute& Add();
  std::size_t Count() const { return count_; }
  const TAttribute& operator[](std::size_t i) const { return items_[i]; }

  const TAttribute* Find(TAttrSymbol which) const;
  std::u16string_view ValueOf(TAttrSymbol which) const;
  // The id lower-cased; the class lower-cased with inner spaces turned into
  // "."; the title as UTF-8.
  std::string TheID() const;
  std::string TheClass() const;
  std::string TheTitle() const;
  // Parses the style attribute into props; false when there is none.
  bool TheStyle(TTextPool& pool, TProperties& props) const;

 private:
  std::vector<TAttribute> items_;
  std::size_t count_ = 0;
};

// The numeric value of an attribute text: a trailing "%" or "*" removed, a
// leading decimal number rounded, 0 when there is none.
int AttributeNumber(std::u16string_view value);

}  // namespace talmeko::htmlview
