#pragma once
// The property sets of the open elements, bottom to top, and the cascade that
// computes a new element's set from its parent, the style list and its style
// attribute.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "htmlview/properties.h"
#include "htmlview/style_list.h"

namespace talmeko::htmlview {

// Converts a font-size text with a unit or keyword to points, relative to the
// parent's size; the parent's size when the text is no size.
double FontSizeToPoints(std::string_view text, double parentPoints, int pixelsPerInch);

class THtmlPropStack {
 public:
  THtmlPropStack() { stack_.reserve(32); }

  // Leaves one set on the stack: a copy of the style list's "default" entry.
  void Reset(THtmlStyleList& styles);
  void Clear() { stack_.clear(); }

  std::size_t Depth() const { return stack_.size(); }
  bool Empty() const { return stack_.empty(); }
  TProperties& Top() { return stack_.back(); }
  const TProperties& Top() const { return stack_.back(); }
  const TProperties& At(std::size_t i) const { return stack_[i]; }

  // Opens an element: class is lower case with classes joined by ".", id
  // lower case, title UTF-8; styleAttr is the parsed style attribute or null.
  void PushProp(std::string_view tag, std::string_view cls, std::string_view id,
                const TProperties* styleAttr, std::string_view title);
  // Closes the most recent element of the tag; the sets above it inherit
  // again from their new parents.
  void PopProp(std::string_view tag);
  void PopToDepth(std::size_t depth);

  void SetPropUnlessRule(PropIndex i, const TPropValue& v) { Top().SetUnlessRule(i, v); }

 private:
  TProperties& EmplaceChild();
  static void Inherit(const TProperties& parent, TProperties& child, std::string_view tag);
  void MergeStyleRules(TProperties& p);
  void MergeKey(TProperties& p, std::string_view a, std::string_view b = {}, std::string_view c = {},
                std::string_view d = {});
  void MergeDescendantRules(TProperties& p);
  bool ContextMatches(const TDescendantRule& rule) const;
  void ConvertFontSize(TProperties& p, const TProperties& parent);

  std::vector<TProperties> stack_;
  THtmlStyleList* styles_ = nullptr;
  std::string key_;
};

}  // namespace talmeko::htmlview
