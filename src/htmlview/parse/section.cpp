#include "htmlview/parse/section.h"

namespace talmeko::htmlview {

void TSection::AddText(std::u16string_view text, const TFontInfo* font) {
  if (!text.empty() && text.front() == u' ' && (text_.empty() || text_.back() == u' ')) text.remove_prefix(1);
  if (text.empty()) return;
  if (!runs_.empty() && runs_.back().font == font) {
    runs_.back().length += text.size();
  } else {
    runs_.push_back({text_.size(), text.size(), font});
  }
  text_.append(text);
}

}  // namespace talmeko::htmlview
