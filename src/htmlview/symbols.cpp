#include "htmlview/symbols.h"

#include <array>

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

constexpr bool NamesFit() {
  for (const auto& e : kElements) {
    if (e.name.size() > kMaxElementNameLength) return false;
  }
  return true;
}
static_assert(NamesFit());

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

}  // namespace

// Every tag and attribute name goes through these, so the tables are
// searched only among the names of the same length and first letter.
TElementSymbols LookupElement(std::string_view upperName) {
  if (upperName.empty()) return {};
  const std::size_t n = upperName.size();
  const char first = upperName[0];
  for (const auto& e : kElements) {
    if (e.name.size() == n && e.name[0] == first && e.name == upperName) return {e.start, e.end};
  }
  return {};
}

TAttrSymbol LookupAttribute(std::string_view upperName) {
  if (upperName.empty()) return TAttrSymbol::OtherAttribute;
  const std::size_t n = upperName.size();
  const char first = upperName[0];
  for (const auto& a : kAttributes) {
    if (a.name.size() == n && a.name[0] == first && a.name == upperName) return a.symbol;
  }
  return TAttrSymbol::OtherAttribute;
}

}  // namespace talmeko::htmlview
