#include "htmlview/parse/symbols.h"

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

// The tokenizer takes a tag whose name folds onto an element's name for that
// element without testing its characters, which holds only while the names
// are letters alone: folding maps letters, and nothing else, onto letters.
constexpr bool AllNamesAreLetters() {
  for (const ElementEntry& e : kElements) {
    for (char c : e.name) {
      if (c < 'A' || c > 'Z') return false;
    }
  }
  return true;
}
static_assert(AllNamesAreLetters());

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

// Names are compared as words: up to eight characters packed into each,
// and found with a hash that no two table names share (the multiplier is
// searched for at compile time), so a lookup is a few arithmetic steps and
// one compare instead of a string search.
struct KeyedName {
  std::uint64_t low = 0;   // characters 0..7
  std::uint64_t high = 0;  // characters 8..15
  std::size_t length = 0;  // 0 for an empty slot
  std::uint8_t index = 0;  // into the table the key was made from
};

constexpr std::size_t Slot(std::uint64_t low, std::uint64_t high, std::size_t length, std::uint64_t multiplier,
                           unsigned bits) {
  return static_cast<std::size_t>(((low ^ (high * 0x100000001B3ull) ^ length) * multiplier) >> (64 - bits));
}

template <std::size_t MaxLength, unsigned Bits>
struct NameIndex {
  std::uint64_t multiplier = 0;
  std::array<KeyedName, std::size_t{1} << Bits> slots{};

  // The table index of the name, or -1. With Fold set, ASCII letters of the
  // name match in either case: clearing bit 5 folds a letter to upper case
  // and maps no other character below 0x80 onto a letter, and the tables
  // hold letters only.
  template <bool Fold, class CharT>
  int Find(const CharT* s, std::size_t n) const {
    if (n - 1 >= MaxLength) return -1;  // also n == 0
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    unsigned any = 0;
    const std::size_t lowCount = n < 8 ? n : 8;
    for (std::size_t k = 0; k < lowCount; ++k) {
      const auto c = static_cast<unsigned>(static_cast<std::make_unsigned_t<CharT>>(s[k]));
      any |= c;
      low |= std::uint64_t{Fold ? c & 0xDFu : c} << (8 * k);
    }
    for (std::size_t k = 8; k < n; ++k) {
      const auto c = static_cast<unsigned>(static_cast<std::make_unsigned_t<CharT>>(s[k]));
      any |= c;
      high |= std::uint64_t{Fold ? c & 0xDFu : c} << (8 * (k - 8));
    }
    if (any >= 0x80) return -1;  // no table name holds such a character
    return FindKey(low, high, n);
  }

  int FindKey(std::uint64_t low, std::uint64_t high, std::size_t n) const {
    const KeyedName& e = slots[Slot(low, high, n, multiplier, Bits)];
    return e.length == n && e.low == low && e.high == high ? e.index : -1;
  }
};

template <std::size_t MaxLength, unsigned Bits, class Entry, std::size_t N>
constexpr NameIndex<MaxLength, Bits> MakeIndex(const std::array<Entry, N>& table) {
  for (std::uint64_t attempt = 0;; ++attempt) {
    NameIndex<MaxLength, Bits> index{};
    index.multiplier = 0x9E3779B97F4A7C15ull * (2 * attempt + 1);
    bool clash = false;
    for (std::size_t i = 0; i < N && !clash; ++i) {
      const std::string_view name = table[i].name;
      KeyedName keyed;
      for (std::size_t c = 0; c < name.size(); ++c) {
        const std::uint64_t byte = static_cast<unsigned char>(name[c]);
        if (c < 8) keyed.low |= byte << (8 * c);
        else keyed.high |= byte << (8 * (c - 8));
      }
      keyed.length = name.size();
      keyed.index = static_cast<std::uint8_t>(i);
      KeyedName& slot = index.slots[Slot(keyed.low, keyed.high, keyed.length, index.multiplier, Bits)];
      if (slot.length != 0) clash = true;
      slot = keyed;
    }
    if (!clash) return index;
  }
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

constexpr auto kElementIndex = MakeIndex<kMaxElementNameLength, 6>(kElements);
constexpr auto kAttributeIndex = MakeIndex<kMaxAttributeNameLength, 7>(kAttributes);

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

constexpr std::array<symbols_detail::TFoldedElement, std::size_t{1} << symbols_detail::kFoldedElementBits>
MakeFoldedElements() {
  std::array<symbols_detail::TFoldedElement, std::size_t{1} << symbols_detail::kFoldedElementBits> slots{};
  for (std::size_t i = 0; i < kElementIndex.slots.size(); ++i) {
    const KeyedName& k = kElementIndex.slots[i];
    if (k.length == 0) {
      slots[i].length = symbols_detail::kEmptyFoldedLength;
      continue;
    }
    slots[i] = {k.low, k.length, {kElements[k.index].start, kElements[k.index].end}};
  }
  return slots;
}
static_assert(kElementIndex.slots.size() == std::size_t{1} << symbols_detail::kFoldedElementBits);

constexpr std::array<symbols_detail::TFoldedAttribute, std::size_t{1} << symbols_detail::kFoldedAttributeBits>
MakeFoldedAttributes() {
  std::array<symbols_detail::TFoldedAttribute, std::size_t{1} << symbols_detail::kFoldedAttributeBits> slots{};
  for (std::size_t i = 0; i < kAttributeIndex.slots.size(); ++i) {
    const KeyedName& k = kAttributeIndex.slots[i];
    if (k.length == 0) {
      slots[i].length = symbols_detail::kEmptyFoldedLength;
      continue;
    }
    slots[i] = {k.low, k.high, k.length, kAttributes[k.index].symbol};
  }
  return slots;
}
static_assert(kAttributeIndex.slots.size() == std::size_t{1} << symbols_detail::kFoldedAttributeBits);

}  // namespace

namespace symbols_detail {
const std::uint64_t kFoldedElementMultiplier = kElementIndex.multiplier;
const std::array<TFoldedElement, std::size_t{1} << kFoldedElementBits> kFoldedElements = MakeFoldedElements();
const std::uint64_t kFoldedAttributeMultiplier = kAttributeIndex.multiplier;
const std::array<TFoldedAttribute, std::size_t{1} << kFoldedAttributeBits> kFoldedAttributes = MakeFoldedAttributes();
}  // namespace symbols_detail

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
