#pragma once
// A text picture of a laid-out document, one line per paragraph, text line,
// table and cell, indented by nesting. Tests compare against it and it helps
// when a page looks wrong. All coordinates are document coordinates.
//
//   content 10,5 h=40
//     table 10,5 100x40 min=60 max=100 cols=50/50 rows=20/20
//       cell r0 c0 box=12,7,60,25 at=13,8 h=16
//         text 13,8 h=16 min=24 max=24
//           line 13,8 24x16 'DMC'

#include <string>

#include "htmlview/layout/content_layout.h"
#include "htmlview/layout/document_view.h"

namespace talmeko::htmlview {

std::string DumpLayout(const THtmlDocumentView& view);
std::string DumpLayout(const TContentLayout& content, int indent);

}  // namespace talmeko::htmlview
