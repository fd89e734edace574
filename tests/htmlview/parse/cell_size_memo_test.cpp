#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "htmlview/parse/attributes.h"
#include "htmlview/parse/html_table.h"
#include "htmlview/style/properties.h"

namespace talmeko::htmlview {
namespace {

std::string Describe(const TSpecWidth& w) {
  return std::to_string(w.Value) + "/" + std::to_string(static_cast<int>(w.Type));
}

std::string Describe(const TCellData& c) {
  return "wd " + Describe(c.SpecWd) + " ht " + Describe(c.SpecHt) + " va " +
         std::to_string(static_cast<int>(c.VAlign)) + " bg " + std::to_string(c.BgColor) + " pad " +
         std::to_string(c.Padding[0]) + " space " + std::to_string(c.HzSpace) + "," + std::to_string(c.VrSpace);
}

// The memo must answer every value as the plain conversion does, whatever
// came before: the same characters in other storage, other characters in
// the same storage, other font sizes and resolutions, texts at and beyond
// the longest it remembers, and values that are not text at all.
TEST(CellSizeMemo, AnswersAsThePlainConversion) {
  const std::vector<std::string> texts = {
      "50px", "50", " 50px", "60px", "2em", "3ex", "12pt", "auto", "10%", " 45.5 % ", "-5px", "", "px",
      "1.5px", "abc", "123456789012px", "1234567890123px", "12345678901234px", "9999999px", "2.5em", "5PX",
  };
  // An empty text as the pool gives it, pointing nowhere ("width:").
  const std::vector<TPropValue> others = {TPropValue(), TPropValue::MakeText({}), TPropValue::MakeInt(kIntNull),
                                          TPropValue::MakeInt(30),
                                          TPropValue::MakeInt(-30), TPropValue::MakeReal(12.5)};
  const double points[] = {12, 10, 9.5, 36};
  const int resolutions[] = {96, 120};
  // Several copies of each text, so that equal characters come from
  // different places; and one buffer whose characters change in place.
  std::vector<std::string> copies;
  for (int k = 0; k < 3; ++k) copies.insert(copies.end(), texts.begin(), texts.end());
  char reused[32] = {};
  std::mt19937 rng(23);
  TSizeMemo memo;
  for (int step = 0; step < 20000; ++step) {
    const double pt = points[rng() % std::size(points)];
    const int ppi = resolutions[rng() % std::size(resolutions)];
    TPropValue value;
    const unsigned pick = rng() % 10;
    if (pick == 0) {
      value = others[rng() % others.size()];
    } else if (pick == 1) {
      const std::string& text = texts[rng() % texts.size()];
      std::memcpy(reused, text.data(), text.size());
      value = TPropValue::MakeText(std::string_view(reused, text.size()));
    } else {
      value = TPropValue::MakeText(copies[rng() % copies.size()]);
    }
    const TSpecWidth want = SpecFromProperty(value, ppi, pt);
    ASSERT_EQ(Describe(memo.Read(value, ppi, pt)), Describe(want))
        << "step " << step << " text '" << value.Text() << "' pt " << pt << " ppi " << ppi;
  }
}

// Cells made with one memo across many sets come out as cells made
// without one.
TEST(CellSizeMemo, CellsMatchTheOnesMadeWithoutIt) {
  const TPropValue widths[] = {TPropValue::MakeText("50px"), TPropValue::MakeText("2em"),
                               TPropValue::MakeText("30%"),  TPropValue::MakeText("auto"),
                               TPropValue::MakeInt(kIntNull), TPropValue::MakeText("7ex")};
  const TPropValue fonts[] = {TPropValue(), TPropValue::MakeReal(9), TPropValue::MakeReal(20),
                              TPropValue::MakeText("large")};
  const TAttributeList noAttributes;
  const THtmlTable table(noAttributes, TProperties(), 96);
  std::mt19937 rng(41);
  TSizeMemo memo;
  for (int round = 0; round < 3000; ++round) {
    TProperties props;
    props.Set(Width, widths[rng() % std::size(widths)]);
    if (rng() % 2) props.Set(Height, widths[rng() % std::size(widths)]);
    props.Set(FontSize, fonts[rng() % std::size(fonts)]);
    props.Set(BackgroundColor, TPropValue::MakeInt(static_cast<std::int64_t>(rng() % 0x1000000)));
    const int ppi = round % 3 == 0 ? 120 : 96;
    const auto rowAlign = static_cast<TVAlign>(rng() % 3);
    const TCellObj plain(table, props, noAttributes, rowAlign, false, ppi);
    const TCellObj remembered(table, props, noAttributes, rowAlign, false, ppi, &memo);
    ASSERT_EQ(Describe(remembered), Describe(plain)) << "round " << round;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
