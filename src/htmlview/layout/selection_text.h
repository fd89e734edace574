#pragma once
// The selected part of a laid-out document as plain text, the way a reader
// pastes it into a list: one table row per line, its cells separated by tabs.

#include <string>

#include "htmlview/layout/content_layout.h"

namespace talmeko::htmlview {

// The characters of [selStart, selEnd) in document text positions. Rows with
// nothing selected and cells with no text of their own (the colour swatches)
// are left out; paragraphs of one box follow each other on lines of their own.
std::u16string SelectedText(const TContentLayout& content, int selStart, int selEnd);

}  // namespace talmeko::htmlview
