#pragma once
// Reads the content of a style element straight from the document's buffer
// into the style list.

#include <string>
#include <vector>

#include "htmlview/base/buffer.h"
#include "htmlview/style/style_list.h"

namespace talmeko::htmlview {

class TStyleSheetParser {
 public:
  TStyleSheetParser(TBuffer& buffer, THtmlStyleList& styles) : buffer_(buffer), styles_(styles) {}

  // Reads rules up to the "<" that starts the style end tag, which is
  // consumed from the buffer and returned; 0 at the end of the text. Raises
  // EParseError for a comment still open at the end of the text.
  char16_t Parse();

 private:
  void Get();
  void SkipSpaces();
  void SkipLeading();
  void SkipAfterRule();
  void SkipAtRule();
  void ReadRule();
  void ReadSelectors(std::vector<std::string>& selectors);
  void ReadDeclarations(const std::vector<std::string>& selectors);
  void ReadValue(std::string& value);
  void SkipToDeclarationEnd();

  TBuffer& buffer_;
  THtmlStyleList& styles_;
  char16_t ch_ = 0;
};

// Parses the value of a style attribute into the set, as the element's own
// declarations.
void ParseStyleAttribute(std::u16string_view text, TTextPool& pool, TProperties& props);

// Merges the declarations of a style attribute onto the set, as parsing them
// into a new set and merging that would: every slot the text gives is set
// and marked as set by a rule, z-index included (a new set holds 0 there),
// the later of two declarations of a slot wins, and a font-affecting slot
// drops the cached font. Texts go into the pool as parsing stores them.
void MergeStyleAttribute(std::u16string_view text, TTextPool& pool, TProperties& props);

// The same two through the general reader and expansion alone, which the
// functions above fall back on for what their shortcuts do not take; the
// results are the same. For tests that compare the two.
void ParseStyleAttributePlainly(std::u16string_view text, TTextPool& pool, TProperties& props);
void MergeStyleAttributePlainly(std::u16string_view text, TTextPool& pool, TProperties& props);

}  // namespace talmeko::htmlview
