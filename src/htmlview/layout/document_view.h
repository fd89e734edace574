#pragma once
// The laid-out view of a parsed document: the body's margins, its stacked
// paragraphs and tables, painting and selection. The document tree is only
// read; every layout result is kept here.
//
// Character positions: the document text is the text of every paragraph in
// document order, joined without separators. Paragraphs are taken as they
// are met going down the tree: a content list item by item, a table row by
// row and within a row cell by cell (a caption shown above its table comes
// before the table's cells, one shown below after them). Position 0 is before
// the first character of the first paragraph; the position after a
// paragraph's last character is also the position before the next one's
// first.

#include <vector>

#include "htmlview/layout/content_layout.h"
#include "htmlview/layout/layout_store.h"
#include "htmlview/layout/text_layout.h"
#include "htmlview/layout/view_document.h"
#include "htmlview/parse/document.h"
#include "platform/canvas.h"
#include "platform/font_catalogue.h"

namespace talmeko::htmlview {

class THtmlDocumentView : public TViewDocument {
 public:
  // The document must outlive the view and stay unchanged while it lives.
  THtmlDocumentView(const ThtDocument& document, const platform::ScreenInfo& screen);

  bool HasContent() const override;
  TLayoutResult LayOut(platform::Canvas& canvas, int width, int height) override;
  void Paint(platform::Canvas& canvas, const TPaintContext& context) override;
  int CharPosAt(platform::Point documentPoint) const override;
  TSelection WordAt(int position) const override;
  std::u16string SelectedText(TSelection selection) const override;

  // The body content's layout and where its box starts, for dumps and tests.
  const TContentLayout& Content() const { return content_; }
  platform::Point ContentOrigin() const { return origin_; }
  // The length of the document text.
  int TextLength() const { return textLength_; }
  // The paragraphs in document order.
  const std::vector<TSectionLayout*>& Sections() const { return store_.sections; }

 private:
  int Side(int side) const;
  const TSectionLayout* SectionAt(int position) const;

  const ThtDocument& document_;
  platform::ScreenInfo screen_;
  TContentLayout content_;
  TLayoutFonts fonts_;
  TLayoutStore store_;
  platform::Point origin_;
  int textLength_ = 0;
  bool laidOut_ = false;
};

}  // namespace talmeko::htmlview
