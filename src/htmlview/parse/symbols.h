#pragma once
// The tokenizer's symbols and the tables that map element and attribute
// names to them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace talmeko::htmlview {

enum class Sy : std::uint8_t {
  TextSy,
  CommandSy,  // a tag whose name the element table does not hold
  EofSy,
  HtmlSy, HtmlEndSy,
  HeadSy, HeadEndSy,
  StyleSy, StyleEndSy,
  ScriptSy, ScriptEndSy,
  BodySy, BodyEndSy,
  TableSy, TableEndSy,
  TRSy, TREndSy,
  TDSy, TDEndSy,
  THSy, THEndSy,
  CaptionSy, CaptionEndSy,
  ColSy,
  ColGroupSy, ColGroupEndSy,
  THeadSy, THeadEndSy,
  TBodySy, TBodyEndSy,
  TFootSy, TFootEndSy,
  TitleElemSy, TitleElemEndSy,
  Count
};

// A set of symbols, for the places where building stops.
class TSymbolSet {
 public:
  constexpr TSymbolSet() = default;
  constexpr TSymbolSet(std::initializer_list<Sy> symbols) {
    for (Sy s : symbols) bits_ |= Bit(s);
  }
  constexpr bool Contains(Sy s) const { return (bits_ & Bit(s)) != 0; }

 private:
  static constexpr std::uint64_t Bit(Sy s) { return std::uint64_t{1} << static_cast<unsigned>(s); }
  std::uint64_t bits_ = 0;
};
static_assert(static_cast<unsigned>(Sy::Count) <= 64);

enum class TAttrSymbol : std::uint8_t {
  OtherAttribute,  // a name the attribute table does not hold
  StyleSy, ClassSy, IDSy, TitleSy, AltSy, AlignSy, VAlignSy, WidthSy, HeightSy,
  BorderSy, CellPaddingSy, CellSpacingSy, BgColorSy, BackgroundSy,
  ColSpanSy, RowSpanSy, NoWrapSy, TextSy, LinkSy, VLinkSy, ALinkSy,
  MarginWidthSy, MarginHeightSy, LeftMarginSy, TopMarginSy,
  HSpaceSy, VSpaceSy, BorderColorSy, BorderColorLightSy, BorderColorDarkSy,
  SrcSy, HrefSy, NameSy, SpanSy,
};

// The element table: an upper-case name gives its start symbol and its end
// symbol; CommandSy for names it does not hold and for elements without an
// end symbol.
struct TElementSymbols {
  Sy start = Sy::CommandSy;
  Sy end = Sy::CommandSy;
};
TElementSymbols LookupElement(std::string_view upperName);
// The same for a name as written: ASCII letters match in either case, so
// LookupElementNoCase(name) is LookupElement(name in upper case).
TElementSymbols LookupElementNoCase(std::u16string_view name);

namespace symbols_detail {
// The element table hashed by folded name word (see LookupElementFolded),
// for the lookup of every tag name to be inlined.
struct TFoldedElement {
  std::uint64_t word = 0;
  std::uint64_t length = 0;  // kEmptyFoldedLength for an empty slot
  TElementSymbols symbols;
};
// No name has this length, so an empty slot matches no word, not even the
// word of no characters.
inline constexpr std::uint64_t kEmptyFoldedLength = ~std::uint64_t{0};
inline constexpr unsigned kFoldedElementBits = 6;
extern const std::uint64_t kFoldedElementMultiplier;
extern const std::array<TFoldedElement, std::size_t{1} << kFoldedElementBits> kFoldedElements;
}  // namespace symbols_detail

// The same for a name of 1..kMaxElementNameLength ASCII characters given as
// a word: character k in byte k, letters folded to upper case (bit 5
// cleared), the bytes after the name 0. What the tokenizer builds while it
// reads a tag name.
inline TElementSymbols LookupElementFolded(std::uint64_t folded, std::size_t length) {
  using namespace symbols_detail;
  const TFoldedElement& e =
      kFoldedElements[static_cast<std::size_t>(((folded ^ length) * kFoldedElementMultiplier) >> (64 - kFoldedElementBits))];
  return e.word == folded && e.length == length ? e.symbols : TElementSymbols{};
}
// The same, true only for a name the table holds. Its names are upper-case
// letters alone, so a word of any eight characters narrowed to bytes and
// folded matches only the same name written in letters of either case.
inline bool FindElementFolded(std::uint64_t folded, std::size_t length, TElementSymbols& symbols) {
  using namespace symbols_detail;
  const TFoldedElement& e =
      kFoldedElements[static_cast<std::size_t>(((folded ^ length) * kFoldedElementMultiplier) >> (64 - kFoldedElementBits))];
  if (e.word != folded || e.length != length) return false;
  symbols = e.symbols;
  return true;
}
namespace symbols_detail {
// The attribute table hashed by folded name words, likewise.
struct TFoldedAttribute {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::uint64_t length = 0;  // kEmptyFoldedLength for an empty slot
  TAttrSymbol symbol{};
};
inline constexpr unsigned kFoldedAttributeBits = 7;
extern const std::uint64_t kFoldedAttributeMultiplier;
extern const std::array<TFoldedAttribute, std::size_t{1} << kFoldedAttributeBits> kFoldedAttributes;
}  // namespace symbols_detail

// Likewise for attribute names of 1..kMaxAttributeNameLength characters:
// characters 0..7 in low, 8..15 in high.
inline TAttrSymbol LookupAttributeFolded(std::uint64_t low, std::uint64_t high, std::size_t length) {
  using namespace symbols_detail;
  const std::uint64_t key = (low ^ (high * 0x100000001B3ull) ^ length) * kFoldedAttributeMultiplier;
  const TFoldedAttribute& e = kFoldedAttributes[static_cast<std::size_t>(key >> (64 - kFoldedAttributeBits))];
  return e.low == low && e.high == high && e.length == length ? e.symbol : TAttrSymbol{};
}
// No name in the element table is longer: longer names need no lookup.
inline constexpr std::size_t kMaxElementNameLength = 8;

TAttrSymbol LookupAttribute(std::string_view upperName);
// Likewise for an attribute name as written.
TAttrSymbol LookupAttributeNoCase(std::u16string_view name);
// No name in the attribute table is longer.
inline constexpr std::size_t kMaxAttributeNameLength = 16;
// The upper-case name of a symbol of the table, empty for OtherAttribute.
std::string_view AttributeName(TAttrSymbol which);

}  // namespace talmeko::htmlview
