#pragma once
// The property sets of the open elements, bottom to top, and the cascade that
// computes a new element's set from its parent, the style list and its style
// attribute.

#include <cstddef>
#include <string>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "htmlview/fonts.h"
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
  void Clear() {
    stack_.clear();
    ids_.clear();
    slots_.clear();
    cache_.clear();
  }

  std::size_t Depth() const { return stack_.size(); }
  bool Empty() const { return stack_.empty(); }
  const TProperties& Top() const { return stack_.back(); }
  // For changes after the cascade (body margins, default alignments); the
  // set is then no longer the one its element's context gives.
  TProperties& MutableTop() {
    ids_.back() = nextId_++;
    slots_.back() = nullptr;
    return stack_.back();
  }
  // Equal ids mean equal sets from equal contexts.
  std::uint32_t TopId() const { return ids_.back(); }
  // The top set's font; remembered with the cached set as well, so that the
  // next element of the same kind finds it made.
  const TFontInfo* TopFont(TFontResolver& fonts);
  const TProperties& At(std::size_t i) const { return stack_[i]; }

  // Opens an element: class is lower case with classes joined by ".", id
  // lower case, title UTF-8; styleAttr is the parsed style attribute or null.
  void PushProp(std::string_view tag, std::string_view cls, std::string_view id,
                const TProperties* styleAttr, std::string_view title);
  // Closes the most recent element of the tag; the sets above it inherit
  // again from their new parents.
  void PopProp(std::string_view tag);
  void PopToDepth(std::size_t depth);

  // Opens an element from its attribute values as written: the class, id and
  // title are stored in the style list's text pool, and the style attribute
  // (null when absent) is parsed. Elements with the same context, tag,
  // attributes and style attribute get the same set, so it is computed once
  // per page and copied after that.
  void PushElement(std::string_view tag, std::string_view cls, std::string_view id, std::string_view title,
                   const std::u16string* styleText);

  void SetPropUnlessRule(PropIndex i, const TPropValue& v) { MutableTop().SetUnlessRule(i, v); }

 private:
  TProperties& EmplaceChild();
  static void Inherit(const TProperties& parent, TProperties& child, std::string_view tag);
  void MergeStyleRules(TProperties& p);
  void MergeKey(TProperties& p, std::string_view a, std::string_view b = {}, std::string_view c = {},
                std::string_view d = {});
  void MergeDescendantRules(TProperties& p);
  bool ContextMatches(const TDescendantRule& rule) const;
  void ConvertFontSize(TProperties& p, const TProperties& parent);

  struct CachedSet {
    TProperties props;
    std::uint32_t id = 0;
  };
  // A page with endlessly varied elements stops filling the cache here.
  static constexpr std::size_t kMaxCachedSets = 4096;
  void BuildCacheKey(std::string_view tag, std::string_view cls, std::string_view id, std::string_view title,
                     const std::u16string* styleText);

  std::vector<TProperties> stack_;
  // Parallel to stack_: equal ids mean equal sets computed from equal
  // contexts, which is what makes a cached set valid for a child.
  std::vector<std::uint32_t> ids_;
  std::vector<CachedSet*> slots_;  // the cache entry each set came from, if any
  std::uint32_t nextId_ = 1;
  std::unordered_map<std::string, CachedSet> cache_;
  std::uint64_t cacheStyleVersion_ = 0;
  THtmlStyleList* styles_ = nullptr;
  std::string key_;
  std::string cacheKey_;
};

}  // namespace talmeko::htmlview
