#include "htmlview/symbols.h"

#include <array>
#include <type_traits>

namespace talmeko::htmlview {
namespace {

struct ElementEntry {
  std::string_view name;
  Sy start;
  Sy end;
};

// Elements the result pages use, the table elements the builder must keep in
// order, and the raw-text elements whose content must not be read as markup.
constexpr std::array<ElementEntry, 16> kElements = {{
    {"HTML", Sy::HtmlSy, Sy::HtmlEndSy},
    {"HEAD", Sy::HeadSy, Sy::HeadEndSy},
    {"STYLE", Sy::StyleSy, Sy::StyleEndSy},
    {"SCRIPT", Sy::ScriptSy, Sy::ScriptEndSy},
    {"BODY", Sy::BodySy, Sy::BodyEndSy},
    {"TABLE", Sy::TableSy, Sy::TableEndSy},
    {"TR", Sy::TRSy, Sy::TREndSy},
    {"TD", Sy::TDSy, Sy::TDEndSy},
    {"TH", Sy::THSy, Sy::THEndSy},
    {"CAPTION", Sy::CaptionSy, Sy::CaptionEndSy},
    {"COL", Sy::ColSy, Sy::CommandSy},
    {"COLGROUP", Sy::ColGroupSy, Sy::ColGroupEndSy},
    {"THEAD", Sy::THeadSy, Sy::THeadEndSy},
    {"TBODY", Sy::TBodySy, Sy::TBodyEndSy},
    {"TFOOT", Sy::TFootSy, Sy::TFootEndSy},
    {"TITLE", Sy::TitleElemSy, Sy::TitleElemEndSy},
}};

struct AttributeEntry {
  std::string_view name;
  TAttrSymbol symbol;
};

constexpr std::array<AttributeEntry, 34> kAttributes = {{
    {"STYLE", TAttrSymbol::StyleSy},
    {"CLASS", TAttrSymbol::ClassSy},
    {"ID", TAttrSymbol::IDSy},
    {"TITLE", TAttrSymbol::TitleSy},
    {"ALT", TAttrSymbol::AltSy},
    {"ALIGN", TAttrSymbol::AlignSy},
    {"VALIGN", TAttrSymbol::VAlignSy},
    {"WIDTH", TAttrSymbol::WidthSy},
    {"HEIGHT", TAttrSymbol::HeightSy},
    {"BORDER", TAttrSymbol::BorderSy},
    {"CELLPADDING", TAttrSymbol::CellPaddingSy},
    {"CELLSPACING", TAttrSymbol::CellSpacingSy},
    {"BGCOLOR", TAttrSymbol::BgColorSy},
    {"BACKGROUND", TAttrSymbol::BackgroundSy},
    {"COLSPAN", TAttrSymbol::ColSpanSy},
    {"ROWSPAN", TAttrSymbol::RowSpanSy},
    {"NOWRAP", TAttrSymbol::NoWrapSy},
    {"TEXT", TAttrSymbol::TextSy},
    {"LINK", TAttrSymbol::LinkSy},
    {"VLINK", TAttrSymbol::VLinkSy},
    {"ALINK", TAttrSymbol::ALinkSy},
    {"MARGINWIDTH", TAttrSymbol::MarginWidthSy},
    {"MARGINHEIGHT", TAttrSymbol::MarginHeightSy},
    {"LEFTMARGIN", TAttrSymbol::LeftMarginSy},
    {"TOPMARGIN", TAttrSymbol::TopMarginSy},
    {"HSPACE", TAttrSymbol::HSpaceSy},
    {"VSPACE", TAttrSymbol::VSpaceSy},
    {"BORDERCOLOR", TAttrSymbol::BorderColorSy},
    {"BORDERCOLORLIGHT", TAttrSymbol::BorderColorLightSy},
    {"BORDERCOLORDARK", TAttrSymbol::BorderColorDarkSy},
    {"SRC", TAttrSymbol::SrcSy},
    {"HREF", TAttrSymbol::HrefSy},
    {"NAME", TAttrSymbol::NameSy},
    {"SPAN", TAttrSymbol::SpanSy},
}};

// Names are compared as words: up to eight characters packed into each, so
// a lookup is a switch on the length and one or two compares per candidate
// instead of a string search. The tables are indexed by length at compile
// time.
struct KeyedName {
  std::uint64_t low = 0;   // characters 0..7
  std::uint64_t high = 0;  // characters 8..15
  std::uint8_t index = 0;  // into the table the key was made from
};

constexpr void PackInto(std::uint64_t& low, std::uint64_t& high, std::size_t at, unsigned byte) {
  if (at < 8) low |= std::uint64_t{byte} << (8 * at);
  else high |= std::uint64_t{byte} << (8 * (at - 8));
}

template <std::size_t MaxLength, std::size_t N>
struct NameIndex {
  std::array<KeyedName, N> names{};
  // The names of length n are names[start[n]] .. names[start[n + 1] - 1].
  std::array<std::uint8_t, MaxLength + 2> start{};

  // The table index of the name, or -1. With fold set, ASCII letters of the
  // name match in either case: clearing bit 5 folds a letter to upper case
  // and maps no other character below 0x80 onto a letter, and the tables
  // hold letters only.
  template <bool Fold, class CharT>
  int Find(const CharT* s, std::size_t n) const {
    if (n == 0 || n > MaxLength) return -1;
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    for (std::size_t k = 0; k < n; ++k) {
      const auto c = static_cast<unsigned>(static_cast<std::make_unsigned_t<CharT>>(s[k]));
      if (c >= 0x80) return -1;  // no table name holds one
      PackInto(low, high, k, Fold ? c & 0xDFu : c);
    }
    for (std::size_t i = start[n]; i < start[n + 1]; ++i) {
      if (names[i].low == low && names[i].high == high) return names[i].index;
    }
    return -1;
  }
};

template <std::size_t MaxLength, class Entry, std::size_t N>
constexpr NameIndex<MaxLength, N> MakeIndex(const std::array<Entry, N>& table) {
  NameIndex<MaxLength, N> index{};
  std::size_t k = 0;
  for (std::size_t length = 0; length <= MaxLength; ++length) {
    index.start[length] = static_cast<std::uint8_t>(k);
    for (std::size_t i = 0; i < N; ++i) {
      const std::string_view name = table[i].name;
      if (name.size() != length) continue;
      KeyedName& keyed = index.names[k++];
      for (std::size_t c = 0; c < length; ++c) PackInto(keyed.low, keyed.high, c, static_cast<unsigned char>(name[c]));
      keyed.index = static_cast<std::uint8_t>(i);
    }
  }
  index.start[MaxLength + 1] = static_cast<std::uint8_t>(k);
  return index;
}

template <class Entry, std::size_t N>
constexpr bool AllUpperLetters(const std::array<Entry, N>& table, std::size_t maxLength) {
  for (const auto& e : table) {
    if (e.name.empty() || e.name.size() > maxLength) return false;
    for (char c : e.name) {
      if (c < 'A' || c > 'Z') return false;
    }
  }
  return true;
}
static_assert(AllUpperLetters(kElements, kMaxElementNameLength));
static_assert(AllUpperLetters(kAttributes, kMaxAttributeNameLength));

constexpr auto kElementIndex = MakeIndex<kMaxElementNameLength>(kElements);
constexpr auto kAttributeIndex = MakeIndex<kMaxAttributeNameLength>(kAttributes);

constexpr std::size_t kAttrSymbolCount = static_cast<std::size_t>(TAttrSymbol::SpanSy) + 1;
constexpr std::array<std::string_view, kAttrSymbolCount> MakeAttributeNames() {
  std::array<std::string_view, kAttrSymbolCount> names{};
  for (const auto& a : kAttributes) names[static_cast<std::size_t>(a.symbol)] = a.name;
  return names;
}
constexpr auto kAttributeNames = MakeAttributeNames();
static_assert(kAttributes.size() + 1 == kAttrSymbolCount, "every attribute symbol has one name");

TElementSymbols ElementAt(int i) {
  if (i < 0) return {};
  const ElementEntry& e = kElements[static_cast<std::size_t>(i)];
  return {e.start, e.end};
}

TAttrSymbol AttributeAt(int i) {
  return i < 0 ? TAttrSymbol::OtherAttribute : kAttributes[static_cast<std::size_t>(i)].symbol;
}

}  // namespace

TElementSymbols LookupElement(std::string_view upperName) {
  return ElementAt(kElementIndex.Find<false>(upperName.data(), upperName.size()));
}

TElementSymbols LookupElementNoCase(std::u16string_view name) {
  return ElementAt(kElementIndex.Find<true>(name.data(), name.size()));
}

TAttrSymbol LookupAttribute(std::string_view upperName) {
  return AttributeAt(kAttributeIndex.Find<false>(upperName.data(), upperName.size()));
}

TAttrSymbol LookupAttributeNoCase(std::u16string_view name) {
  return AttributeAt(kAttributeIndex.Find<true>(name.data(), name.size()));
}

std::string_view AttributeName(TAttrSymbol which) {
  const auto i = static_cast<std::size_t>(which);
  return i < kAttributeNames.size() ? kAttributeNames[i] : std::string_view();
}

}  // namespace talmeko::htmlview
