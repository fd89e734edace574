#include "htmlview/layout/text_layout.h"

#include <algorithm>
#include <limits>

namespace talmeko::htmlview {
namespace {

const TFontInfo& DefaultFont() {
  static const TFontInfo font;
  return font;
}

bool BreaksAfter(char16_t c) { return c == u'-' || c == u'/' || c == u'?'; }

long long Abs(long long v) { return v < 0 ? -v : v; }

}  // namespace

void TLayoutFonts::Reset(platform::Canvas& canvas) {
  canvas_ = &canvas;
  widthsAdd_ = canvas.WidthsAdd();
  index_.clear();
  entries_.clear();
  lastFont_ = nullptr;
  lastIndex_ = -1;
  selected_ = -1;
}

int TLayoutFonts::IndexOf(const TFontInfo* font) {
  if (font == nullptr) font = &DefaultFont();
  if (font == lastFont_) return lastIndex_;
  auto [it, added] = index_.try_emplace(font, static_cast<int>(entries_.size()));
  lastFont_ = font;
  lastIndex_ = it->second;
  if (!added) return it->second;
  Entry entry;
  entry.info = font;
  canvas_->SelectFont(font->desc);
  entry.metrics = canvas_->GetFontMetrics();
  entry.lineHeight = entry.metrics.height + entry.metrics.externalLeading;
  entry.smallGlyphs.assign(kSmallGlyphs, -1);
  entries_.push_back(std::move(entry));
  selected_ = it->second;
  return it->second;
}

void TLayoutFonts::Select(int index) {
  if (index == selected_) return;
  canvas_->SelectFont(entries_[static_cast<std::size_t>(index)].info->desc);
  selected_ = index;
}

int TLayoutFonts::MeasureGlyph(int index, char16_t ch) {
  Entry& e = entries_[static_cast<std::size_t>(index)];
  if (ch >= kSmallGlyphs) {
    if (auto it = e.otherGlyphs.find(ch); it != e.otherGlyphs.end()) return it->second;
  }
  Select(index);
  const int measured = canvas_->TextWidth(std::u16string_view(&ch, 1));
  if (measured < 0) e.clamped = true;
  const int width = std::max(0, measured);
  if (ch < kSmallGlyphs) e.smallGlyphs[ch] = width;
  else e.otherGlyphs.emplace(ch, width);
  return width;
}

int TLayoutFonts::KnownGlyph(int index, char16_t ch) const {
  const Entry& e = entries_[static_cast<std::size_t>(index)];
  if (ch < kSmallGlyphs) return std::max(0, e.smallGlyphs[ch]);
  auto it = e.otherGlyphs.find(ch);
  return it != e.otherGlyphs.end() ? it->second : 0;
}

platform::Color TPaintState::TextColor(platform::Color color) const {
  if (greyLightText && platform::RedOf(color) >= 0xE0 && platform::GreenOf(color) >= 0xE0) {
    return platform::Rgb(0xA0, 0xA0, 0xA0);
  }
  return color;
}

void TPaintState::SelectFont(const platform::FontDesc& desc) {
  if (selectedFont != nullptr && (selectedFont == &desc || *selectedFont == desc)) return;
  canvas->SelectFont(desc);
  selectedFont = &desc;
}

void TSectionLayout::Measure(TLayoutFonts& fonts) {
  fonts_ = &fonts;
  pieces_.clear();
  words_.clear();
  lines_.clear();
  wordStartPiece_ = 0;
  wordStart_ = 0;
  wordWidth_ = 0;
  wordSpace_ = 0;
  breakPending_ = false;
  defaultFont_ = -1;
  for (const TFontRun& run : section_->Runs()) {
    const int font = fonts.IndexOf(run.font);
    if (defaultFont_ < 0) defaultFont_ = font;
    MeasureRun(run, font, fonts);
  }
  if (pieces_.size() > wordStartPiece_) CloseWord(false, section_->Text().size());
  if (defaultFont_ < 0 && !section_->Text().empty()) defaultFont_ = fonts.IndexOf(nullptr);

  const int indent = std::max(0, section_->TextIndent());
  long long line = indent;
  long long widest = 0;
  long long narrowest = 0;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    const Word& w = words_[i];
    narrowest = std::max<long long>(narrowest, w.width + (i == 0 ? indent : 0));
    line += w.width;
    widest = std::max(widest, line);
    line += w.spaceWidth;
    if (w.forcedBreak) line = 0;
  }
  minWidth_ = ClampExtent(narrowest);
  maxWidth_ = ClampExtent(widest);
}

void TSectionLayout::MeasureRun(const TFontRun& run, int font, TLayoutFonts& fonts) {
  const std::u16string& text = section_->Text();
  const std::size_t start = std::min(run.start, text.size());
  const std::size_t end = std::min(start + std::min(run.length, text.size()), text.size());
  std::size_t pieceStart = start;
  for (std::size_t i = start; i < end; ++i) {
    const char16_t c = text[i];
    if (c == u'\n') {
      AddPiece(pieceStart, i, font, fonts);
      CloseWord(true, i + 1);
      pieceStart = i + 1;
      continue;
    }
    if (c != u' ' && breakPending_) {
      AddPiece(pieceStart, i, font, fonts);
      CloseWord(false, i);
      pieceStart = i;
    }
    if (c == u' ') {
      wordSpace_ += fonts.Glyph(font, c);
      breakPending_ = true;
    } else if (BreaksAfter(c)) {
      breakPending_ = true;
    }
  }
  AddPiece(pieceStart, end, font, fonts);
}

void TSectionLayout::AddPiece(std::size_t start, std::size_t end, int font, TLayoutFonts& fonts) {
  if (end <= start) return;
  const std::u16string_view text = std::u16string_view(section_->Text()).substr(start, end - start);
  // Every character's advance is kept so that positions inside a piece are
  // known later without a canvas; the piece itself is measured as a whole.
  long long sum = 0;
  bool pairs = false;
  for (char16_t c : text) {
    sum += fonts.Glyph(font, c);
    pairs = pairs || (c >= 0xD800 && c <= 0xDFFF);
  }
  int width = 0;
  if (!pairs && fonts.WidthsAdd(font)) {
    width = ClampExtent(sum);
  } else {
    fonts.Select(font);
    width = ClampExtent(std::max(0, fonts.Canvas().TextWidth(text)));
  }
  pieces_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start), font, width});
  wordWidth_ = ClampExtent(static_cast<long long>(wordWidth_) + width);
}

void TSectionLayout::CloseWord(bool forced, std::size_t nextStart) {
  if (pieces_.size() > wordStartPiece_ || forced) {
    Word w;
    w.start = static_cast<std::uint32_t>(wordStart_);
    w.firstPiece = static_cast<std::uint32_t>(wordStartPiece_);
    w.endPiece = static_cast<std::uint32_t>(pieces_.size());
    w.spaceWidth = std::min(wordSpace_, wordWidth_);
    w.width = wordWidth_ - w.spaceWidth;
    w.forcedBreak = forced;
    words_.push_back(w);
  }
  wordStartPiece_ = pieces_.size();
  wordStart_ = nextStart;
  wordWidth_ = 0;
  wordSpace_ = 0;
  breakPending_ = false;
}

int TSectionLayout::Arrange(int width) {
  lines_.clear();
  height_ = 0;
  if (words_.empty()) return 0;
  const int indent = std::max(0, section_->TextIndent());
  Line line;
  long long lineWidth = 0;
  long long pendingSpace = 0;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    const Word& w = words_[i];
    const long long start = lines_.empty() ? indent : 0;
    if (line.endWord > line.firstWord && start + lineWidth + pendingSpace + w.width > width) {
      line.width = ClampExtent(lineWidth);
      FinishLine(line, width, lines_.empty());
      line = Line{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)};
      lineWidth = 0;
      pendingSpace = 0;
    }
    lineWidth += pendingSpace + w.width;
    line.endWord = static_cast<std::uint32_t>(i + 1);
    pendingSpace = w.spaceWidth;
    if (w.forcedBreak) {
      line.width = ClampExtent(lineWidth);
      FinishLine(line, width, lines_.empty());
      line = Line{static_cast<std::uint32_t>(i + 1), static_cast<std::uint32_t>(i + 1)};
      lineWidth = 0;
      pendingSpace = 0;
    }
  }
  if (line.endWord > line.firstWord) {
    line.width = ClampExtent(lineWidth);
    FinishLine(line, width, lines_.empty());
  }
  return height_;
}

void TSectionLayout::FinishLine(Line& line, int boxWidth, bool first) {
  for (std::uint32_t wi = line.firstWord; wi < line.endWord; ++wi) {
    const Word& w = words_[wi];
    for (std::uint32_t pi = w.firstPiece; pi < w.endPiece; ++pi) {
      const TLayoutFonts::Entry& f = (*fonts_)[pieces_[pi].font];
      line.height = std::max(line.height, f.lineHeight);
      line.ascent = std::max(line.ascent, f.metrics.ascent);
    }
  }
  if (line.height == 0 && defaultFont_ >= 0) {
    line.height = (*fonts_)[defaultFont_].lineHeight;
    line.ascent = (*fonts_)[defaultFont_].metrics.ascent;
  }
  const int indent = first ? std::max(0, section_->TextIndent()) : 0;
  const int room = boxWidth - indent - line.width;
  int offset = 0;
  if (room > 0 && section_->Align() == TTextAlign::Center) offset = room / 2;
  if (room > 0 && section_->Align() == TTextAlign::Right) offset = room;
  line.x = indent + offset;
  line.y = height_;
  height_ = ClampExtent(static_cast<long long>(height_) + line.height);
  lines_.push_back(line);
}

int TSectionLayout::Extent() const {
  int extent = 0;
  for (const Line& l : lines_) extent = std::max(extent, ClampExtent(static_cast<long long>(l.x) + l.width));
  return extent;
}

std::u16string TSectionLayout::LineText(const Line& line) const {
  std::u16string out;
  for (std::uint32_t wi = line.firstWord; wi < line.endWord; ++wi) {
    for (std::uint32_t pi = words_[wi].firstPiece; pi < words_[wi].endPiece; ++pi) {
      out.append(section_->Text(), pieces_[pi].start, pieces_[pi].length);
    }
  }
  while (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

void TSectionLayout::Paint(TPaintState& state) const {
  const long long top = y_;
  if (top >= state.docBottom || top + height_ <= state.docTop) return;
  for (const Line& line : lines_) {
    const long long lineTop = top + line.y;
    if (lineTop >= state.docBottom) break;
    if (lineTop + line.height <= state.docTop) continue;
    if (state.page) {
      // A line as tall as the page cannot move whole; below a row that has
      // moved the page ends there anyway.
      const bool mayBeCut = line.height >= state.page->pageHeight || state.page->rowEnded;
      if (state.page->Defers(lineTop, lineTop + line.height, mayBeCut)) continue;
    }
    PaintLine(line, state);
  }
}

void TSectionLayout::PaintLine(const Line& line, TPaintState& state) const {
  // Neighbouring pieces in one font are drawn together: one call per font
  // change on a line rather than one per word.
  int x = x_ + line.x;
  const int y = y_ + line.y;
  Piece merged;
  bool open = false;
  for (std::uint32_t wi = line.firstWord; wi < line.endWord; ++wi) {
    for (std::uint32_t pi = words_[wi].firstPiece; pi < words_[wi].endPiece; ++pi) {
      const Piece& p = pieces_[pi];
      if (open && p.font == merged.font && p.start == merged.start + merged.length) {
        merged.length += p.length;
        merged.width = ClampExtent(static_cast<long long>(merged.width) + p.width);
        continue;
      }
      if (open) {
        PaintPiece(merged, x, y, line, state);
        x = ClampExtent(static_cast<long long>(x) + merged.width);
      }
      merged = p;
      open = true;
    }
  }
  if (open) PaintPiece(merged, x, y, line, state);
}

void TSectionLayout::PaintPiece(const Piece& piece, int x, int y, const Line& line, TPaintState& state) const {
  const TLayoutFonts::Entry& font = (*state.fonts)[piece.font];
  state.SelectFont(font.info->desc);
  const platform::Color color = state.TextColor(platform::ResolveColor(font.info->color, state.screen));
  const int drawX = x + state.xOffset;
  const int drawY = y + line.ascent - font.metrics.ascent - state.yTop;
  const std::u16string_view text = std::u16string_view(section_->Text()).substr(piece.start, piece.length);
  const long long first = static_cast<long long>(textBase_) + piece.start;
  const auto len = static_cast<long long>(piece.length);
  // Named copies rather than a structured binding: the lambda below uses
  // them, which not every compiler we build with allows for bindings.
  const auto shown = VisibleChars(piece, drawX, state);
  const std::size_t shownFrom = shown.first;
  const std::size_t shownTo = shown.second;
  const auto a = static_cast<std::size_t>(std::clamp<long long>(state.selStart - first, 0, len));
  const auto b = static_cast<std::size_t>(std::clamp<long long>(state.selEnd - first, 0, len));
  auto plain = [&](std::size_t from, std::size_t to) {
    from = std::max(from, shownFrom);
    to = std::min(to, shownTo);
    // Spaces left unselected draw nothing, so they are not sent at all.
    while (to > from && text[to - 1] == u' ') --to;
    if (to > from) state.canvas->DrawText(drawX + OffsetInPiece(piece, from), drawY, text.substr(from, to - from), color);
  };
  if (state.selStart < 0 || a >= b) {
    plain(0, text.size());
    return;
  }
  plain(0, a);
  const std::size_t selFrom = std::max(a, shownFrom);
  const std::size_t selTo = std::min(b, shownTo);
  if (selTo > selFrom) {
    state.canvas->DrawText(drawX + OffsetInPiece(piece, selFrom), drawY, text.substr(selFrom, selTo - selFrom),
                           state.selectedText, color);
  }
  plain(b, text.size());
}

// A run much wider than the clip, such as a word of megabytes, is drawn only
// from the character that reaches into the clip to the one that leaves it,
// one more on each side for glyphs that overhang their advance.
std::pair<std::size_t, std::size_t> TSectionLayout::VisibleChars(const Piece& piece, int drawX,
                                                                 const TPaintState& state) const {
  const long long left = drawX;
  if (left >= state.clipLeft && left + piece.width <= state.clipRight) return {0, piece.length};
  const std::u16string& text = section_->Text();
  long long total = 0;
  for (std::size_t i = 0; i < piece.length; ++i) total += fonts_->KnownGlyph(piece.font, text[piece.start + i]);
  if (total <= 0) return {0, piece.length};
  std::size_t from = piece.length;
  std::size_t to = piece.length;
  long long before = 0;
  for (std::size_t i = 0; i < piece.length; ++i) {
    const long long charLeft = left + piece.width * before / total;
    before += fonts_->KnownGlyph(piece.font, text[piece.start + i]);
    const long long charRight = left + piece.width * before / total;
    if (from == piece.length && charRight > state.clipLeft) from = i;
    if (charLeft >= state.clipRight) {
      to = i;
      break;
    }
  }
  if (from > to) return {0, 0};
  return {from == 0 ? 0 : from - 1, std::min<std::size_t>(piece.length, to + 1)};
}

int TSectionLayout::OffsetInPiece(const Piece& piece, std::size_t chars) const {
  if (chars == 0) return 0;
  if (chars >= piece.length) return piece.width;
  long long before = 0;
  long long total = 0;
  for (std::size_t i = 0; i < piece.length; ++i) {
    const int g = fonts_->KnownGlyph(piece.font, section_->Text()[piece.start + i]);
    if (i < chars) before += g;
    total += g;
  }
  // The piece was measured as a whole; single advances only share it out.
  return total > 0 ? static_cast<int>(piece.width * before / total) : 0;
}

bool TSectionLayout::Distance(platform::Point p, long long& vertical, long long& horizontal) const {
  if (lines_.empty()) return false;
  const long long top = y_;
  const long long bottom = top + height_;
  vertical = p.y < top ? top - p.y : (p.y >= bottom ? p.y - bottom + 1 : 0);
  long long left = std::numeric_limits<long long>::max();
  for (const Line& l : lines_) left = std::min<long long>(left, l.x);
  left += x_;
  const long long right = static_cast<long long>(x_) + Extent();
  horizontal = p.x < left ? left - p.x : (p.x > right ? p.x - right : 0);
  return true;
}

int TSectionLayout::CharPosAt(platform::Point p) const {
  if (lines_.empty()) return -1;
  std::size_t index = lines_.size() - 1;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (p.y < static_cast<long long>(y_) + lines_[i].y + lines_[i].height) {
      index = i;
      break;
    }
  }
  return textBase_ + NearestInLine(lines_[index], p.x - x_);
}

int TSectionLayout::NearestInLine(const Line& line, int x) const {
  const Word& firstWord = words_[line.firstWord];
  int best = static_cast<int>(firstWord.start);
  long long bestDistance = std::numeric_limits<long long>::max();
  long long pieceX = line.x;
  for (std::uint32_t wi = line.firstWord; wi < line.endWord; ++wi) {
    for (std::uint32_t pi = words_[wi].firstPiece; pi < words_[wi].endPiece; ++pi) {
      const Piece& piece = pieces_[pi];
      long long total = 0;
      for (std::size_t i = 0; i < piece.length; ++i) total += fonts_->KnownGlyph(piece.font, section_->Text()[piece.start + i]);
      long long before = 0;
      for (std::size_t i = 0; i <= piece.length; ++i) {
        const long long bx = pieceX + (i == piece.length ? piece.width : (total > 0 ? piece.width * before / total : 0));
        if (Abs(bx - x) < bestDistance) {
          bestDistance = Abs(bx - x);
          best = static_cast<int>(piece.start + i);
        }
        if (i < piece.length) before += fonts_->KnownGlyph(piece.font, section_->Text()[piece.start + i]);
      }
      pieceX += piece.width;
    }
  }
  return best;
}

}  // namespace talmeko::htmlview
