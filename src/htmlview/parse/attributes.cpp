#include "htmlview/parse/attributes.h"

#include <cmath>
#include <cstdlib>

#include "htmlview/base/text_util.h"
#include "htmlview/style/lengths.h"
#include "htmlview/style/style_sheet_parser.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {

TAttribute& TAttributeList::Add() {
  if (count_ == items_.size()) items_.emplace_back();
  indexed_ = false;
  const std::size_t i = count_++;
  if (i < 64) named_ &= ~(std::uint64_t{1} << i);
  TAttribute& a = items_[i];
  a.Which = TAttrSymbol::OtherAttribute;
  a.Name.clear();
  ClearValue(a);
  return a;
}

TAttribute& TAttributeList::Add(TAttrSymbol which) {
  const bool wasIndexed = indexed_;
  TAttribute& a = Add();
  a.Which = which;
  const auto w = static_cast<std::size_t>(which);
  const std::size_t i = count_ - 1;
  if (wasIndexed && w < kSymbolCount && i <= 0xFF) {
    IndexEntry(i, w);
    indexed_ = true;
  }
  return a;
}

TAttribute& TAttributeList::AddKnownSlow(TAttrSymbol which) {
  const bool wasIndexed = indexed_;
  if (count_ == items_.size()) items_.emplace_back();
  const std::size_t i = count_++;
  TAttribute& a = items_[i];
  const std::uint64_t entryBit = i < 64 ? std::uint64_t{1} << i : 0;
  if (a.Which != which || (named_ & entryBit) == 0) {
    a.Which = which;
    a.Name.assign(AttributeName(which));
    named_ |= entryBit;
  }
  ClearValue(a);
  const auto w = static_cast<std::size_t>(which);
  if (wasIndexed && w < kSymbolCount && i <= 0xFF) {
    IndexEntry(i, w);
  } else {
    indexed_ = false;
  }
  return a;
}

void TAttributeList::Index() const {
  present_ = 0;
  // Entries past 255 are left to the plain scan: their symbols get no bit.
  bool all = true;
  for (std::size_t i = 0; i < count_; ++i) {
    const auto which = static_cast<std::size_t>(items_[i].Which);
    if (which >= kSymbolCount || i > 0xFF) {
      all = false;
      continue;
    }
    IndexEntry(i, which);
  }
  indexed_ = all;
}

static_assert(static_cast<std::size_t>(TAttrSymbol::SpanSy) < 64, "a bit per attribute symbol");

const TAttribute* TAttributeList::FindSlow(TAttrSymbol which) const {
  if (!indexed_) Index();
  const auto w = static_cast<std::size_t>(which);
  if (indexed_ && w < kSymbolCount) {
    if ((present_ & (std::uint64_t{1} << w)) == 0) return nullptr;
    return &items_[first_[w]];
  }
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

std::string TAttributeList::TheTitle() const { return platform::Utf16ToUtf8(ValueOf(TAttrSymbol::TitleSy)); }

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
