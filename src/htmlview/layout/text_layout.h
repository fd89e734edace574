#pragma once
// Layout of one text paragraph: its words measured once per layout, its
// narrowest and widest widths, its lines for a given width, drawing and
// character positions. The paragraph in the document tree is never changed.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "htmlview/base/small_vector.h"
#include "htmlview/parse/section.h"
#include "htmlview/style/fonts.h"
#include "platform/canvas.h"
#include "platform/font_catalogue.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

// Widths are clamped to this so that sums over hostile pages cannot overflow.
inline constexpr int kMaxLayoutExtent = 1 << 24;

inline int ClampExtent(long long value) {
  return static_cast<int>(value < -kMaxLayoutExtent ? -kMaxLayoutExtent : (value > kMaxLayoutExtent ? kMaxLayoutExtent : value));
}

// The fonts a layout has met, with their metrics and the advance of every
// character they were asked for, measured through the layout's canvas.
class TLayoutFonts {
 public:
  struct Entry {
    const TFontInfo* info = nullptr;
    platform::FontMetrics metrics;
    int lineHeight = 0;
    std::vector<int> smallGlyphs;  // characters below kSmallGlyphs; -1 not yet measured
    std::unordered_map<char16_t, int> otherGlyphs;
    // A character the canvas measured narrower than nothing was kept as 0,
    // so the font's widths no longer add up to what the canvas says.
    bool clamped = false;
  };

  // Forgets every measurement; a new layout may use another canvas.
  void Reset(platform::Canvas& canvas);
  // The index of a font, measured on first use.
  int IndexOf(const TFontInfo* font);
  const Entry& operator[](int index) const { return entries_[static_cast<std::size_t>(index)]; }
  // Selects the font on the layout's canvas unless it is selected already.
  void Select(int index);
  // The advance of a character, measured once per font and layout.
  int Glyph(int index, char16_t ch) {
    if (ch < kSmallGlyphs) {
      const int known = entries_[static_cast<std::size_t>(index)].smallGlyphs[ch];
      if (known >= 0) return known;
    }
    return MeasureGlyph(index, ch);
  }
  // The advance as measured before; 0 for a character never measured.
  int KnownGlyph(int index, char16_t ch) const;
  platform::Canvas& Canvas() { return *canvas_; }
  // Whether a text's width in the font may be taken as the sum of its
  // characters' advances: the canvas says so and no advance was clamped.
  bool WidthsAdd(int index) const { return widthsAdd_ && !entries_[static_cast<std::size_t>(index)].clamped; }

  static constexpr int kSmallGlyphs = 0x500;

 private:
  int MeasureGlyph(int index, char16_t ch);

  platform::Canvas* canvas_ = nullptr;
  std::unordered_map<const TFontInfo*, int> index_;
  // Paragraph after paragraph asks for the same font: the last answer is kept.
  const TFontInfo* lastFont_ = nullptr;
  int lastIndex_ = -1;
  std::vector<Entry> entries_;
  int selected_ = -1;
  bool widthsAdd_ = false;
};

// Where a printed page ends, in document coordinates. Painting a page lowers
// the bottom above a text line or a short table row that would be cut, so
// that they move whole to the next page; what still reaches below the bottom
// is painted over afterwards.
struct TPageBreak {
  int top = 0;         // the document position at the top of the page
  int bottom = 0;      // lowered while the page is painted
  int pageHeight = 0;
  bool rowEnded = false;  // a table row has moved to the next page
  // Rows up to this height move whole; taller ones are cut.
  static constexpr int kMaxUncutRow = 100;

  // Whether an item from top to bottom is left for the next page. An item
  // that starts at the page's top stays, cut, whatever its height: moving it
  // would give a page without progress.
  bool Defers(long long itemTop, long long itemBottom, bool mayBeCut) {
    if (itemBottom <= bottom || mayBeCut || itemTop <= top) return false;
    if (itemTop < bottom) bottom = static_cast<int>(itemTop);
    return true;
  }
};

// What painting needs besides the canvas, in document coordinates.
struct TPaintState {
  platform::Canvas* canvas = nullptr;
  const TLayoutFonts* fonts = nullptr;
  platform::ScreenInfo screen;
  int xOffset = 0;
  int yTop = 0;
  int docTop = 0;     // the clip's vertical range in document coordinates
  int docBottom = 0;
  int clipLeft = std::numeric_limits<int>::min();  // the clip's horizontal range on the canvas
  int clipRight = std::numeric_limits<int>::max();
  int selStart = -1;  // global character positions, [selStart, selEnd)
  int selEnd = -1;
  platform::Color selectedText = 0;
  const platform::FontDesc* selectedFont = nullptr;
  TPageBreak* page = nullptr;  // set while a printed page is painted
  bool cellBackgrounds = true;
  bool greyLightText = false;  // on paper without backgrounds, very light text would vanish

  platform::Color TextColor(platform::Color color) const;
  void SelectFont(const platform::FontDesc& desc);
};

class TSectionLayout {
 public:
  // textBase: the position of the paragraph's first character in the document text.
  TSectionLayout(const TSection& section, int textBase) : section_(&section), textBase_(textBase) {}

  void Measure(TLayoutFonts& fonts);
  int MinWidth() const { return minWidth_; }
  int MaxWidth() const { return maxWidth_; }
  // Breaks the paragraph into lines for a box of the width; returns its height.
  int Arrange(int width);
  void SetOrigin(int x, int y) { x_ = x; y_ = y; }

  int X() const { return x_; }
  int Y() const { return y_; }
  int Height() const { return height_; }
  // The rightmost pixel of any line, relative to the box's left edge.
  int Extent() const;
  int TextBase() const { return textBase_; }
  int TextLength() const { return static_cast<int>(section_->Text().size()); }
  const TSection& Section() const { return *section_; }

  void Paint(TPaintState& state) const;
  // The nearest line's distance to a point, vertical first; false without lines.
  bool Distance(platform::Point p, long long& vertical, long long& horizontal) const;
  // The character boundary nearest to a point, as a document position.
  int CharPosAt(platform::Point p) const;

  struct Line {
    std::uint32_t firstWord = 0;
    std::uint32_t endWord = 0;
    int x = 0;  // relative to the box
    int y = 0;
    int width = 0;
    int height = 0;
    int ascent = 0;
  };
  const TSmallVector<Line, 1>& Lines() const { return lines_; }
  // The text of a line without its trailing spaces, for dumps and tests.
  std::u16string LineText(const Line& line) const;

 private:
  // A stretch of one font inside a word.
  struct Piece {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    int font = 0;
    int width = 0;
  };
  // What lies between two break opportunities; trailing spaces are counted apart.
  struct Word {
    std::uint32_t start = 0;  // the first character, in the paragraph's text
    std::uint32_t firstPiece = 0;
    std::uint32_t endPiece = 0;
    int width = 0;  // without trailing spaces
    int spaceWidth = 0;
    bool forcedBreak = false;
  };

  void AddPiece(std::size_t start, std::size_t end, int font, TLayoutFonts& fonts);
  void CloseWord(bool forced, std::size_t nextStart);
  void MeasureRun(const TFontRun& run, int font, TLayoutFonts& fonts);
  void FinishLine(Line& line, int boxWidth, bool first);
  void PaintLine(const Line& line, TPaintState& state) const;
  void PaintPiece(const Piece& piece, int x, int y, const Line& line, TPaintState& state) const;
  int OffsetInPiece(const Piece& piece, std::size_t chars) const;
  std::pair<std::size_t, std::size_t> VisibleChars(const Piece& piece, int drawX, const TPaintState& state) const;
  int NearestInLine(const Line& line, int x) const;

  const TSection* section_;
  int textBase_;
  const TLayoutFonts* fonts_ = nullptr;
  TSmallVector<Piece, 2> pieces_;
  TSmallVector<Word, 2> words_;
  TSmallVector<Line, 1> lines_;
  std::size_t wordStartPiece_ = 0;
  std::size_t wordStart_ = 0;
  int wordWidth_ = 0;  // what the open word measures so far, trailing spaces included
  int wordSpace_ = 0;  // its trailing spaces
  bool breakPending_ = false;
  int defaultFont_ = -1;
  int minWidth_ = 0;
  int maxWidth_ = 0;
  int height_ = 0;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace talmeko::htmlview
