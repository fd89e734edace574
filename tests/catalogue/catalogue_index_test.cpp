#include "catalogue/catalogue_index.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "catalogue/brands.h"
#include "catalogue/conversion.h"
#include "equivalents_text.h"
#include "fixture_tables.h"

namespace talmeko::catalogue {
namespace {

// The written lookups, scanning every entry in table order, to hold the
// indexed ones against.
Equivalents ScanExact(const Tables& tables, std::string_view number, std::string_view brand) {
  Equivalents result;
  if (const auto own = BrandIndex(brand)) result.slots[*own] = std::string(number);
  const std::string n = NormalizeNumber(number);
  for (const Accord& e : tables.AccordTable()) {
    if (e.BrandA == brand && NormalizeNumber(e.NumberA) == n) {
      result.Found = true;
      if (IsTableBrand(e.BrandB)) AppendNumber(result.slots[*BrandIndex(e.BrandB)], NormalizeNumber(e.NumberB));
    } else if (e.BrandB == brand && NormalizeNumber(e.NumberB) == n) {
      result.Found = true;
      if (IsTableBrand(e.BrandA)) AppendNumber(result.slots[*BrandIndex(e.BrandA)], NormalizeNumber(e.NumberA));
    }
  }
  return result;
}

std::string ScanColorCode(const Tables& tables, std::string_view list, std::string_view brand) {
  const std::string first = NormalizeNumber(FirstNumber(list));
  for (const Palette& p : tables.PaletteTable()) {
    if (p.Brand == brand && NormalizeNumber(p.Number) == first) return p.Code;
  }
  return {};
}

void ExpectIndexMatchesScan(const Tables& tables) {
  std::set<std::string> numbers = {"", "0", "00", "\n", "310,1", " 05", "1\r\n"};
  std::set<std::string> brands(kBrandKeys.begin(), kBrandKeys.end());
  brands.insert({"", "*dmc", "DMC"});
  for (const Palette& p : tables.PaletteTable()) numbers.insert(p.Number);
  for (const Accord& a : tables.AccordTable()) {
    numbers.insert({a.NumberA, a.NumberB});
    brands.insert({a.BrandA, a.BrandB});
  }
  for (const std::string& brand : brands) {
    for (const std::string& number : numbers) {
      ASSERT_EQ(testing::Describe(FindExact(tables, number, brand)), testing::Describe(ScanExact(tables, number, brand)))
          << brand << " \"" << number << '"';
      ASSERT_EQ(FindColorCode(tables, number, brand), ScanColorCode(tables, number, brand))
          << brand << " \"" << number << '"';
    }
  }
}

TEST(CatalogueIndex, AgreesWithAFullScanOnTheShippedData) { ExpectIndexMatchesScan(testing::ShippedTables()); }

TEST(CatalogueIndex, AgreesWithAFullScanOnOddTables) {
  ExpectIndexMatchesScan(testing::FixtureTables());
  ExpectIndexMatchesScan(LoadTables("dmc:5:#1:\r\ndmc:05:#2:\r\n::x:\r\nanchor:0:#3:\r\n",
                                    "dmc:5:dmc:05\r\ndmc:6:dmc:5\r\n\r\n:0::\r\ngamma:0003:gamma:3\r\n"
                                    "dmc:1\n:anchor:2\r\nx\r\n"));
}

TEST(CatalogueIndex, SameNumbersHashAlikeAndEachEntryIsACandidateOnce) {
  EXPECT_EQ(CatalogueIndex::Hash("dmc", "0420"), CatalogueIndex::Hash("dmc", "420\n"));
  EXPECT_EQ(CatalogueIndex::Hash("dmc", "0\r\n05"), CatalogueIndex::Hash("dmc", "5"));
  EXPECT_NE(CatalogueIndex::Hash("dmc", "B5200"), CatalogueIndex::Hash("dmc", "b5200"));
  EXPECT_NE(CatalogueIndex::Hash("dmc", "12"), CatalogueIndex::Hash("dmc1", "2"));
  const std::vector<Palette> palette = {{"dmc", "05", "#1", ""}, {"dmc", "5", "#2", ""}};
  const CatalogueIndex index(palette, std::vector<Accord>{{"dmc", "5", "dmc", "05"}});
  EXPECT_EQ(index.AccordCandidates("dmc", "005").size(), 1u);
  EXPECT_TRUE(index.AccordCandidates("dmc", "6").empty());
  EXPECT_EQ(index.FirstPalette(palette, "dmc", "5"), 0);
  EXPECT_EQ(index.FirstPalette(palette, "anchor", "5"), -1);
}

}  // namespace
}  // namespace talmeko::catalogue
