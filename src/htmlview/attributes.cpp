#include "htmlview/attributes.h"

#include <cmath>
#include <cstdlib>

#include "htmlview/lengths.h"
#include "htmlview/style_sheet_parser.h"
#include "htmlview/text_util.h"

namespace talmeko::htmlview {

TAttribute& TAttributeList::Add() {
  if (count_ == items_.size()) items_.emplace_back();
  TAttribute& a = items_[count_++];
  a.Which = TAttrSymbol::OtherAttribute;
  a.Name.clear();
  a.Value.clear();
  a.Numeric = 0;
  a.HasValue = false;
  return a;
}

const TAttribute* TAttributeList::Find(TAttrSymbol which) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (items_[i].Which == which) return &items_[i];
  }
  return nullptr;
}

std::u16string_view TAttributeList::ValueOf(TAttrSymbol which) const {
  const TAttribute* a = Find(which);
  return a ? std::u16string_view(a->Value) : std::u16string_view();
}

std::string TAttributeList::TheID() const {
  std::string out;
  for (char16_t c : ValueOf(TAttrSymbol::IDSy)) AppendUtf8(out, ToLowerAscii(c));
  return std::string(TrimSpaces(out));
}

std::string TAttributeList::TheClass() const {
  std::string raw;
  for (char16_t c : ValueOf(TAttrSymbol::ClassSy)) AppendUtf8(raw, ToLowerAscii(c));
  std::string out;
  for (char c : TrimSpaces(raw)) {
    if (c == ' ') {
      if (!out.empty() && out.back() != '.') out += '.';
    } else {
      out += c;
    }
  }
  return out;
}

std::string TAttributeList::TheTitle() const { return ToUtf8(ValueOf(TAttrSymbol::TitleSy)); }

bool TAttributeList::TheStyle(TTextPool& pool, TProperties& props) const {
  const TAttribute* a = Find(TAttrSymbol::StyleSy);
  if (!a) return false;
  ParseStyleAttribute(a->Value, pool, props);
  return true;
}

int AttributeNumber(std::u16string_view value) {
  while (!value.empty() && value.front() == u' ') value.remove_prefix(1);
  if (!value.empty() && (value.back() == u'%' || value.back() == u'*')) value.remove_suffix(1);
  if (value.empty()) return 0;
  const char16_t first = value.front();
  if (!(first == u'+' || first == u'-' || first == u'.' || IsDigit(first))) return 0;
  std::string ascii;
  for (char16_t c : value.substr(0, 32)) {
    if (c >= 128) break;
    ascii += static_cast<char>(c);
  }
  const double n = std::strtod(ascii.c_str(), nullptr);
  return RoundToPixels(n);
}

}  // namespace talmeko::htmlview
