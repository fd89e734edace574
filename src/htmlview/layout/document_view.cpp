#include "htmlview/layout/document_view.h"

#include "htmlview/layout/selection_text.h"

#include <algorithm>
#include <limits>

namespace talmeko::htmlview {
namespace {

bool IsWordChar(char16_t c) { return c != u' ' && c != u'\n' && c != u'\t' && c != u'\r' && c != 0xA0; }

}  // namespace

THtmlDocumentView::THtmlDocumentView(const ThtDocument& document, const platform::ScreenInfo& screen)
    : document_(document), screen_(screen) {
  int textBase = 0;
  if (const TBodyBlock* body = document_.Body()) content_.Build(body->Content, textBase, store_, 0);
  textLength_ = textBase;
}

bool THtmlDocumentView::HasContent() const { return !document_.IsEmpty(); }

int THtmlDocumentView::Side(int side) const {
  const TBodyBlock* body = document_.Body();
  if (body == nullptr) return 0;
  const auto s = static_cast<std::size_t>(side);
  return ClampExtent(static_cast<long long>(body->Box.margin[s]) + std::max(0, body->Box.borderWidth[s]) +
                     std::max(0, body->Box.padding[s]));
}

TLayoutResult THtmlDocumentView::LayOut(platform::Canvas& canvas, int width, int /*height*/) {
  // Fonts are measured again each time: the canvas may be another one.
  fonts_.Reset(canvas);
  content_.Measure(fonts_);
  const int left = Side(sLeft);
  const int right = Side(sRight);
  const int top = Side(sTop);
  const int bottom = Side(sBottom);
  const int contentWidth = ClampExtent(std::max(0LL, static_cast<long long>(width) - left - right));
  const int contentHeight = content_.Arrange(contentWidth);
  origin_ = {left, top};
  content_.SetOrigin(left, top);
  laidOut_ = true;
  TLayoutResult result;
  result.documentHeight = ClampExtent(static_cast<long long>(top) + contentHeight + bottom);
  result.scrollWidth = std::max(width, ClampExtent(static_cast<long long>(content_.Extent()) + left + right));
  return result;
}

void THtmlDocumentView::Paint(platform::Canvas& canvas, const TPaintContext& context) {
  if (!laidOut_) return;
  TPaintState state;
  state.canvas = &canvas;
  state.fonts = &fonts_;
  state.screen = context.screen;
  state.xOffset = context.xOffset;
  state.yTop = context.yTop;
  state.docTop = ClampExtent(static_cast<long long>(context.clip.top) + context.yTop);
  state.docBottom = ClampExtent(static_cast<long long>(context.clip.bottom) + context.yTop);
  state.clipLeft = context.clip.left;
  state.clipRight = context.clip.right;
  if (!context.selection.IsEmpty()) {
    state.selStart = context.selection.Start();
    state.selEnd = context.selection.End();
  }
  // Selected text swaps colours: the page background becomes the text and
  // the text colour its background, so it stays readable on any page.
  state.selectedText = context.background;
  state.page = context.page;
  state.cellBackgrounds = context.cellBackgrounds;
  state.greyLightText = !context.cellBackgrounds;
  content_.Paint(state);
}

std::u16string THtmlDocumentView::SelectedText(TSelection selection) const {
  if (!laidOut_) return {};
  return htmlview::SelectedText(content_, selection.Start(), selection.End());
}

int THtmlDocumentView::CharPosAt(platform::Point documentPoint) const {
  if (!laidOut_) return -1;
  const TSectionLayout* best = nullptr;
  long long bestVertical = std::numeric_limits<long long>::max();
  long long bestHorizontal = std::numeric_limits<long long>::max();
  for (const TSectionLayout* s : store_.sections) {
    long long vertical = 0;
    long long horizontal = 0;
    if (!s->Distance(documentPoint, vertical, horizontal)) continue;
    if (vertical < bestVertical || (vertical == bestVertical && horizontal < bestHorizontal)) {
      best = s;
      bestVertical = vertical;
      bestHorizontal = horizontal;
    }
  }
  return best ? best->CharPosAt(documentPoint) : -1;
}

const TSectionLayout* THtmlDocumentView::SectionAt(int position) const {
  if (position < 0 || position >= textLength_) return nullptr;
  // The last paragraph starting at or before the position; empty ones share
  // their start with the next, so the search skips back past them.
  auto it = std::upper_bound(store_.sections.begin(), store_.sections.end(), position,
                             [](int p, const TSectionLayout* s) { return p < s->TextBase(); });
  while (it != store_.sections.begin()) {
    --it;
    if (position < (*it)->TextBase() + (*it)->TextLength()) return *it;
    if ((*it)->TextLength() > 0) return nullptr;
  }
  return nullptr;
}

TSelection THtmlDocumentView::WordAt(int position) const {
  for (int at : {position, position - 1}) {
    const TSectionLayout* s = SectionAt(at);
    if (s == nullptr) continue;
    const std::u16string& text = s->Section().Text();
    auto i = static_cast<std::size_t>(at - s->TextBase());
    if (!IsWordChar(text[i])) continue;
    std::size_t start = i;
    while (start > 0 && IsWordChar(text[start - 1])) --start;
    std::size_t end = i + 1;
    while (end < text.size() && IsWordChar(text[end])) ++end;
    return {s->TextBase() + static_cast<int>(start), s->TextBase() + static_cast<int>(end)};
  }
  return {};
}

}  // namespace talmeko::htmlview
