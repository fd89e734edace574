#pragma once
// A text dump of a parsed document: its tree and, per element, what layout
// and painting will use of its computed properties. Tests compare dumps, and
// it is the quickest way to see what the view made of a page.

#include <string>

#include "htmlview/parse/document.h"

namespace talmeko::htmlview {

// One line per element, indented two spaces per level:
//   body margin 5,10,5,10 bg none
//   table padding 1 spacing 2 border 0 width none justify left
//   row valign middle bg none
//   cell span 1x1 width 50px valign middle padding 1,1,1,1 border 0,0,0,0 bg #FF8800
//   text left 'DMC' | Arial 12pt normal sys8
// Sides are written top,right,bottom,left; colours #RRGGBB, "none" or sysN;
// widths "none", "50px", "30%" or "2*". A paragraph lists its font runs
// after "|", each as family, size, weight (and italic/underline), colour.
std::string DumpDocument(const ThtDocument& document);

}  // namespace talmeko::htmlview
