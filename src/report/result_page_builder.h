#pragma once
// The result page: a table with a header row of brand names and one row per
// entered colour, each cell a swatch and the brand's equivalent numbers.

#include <string>
#include <string_view>

#include "catalogue/tables.h"
#include "report/page_host.h"

namespace talmeko::report {

class ResultPageBuilder {
 public:
  ResultPageBuilder(const catalogue::Tables& tables, PageHost& host) : tables_(tables), host_(host) {}

  // Converts one colour and, when it can be placed, appends its row, shows
  // the whole page and enables the result buttons. False changes nothing but
  // a repaint of the colour list.
  bool BuildRow(std::string_view number, std::string_view brand);

  // Builds the page afresh from the colour list under the wait cursor; an
  // empty list gets a document of zero bytes.
  void RebuildPage();

  // Empties the page body and builds one row per colour list item, in list
  // order, as if BuildRow ran for each; the result is the last item's. The
  // view is loaded once, with the final page, instead of once per row: the
  // GUI thread paints nothing in between, so the user sees the same.
  bool BuildAllRows();

  void ClearBody() { body_.clear(); }
  const std::string& Body() const { return body_; }

 private:
  bool AppendRow(std::string_view number, std::string_view brand);
  void AppendCell(std::string_view numbers, std::string_view brand);
  void ShowPage();

  const catalogue::Tables& tables_;
  PageHost& host_;
  std::string body_;
  std::string page_;
};

}  // namespace talmeko::report
