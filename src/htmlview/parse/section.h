#pragma once
// A text paragraph: its characters and the font runs that cover them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "htmlview/base/small_vector.h"
#include "htmlview/parse/section_base.h"
#include "htmlview/style/fonts.h"

namespace talmeko::htmlview {

// Characters [start, start + length) are drawn in one font and colour.
struct TFontRun {
  std::size_t start = 0;
  std::size_t length = 0;
  const TFontInfo* font = nullptr;  // interned for the whole process
};

class TSection : public TSectionBase {
 public:
  TSection(TTextAlign align, int textIndent) : align_(align), textIndent_(textIndent) {}
  TSectionKind Kind() const override { return TSectionKind::Section; }

  // Appends text in a font. Spaces already folded by the tokenizer are also
  // folded across tokens, and a paragraph never starts with a space.
  void AddText(std::u16string_view text, const TFontInfo* font);

  const std::u16string& Text() const { return text_; }
  const TSmallVector<TFontRun, 1>& Runs() const { return runs_; }
  TTextAlign Align() const { return align_; }
  int TextIndent() const { return textIndent_; }
  bool Empty() const { return text_.empty(); }

 private:
  std::u16string text_;
  // A paragraph mostly has one font: its run is kept in place.
  TSmallVector<TFontRun, 1> runs_;
  TTextAlign align_;
  int textIndent_;
};

}  // namespace talmeko::htmlview
