// Tree building outside tables: the body, style and script elements, text
// paragraphs, and the property sets of the elements as they open.

#include <algorithm>
#include <exception>

#include "htmlview/base/text_util.h"
#include "htmlview/parse/html_parser.h"
#include "htmlview/style/box_values.h"
#include "htmlview/style/colors.h"
#include "htmlview/style/lengths.h"
#include "htmlview/style/style_sheet_parser.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {
namespace {

std::string LowerUtf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) AppendUtf8(out, ToLowerAscii(c));
  return std::string(TrimSpaces(out));
}

}  // namespace

// Both kinds of document start with the default set alone on the stack and
// an empty body block receiving the content.
void THtmlParser::StartBody() {
  doc_.PropStack.Reset(doc_.Styles);
  TBodyBlock& body = MakeBodyBlock();
  content_ = &body.Content;
  bodyIndex_ = doc_.Content.Count();
  doc_.Content.Keep(body);
}

void THtmlParser::ParseHtml() {
  StartBody();
  OpenSection();
  try {
    GetCh();
    Next();
    DoBody(TSymbolSet{});
  } catch (const std::exception&) {
    // A comment left open, an unterminated style comment or running out of
    // memory ends the page where it is; what was built is shown.
  }
  CloseSection();
  doc_.PropStack.Clear();
}

void THtmlParser::ParseText() {
  StartBody();
  doc_.PropStack.PushProp("pre", {}, {}, nullptr, {});
  doc_.PropStack.MutableTop().Set(FontFamily, TPropValue::MakeText(pool_.Store(defaults_.DefPreFontName)));
  const TFontInfo* font = doc_.PropStack.TopFont(fonts_);
  std::u16string line;
  for (;;) {
    const char16_t c = ReadRaw();
    if (c == 0 || c == u'\r') {
      OpenSection();
      section_->AddText(line, font);
      CloseSection();
      line.clear();
      if (c == 0) break;
    } else {
      line += c;
    }
  }
  doc_.PropStack.Clear();
}

void THtmlParser::DoBody(const TSymbolSet& stop) {
  while (!stop.Contains(sy_) && sy_ != Sy::EofSy) {
    switch (sy_) {
      case Sy::BodySy: DoBodyTag(); break;
      case Sy::StyleSy: DoStyle(); break;
      case Sy::ScriptSy: SkipRawContent(u"</SCRIPT"); break;
      case Sy::TitleElemSy: DoTitle(); break;
      case Sy::TableSy: DoTable(); break;
      case Sy::TextSy: DoText(); break;
      default: Next(); break;
    }
  }
}

void THtmlParser::DoText() {
  if (!section_) {
    if (token_ == u" ") {
      Next();
      return;
    }
    OpenSection();
  }
  section_->AddText(token_, doc_.PropStack.TopFont(fonts_));
  Next();
}

// A body tag counts only before anything was put into the body; later ones
// (and any inside a table) are ignored.
void THtmlParser::DoBodyTag() {
  const bool bodyEmpty = content_ && content_->Empty() && (!section_ || section_->Empty());
  if (!bodyEmpty || tableLevel_ > 0 || content_ != &BodyContent()) {
    Next();
    return;
  }
  DropSection();
  PushForTag("body");
  SetBodyMargins();
  THtmlPropStack& stack = doc_.PropStack;
  platform::Color color = 0;
  if (ColorFromString(platform::Utf16ToUtf8(attrs_.ValueOf(TAttrSymbol::TextSy)), false, color)) {
    stack.SetPropUnlessRule(Color, TPropValue::MakeInt(color));
  }
  if (ColorFromString(platform::Utf16ToUtf8(attrs_.ValueOf(TAttrSymbol::BgColorSy)), false, color)) {
    stack.SetPropUnlessRule(BackgroundColor, TPropValue::MakeInt(color));
  }
  if (const TAttribute* image = attrs_.Find(TAttrSymbol::BackgroundSy)) {
    stack.SetPropUnlessRule(BackgroundImage, TPropValue::MakeText(pool_.Store(platform::Utf16ToUtf8(image->Value))));
  }
  if (doc_.UseQuirksMode) doc_.Styles.FixupTableColor(stack.Top());
  TBodyBlock& body = MakeBodyBlock();
  if (ColorFromString(platform::Utf16ToUtf8(attrs_.ValueOf(TAttrSymbol::LinkSy)), false, color)) body.LinkColor = color;
  content_ = &body.Content;
  doc_.Content.ReplaceKept(bodyIndex_, body);
  OpenSection();
  Next();
}

TCellBasic& THtmlParser::BodyContent() {
  return static_cast<TBodyBlock&>(doc_.Content[bodyIndex_]).Content;
}

void THtmlParser::SetBodyMargins() {
  auto attrOr = [this](TAttrSymbol a, TAttrSymbol b, int fallback) {
    const TAttribute* found = attrs_.Find(a);
    if (!found) found = attrs_.Find(b);
    return found ? std::clamp(found->Numeric, 0, 200) : fallback;
  };
  const int width = attrOr(TAttrSymbol::MarginWidthSy, TAttrSymbol::LeftMarginSy, defaults_.MarginWidth);
  const int height = attrOr(TAttrSymbol::MarginHeightSy, TAttrSymbol::TopMarginSy, defaults_.MarginHeight);
  THtmlPropStack& stack = doc_.PropStack;
  stack.SetPropUnlessRule(MarginLeft, TPropValue::MakeInt(width));
  stack.SetPropUnlessRule(MarginRight, TPropValue::MakeInt(width));
  stack.SetPropUnlessRule(MarginTop, TPropValue::MakeInt(height));
  stack.SetPropUnlessRule(MarginBottom, TPropValue::MakeInt(height));
}

TBodyBlock& THtmlParser::MakeBodyBlock() {
  const TProperties& props = doc_.PropStack.Top();
  TBodyBlock& body = doc_.Nodes.Bodies.Emplace();
  body.Box = GetBoxValues(props, 0, ppi_);
  for (int side = 0; side < 4; ++side) {
    if (body.Box.marginAuto[side]) body.Box.margin[side] = 0;
  }
  body.BgColor = props.GetBackgroundColor();
  body.BackgroundImage = std::string(props.TextOf(BackgroundImage));
  return body;
}

// The style sheet is read straight from the buffer after the ">" of the start
// tag; it stops at the "<" of the end tag, which becomes the current
// character so that the end tag is read as usual.
void THtmlParser::DoStyle() {
  TStyleSheetParser sheet(buffer_, doc_.Styles);
  ch_ = sheet.Parse();
  lastBreak_ = LastBreak::None;
  Next();
}

// Script content is not markup: it is skipped up to its end tag.
void THtmlParser::SkipRawContent(std::u16string_view endTag) {
  const std::u16string_view text = buffer_.Text();
  std::size_t at = buffer_.Position();
  for (;; ++at) {
    at = text.find(u'<', at);
    if (at == std::u16string_view::npos) {
      buffer_.SetPosition(text.size());
      ch_ = 0;
      break;
    }
    bool match = at + endTag.size() <= text.size();
    for (std::size_t k = 0; match && k < endTag.size(); ++k) match = ToUpperAscii(text[at + k]) == endTag[k];
    if (match) {
      buffer_.SetPosition(at + 1);
      ch_ = u'<';
      break;
    }
  }
  lastBreak_ = LastBreak::None;
  Next();
}

void THtmlParser::DoTitle() {
  Next();
  std::u16string title;
  while (sy_ == Sy::TextSy) {
    title += token_;
    Next();
  }
  doc_.Title = title;
  if (sy_ == Sy::TitleElemEndSy) Next();
}

void THtmlParser::PushForTag(std::string_view tag) {
  const TAttribute* style = attrs_.Find(TAttrSymbol::StyleSy);
  if (attrs_.Count() == 0 || (attrs_.Count() == 1 && style)) {
    doc_.PropStack.PushElement(tag, {}, {}, {}, style ? &style->Value : nullptr);
    return;
  }
  doc_.PropStack.PushElement(tag, attrs_.TheClass(), attrs_.TheID(), attrs_.TheTitle(),
                             style ? &style->Value : nullptr);
}

TTextAlign THtmlParser::CurrentAlign() const {
  const std::string_view align = doc_.PropStack.Top().TextOf(TextAlign);
  if (align == "center") return TTextAlign::Center;
  if (align == "right") return TTextAlign::Right;
  if (align == "justify") return TTextAlign::Justify;
  return TTextAlign::Left;
}

void THtmlParser::OpenSection() {
  // Paragraphs mostly open in the set the previous one opened in: equal set
  // ids give equal alignment and indent.
  if (sectionSetId_ != doc_.PropStack.TopId()) {
    const TProperties& props = doc_.PropStack.Top();
    const TFontInfo* font = doc_.PropStack.TopFont(fonts_);
    const double em = font->sizePoints * ppi_ / 72.0;
    sectionIndent_ = 0;
    ValueToPixels(props[TextIndent], 0, TLengthContext{ppi_, em, em / 2}, sectionIndent_);
    sectionAlign_ = CurrentAlign();
    sectionSetId_ = doc_.PropStack.TopId();
  }
  DropSection();
  if (spareSection_) {
    *spareSection_ = TSection(sectionAlign_, sectionIndent_);
    section_ = spareSection_;
    spareSection_ = nullptr;
  } else {
    section_ = &doc_.Nodes.Sections.Emplace(sectionAlign_, sectionIndent_);
  }
}

// Empty paragraphs are dropped: whitespace between tags must not add lines.
void THtmlParser::CloseSection() {
  if (section_ && !section_->Empty() && content_) {
    content_->Keep(*section_);
    section_ = nullptr;
  }
  DropSection();
}

// An open paragraph that is not kept becomes the spare one.
void THtmlParser::DropSection() {
  if (!section_) return;
  spareSection_ = section_;
  section_ = nullptr;
}

std::string THtmlParser::AttributeLower(TAttrSymbol which) const { return LowerUtf8(attrs_.ValueOf(which)); }

}  // namespace talmeko::htmlview
