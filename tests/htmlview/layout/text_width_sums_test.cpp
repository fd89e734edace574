// A canvas whose widths add up lets layout sum the advances it measured
// rather than measure each word again. The laid-out page must be the same
// either way, including where the sum would be wrong: surrogate pairs, which
// such a canvas measures as one glyph, and advances below zero, which layout
// keeps as zero.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "htmlview/layout/document_view.h"
#include "htmlview/layout/layout_dump.h"
#include "parse_support.h"
#include "support/fake_canvas.h"

namespace talmeko::htmlview {
namespace {

// Measures a surrogate pair as the width of its first half alone, so a
// word holding one is narrower than its characters measured one by one.
class PairCanvas : public talmeko::testing::FakeCanvas {
 public:
  int TextWidth(std::u16string_view text) override {
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      width += GlyphWidth(text[i]);
      if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] <= 0xDFFF) {
        ++i;
      }
    }
    return width;
  }
};

class AddingPairCanvas final : public PairCanvas {
 public:
  bool WidthsAdd() const override { return true; }
};

std::string LaidOut(const ThtDocument& document, talmeko::testing::FakeCanvas& canvas, int width) {
  THtmlDocumentView view(document, platform::ScreenInfo{});
  const TLayoutResult result = view.LayOut(canvas, width, 600);
  return DumpLayout(view) + "height=" + std::to_string(result.documentHeight) +
         " scroll=" + std::to_string(result.scrollWidth) + "\n";
}

TEST(TextWidthSumsTest, SummedWidthsLayOutAsMeasuredOnes) {
  const struct {
    const char* name;
    std::string page;
  } pages[] = {
      {"plain words", "<p>DMC Gamma Anchor Madeira 3866 and-so/on?yes</p>"},
      {"fonts change inside a word", "<p>ab<b>cd</b>ef <i>gh</i> <font size=5>big</font>small</p>"},
      {"forced breaks", "<p>one<br>two three<br><br>four</p>"},
      {"surrogate pairs", "<p>x&#x1F600;x &#x1F600; &#x1F600;&#x1F601;q end</p>"},
      {"a lone surrogate half", "<p>a&#xD800;b c</p>"},
      {"the narrowing glyph", "<p>qqq aqb q</p>"},
      {"a result page",
       testing::ResultPage({"DMC", "Gamma"},
                           {{{{"#ff8800", "310"}, {"#f5f0ec", "3866 q"}}}, {{{"", ""}, {"#123456", "0204"}}}})},
  };
  for (const auto& page : pages) {
    testing::LoadedView loaded;
    loaded.Load(page.page);
    for (int width : {60, 200, 800}) {
      PairCanvas measured;
      AddingPairCanvas summed;
      for (talmeko::testing::FakeCanvas* canvas : {static_cast<talmeko::testing::FakeCanvas*>(&measured),
                                                   static_cast<talmeko::testing::FakeCanvas*>(&summed)}) {
        canvas->SetGlyphWidth(u'q', -3);
        canvas->SetGlyphWidth(u'W', 13);
        canvas->SetGlyphWidth(0xD83D, 11);
        canvas->SetGlyphWidth(0xDE00, 5);
      }
      EXPECT_EQ(LaidOut(loaded.Document(), summed, width), LaidOut(loaded.Document(), measured, width))
          << page.name << " at " << width;
    }
  }
}

// Without the narrowing glyph a font's widths do add up again: the sums are
// used, and they must still agree with the canvas.
TEST(TextWidthSumsTest, EveryFontDecidesForItself) {
  testing::LoadedView loaded;
  loaded.Load("<p>aq <b>bold words</b> <i>italic</i> q</p>");
  PairCanvas measured;
  AddingPairCanvas summed;
  measured.SetGlyphWidth(u'q', -3);
  summed.SetGlyphWidth(u'q', -3);
  EXPECT_EQ(LaidOut(loaded.Document(), summed, 100), LaidOut(loaded.Document(), measured, 100));
}

}  // namespace
}  // namespace talmeko::htmlview
