#include "report/colour_item.h"

#include <gtest/gtest.h>

namespace talmeko::report {
namespace {

TEST(ColourItem, FormsNumberAsTypedAndBrandKey) {
  EXPECT_EQ(FormColourItem("310", "dmc"), "310 (dmc)");
  EXPECT_EQ(FormColourItem("0310", "dmc"), "0310 (dmc)");
  EXPECT_EQ(FormColourItem("0101", "kirov"), "0101 (kirov)");
  EXPECT_EQ(FormColourItem(" 12 ", ""), " 12  ()");
}

TEST(ColourItem, SplitsAtTheFirstOpeningAndDropsTheLastCharacter) {
  const struct {
    const char* item;
    const char* number;
    const char* brand;
  } cases[] = {
      {"310 (dmc)", "310", "dmc"},
      {"0101 (kirov)", "0101", "kirov"},
      {"12 (3 (dmc)", "12", "3 (dmc"},
      {"abc", "", ""},
      {"abcd", "", "b"},
      {"abcdef", "", "bcd"},
      {"", "", ""},
      {"a", "", ""},
      {" (dmc)", "", "dmc"},
      {"310 (dmcX", "310", "dmc"},
      {"310 (", "310", ""},
      {"310 (d", "310", ""},
      {"310 (dm", "310", "d"},
      {"310 ()", "310", ""},
      {"x (", "x", ""},
  };
  for (const auto& c : cases) {
    const ColourItemParts parts = SplitColourItem(c.item);
    EXPECT_EQ(parts.number, c.number) << '"' << c.item << '"';
    EXPECT_EQ(parts.brand, c.brand) << '"' << c.item << '"';
  }
}

}  // namespace
}  // namespace talmeko::report
