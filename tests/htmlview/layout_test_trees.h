#pragma once
// Hand-built document trees for the layout tests, shaped like the result
// pages: tables of cells holding paragraphs or further tables.
//
// With the default 16-pixel font on FakeCanvas every character is 8 pixels
// wide and a line is 18 pixels high; a default cell has 1 pixel of padding
// on every side and the table spaces cells by 2 pixels.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "htmlview/parse/attributes.h"
#include "htmlview/parse/blocks.h"
#include "htmlview/parse/document.h"
#include "htmlview/parse/html_table.h"
#include "htmlview/parse/section.h"
#include "htmlview/style/fonts.h"
#include "htmlview/style/properties.h"

namespace talmeko::htmlview::testing {

inline const TFontInfo* TestFont(int height = 16, platform::Color color = platform::kSystemColorBase +
                                                                           platform::kColorWindowText) {
  TFontInfo info;
  info.family = "Arial";
  info.desc.family = "Arial";
  info.desc.height = height;
  info.color = color;
  return TFontCache::Instance().Intern(info);
}

inline std::unique_ptr<TSection> Text(std::u16string_view text, const TFontInfo* font = TestFont(),
                                      TTextAlign align = TTextAlign::Left) {
  auto section = std::make_unique<TSection>(align, 0);
  section->AddText(text, font);
  return section;
}

inline THtmlTable NewTable() { return THtmlTable(TAttributeList{}, TProperties{}, 96); }

inline TCellObj NewCell(const THtmlTable& table, TVAlign align = TVAlign::vaMiddle) {
  return TCellObj(table, TProperties{}, TAttributeList{}, align, false, 96);
}

inline TCellObj TextCell(const THtmlTable& table, std::u16string_view text) {
  TCellObj cell = NewCell(table);
  cell.Cell.Add(Text(text));
  return cell;
}

// An empty cell of a fixed width and colour, as the colour swatches are.
inline TCellObj SwatchCell(const THtmlTable& table, platform::Color color, int width = 50) {
  TCellObj cell = NewCell(table);
  cell.SpecWd = {width, TWidthType::wtAbsolute};
  cell.BgColor = color;
  return cell;
}

inline void AddRow(THtmlTable& table, std::vector<TCellObj> cells) {
  TCellList row;
  for (TCellObj& cell : cells) row.Cells.push_back(std::move(cell));
  table.Rows.push_back(std::move(row));
}

inline std::unique_ptr<TTableBlock> Block(THtmlTable table) { return std::make_unique<TTableBlock>(std::move(table)); }

// A document whose body has the result pages' margins and the given items.
inline void FillBody(ThtDocument& document, std::vector<std::unique_ptr<TSectionBase>> items) {
  auto body = std::make_unique<TBodyBlock>();
  body->Box.margin = {5, 10, 5, 10};
  for (auto& item : items) body->Content.Add(std::move(item));
  document.Content.Add(std::move(body));
}

inline void FillBody(ThtDocument& document, std::unique_ptr<TSectionBase> item) {
  std::vector<std::unique_ptr<TSectionBase>> items;
  items.push_back(std::move(item));
  FillBody(document, std::move(items));
}

// The inner table of a result row: the colour's number and its swatch.
inline THtmlTable NumberAndSwatch(std::u16string_view number, platform::Color color) {
  THtmlTable inner = NewTable();
  std::vector<TCellObj> cells;
  cells.push_back(TextCell(inner, number));
  cells.push_back(SwatchCell(inner, color));
  AddRow(inner, std::move(cells));
  return inner;
}

// One brand above one of its colours: a 1 x 2 outer table.
inline THtmlTable BrandAndColour(std::u16string_view brand, std::u16string_view number, platform::Color color) {
  THtmlTable outer = NewTable();
  std::vector<TCellObj> first;
  first.push_back(TextCell(outer, brand));
  AddRow(outer, std::move(first));
  TCellObj holder = NewCell(outer);
  holder.Cell.Add(Block(NumberAndSwatch(number, color)));
  std::vector<TCellObj> second;
  second.push_back(std::move(holder));
  AddRow(outer, std::move(second));
  return outer;
}

}  // namespace talmeko::htmlview::testing
