#pragma once
// The blocks of the document tree: the body, a table, a table with its caption.

#include <memory>
#include <string>

#include "htmlview/parse/html_table.h"
#include "htmlview/parse/section_base.h"
#include "htmlview/style/box_values.h"
#include "platform/geometry.h"

namespace talmeko::htmlview {

class TBodyBlock : public TSectionBase {
 public:
  TSectionKind Kind() const override { return TSectionKind::BodyBlock; }

  TBoxValues Box;  // margins from the body's set: MarginWidth/MarginHeight unless a rule said otherwise
  platform::Color BgColor = platform::kNoColor;
  platform::Color LinkColor = platform::kNoColor;
  std::string BackgroundImage;
  TCellBasic Content;
};

class TTableBlock : public TSectionBase {
 public:
  explicit TTableBlock(THtmlTable table) : Table(std::move(table)) {}
  // A table block made straight from a table's settings, with no rows yet.
  explicit TTableBlock(const THtmlTableSettings& settings) : Table(settings) {}
  TSectionKind Kind() const override { return TSectionKind::TableBlock; }
  // Whether destroying the block would free nothing.
  bool FreesNothing() const { return Table.FreesNothing(); }

  THtmlTable Table;
  // The text alignment of the element holding the table: it places the table
  // at the left, in the centre or at the right of its containing box.
  TTextAlign Justify = TTextAlign::Left;
  // The table's own ALIGN attribute ("left", "right" float; "center" centres).
  TTextAlign TableAlign = TTextAlign::Left;
  bool HasTableAlign = false;
  int HSpace = 0;
  int VSpace = 0;
};

// A table together with its caption, shown above it (or below it when the
// caption asks so). Without a caption the table block stands alone.
class TTableAndCaptionBlock : public TSectionBase {
 public:
  TSectionKind Kind() const override { return TSectionKind::TableAndCaptionBlock; }

  std::unique_ptr<TTableBlock> TableBlock;
  TCellBasic Caption;
  bool CaptionBelow = false;
};

}  // namespace talmeko::htmlview
