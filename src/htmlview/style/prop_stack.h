#pragma once
// The property sets of the open elements, bottom to top, and the cascade that
// computes a new element's set from its parent, the style list and its style
// attribute.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "htmlview/base/block_store.h"
#include "htmlview/base/byte_hash.h"
#include "htmlview/base/text_pool.h"
#include "htmlview/style/fonts.h"
#include "htmlview/style/properties.h"
#include "htmlview/style/style_attribute_cache.h"
#include "htmlview/style/style_list.h"

namespace talmeko::htmlview {

// Converts a font-size text with a unit or keyword to points, relative to the
// parent's size; the parent's size when the text is no size.
double FontSizeToPoints(std::string_view text, double parentPoints, int pixelsPerInch);

class THtmlPropStack {
 public:
  THtmlPropStack() { levels_.reserve(32); }
  THtmlPropStack(const THtmlPropStack&) = delete;
  THtmlPropStack& operator=(const THtmlPropStack&) = delete;

  // Leaves one set on the stack: a copy of the style list's "default" entry.
  void Reset(THtmlStyleList& styles);
  void Clear();

  std::size_t Depth() const { return levels_.size(); }
  bool Empty() const { return levels_.empty(); }
  const TProperties& Top() const { return *levels_.back().props; }
  // For changes after the cascade (body margins, default alignments); the
  // set is then no longer the one its element's context gives.
  TProperties& MutableTop();
  // Equal ids mean equal sets from equal contexts.
  std::uint32_t TopId() const { return levels_.back().id; }
  // The top set's font; remembered with the set, and so with the cached set
  // it may share, so that the next element of the same kind finds it made.
  const TFontInfo* TopFont(TFontResolver& fonts) { return fonts.FontOf(Top()); }
  const TProperties& At(std::size_t i) const { return *levels_[i].props; }

  // Opens an element: class is lower case with classes joined by ".", id
  // lower case, title UTF-8; styleAttr is the parsed style attribute or null.
  void PushProp(std::string_view tag, std::string_view cls, std::string_view id,
                const TProperties* styleAttr, std::string_view title);
  // Closes the most recent element of the tag; the sets above it inherit
  // again from their new parents.
  void PopProp(std::string_view tag);
  void PopToDepth(std::size_t depth) {
    if (depth < levels_.size()) levels_.resize(depth);
  }

  // Opens an element from its attribute values as written: the class, id and
  // title are stored in the style list's text pool, and the style attribute
  // (null when absent) is parsed. Elements with the same context, tag,
  // attributes and style attribute get the same set, so it is computed once
  // per page and shared after that. The tag is kept as given, so it must
  // last as long as the stack: the parser passes literals.
  // Always inlined: the shortcut is a few tests, and a call with five
  // texts would cost more than it does.
  [[gnu::always_inline]] void PushElement(std::string_view tag, std::string_view cls, std::string_view id,
                                          std::string_view title, const std::u16string* styleText) {
    // Elements without attributes are the most common, and mostly follow
    // one of their kind under the same parent: the set found for the last
    // one at this depth is taken without a cache search.
    // Likewise an element with only a style attribute, whose base set is
    // mostly that of the last one like it at this depth.
    if (cls.empty() && id.empty() && title.empty() && styles_->Version() == cacheStyleVersion_) {
      if (styleText == nullptr) {
        if (const TPlainChild* last = Remembered(lastPlain_, tag)) {
          levels_.push_back({last->props, last->id});
          return;
        }
      } else if (const TPlainChild* last = Remembered(lastStyledBase_, tag)) {
        PushStyled(*last->props, last->id, *styleText);
        return;
      }
    }
    PushElementSearched(tag, cls, id, title, styleText);
  }

  void SetPropUnlessRule(PropIndex i, const TPropValue& v) { MutableTop().SetUnlessRule(i, v); }

  // Takes the parsed style attributes from a cache shared with other
  // stacks, which it then keeps alive: the sets refer to texts it holds.
  // Without one the stack makes its own.
  void ShareStyleAttributes(std::shared_ptr<TStyleAttributeCache> cache);

 private:
  // One open element. Its set is either the stack's own copy for that depth
  // or a cached set shared with every element of the same context.
  struct TLevel {
    const TProperties* props = nullptr;
    std::uint32_t id = 0;
  };

  // What a cached set was computed from. The texts are copies kept in the
  // cache's own pool.
  struct TCachedSet {
    TProperties props;
    std::uint32_t id = 0;
    std::uint32_t parent = 0;
    std::string_view tag, cls, idText, title;
  };
  struct TCacheKey {
    std::uint32_t parent;
    std::string_view tag, cls, id, title;
  };
  struct TCacheSlot {
    std::uint64_t hash = 0;
    TCachedSet* set = nullptr;  // null for a free slot
  };

  TProperties& Own(std::size_t depth);
  // The same set, still known to be a copy of a base set (see ownStyled_).
  TProperties& OwnSet(std::size_t depth);
  static void Inherit(const TProperties& parent, TProperties& child, std::string_view tag);
  // Computes the set of an element opened at the given depth, whose parent
  // is the set below it; the sets at that depth and above are not read.
  void Compute(TProperties& p, std::size_t depth, std::string_view tag, std::string_view cls,
               std::string_view id, const TProperties* styleAttr, std::string_view title);
  void MergeStyleRules(TProperties& p);
  void MergeKey(TProperties& p, std::string_view a, std::string_view b = {}, std::string_view c = {},
                std::string_view d = {});
  void MergeDescendantRules(TProperties& p, std::size_t depth);
  bool ContextMatches(const TDescendantRule& rule, std::size_t depth) const;
  void ConvertFontSize(TProperties& p, const TProperties& parent);

  // A page with endlessly varied elements stops filling the cache here.
  static constexpr std::size_t kMaxCachedSets = 4096;
  static std::uint64_t HashKey(const TCacheKey& key);
  static bool KeyMatches(const TCachedSet& set, const TCacheKey& key);
  TCachedSet* Find(const TCacheKey& key, std::uint64_t hash) const;
  // The entry the next cached set goes into, or null when the cache is
  // full; it counts as used once linked under its key.
  TCachedSet* NextFreeSet();
  void Link(TCachedSet& set, const TCacheKey& key, std::uint64_t hash, std::uint32_t id);
  // Opens the element with its computed set: the cache entry it was
  // computed in, or the stack's own copy when entry is null.
  // PushElement without its shortcut for elements without attributes.
  void PushSearched(std::string_view tag, std::string_view cls, std::string_view id, std::string_view title,
                    const std::u16string* styleText);
  void Push(TCachedSet* entry, const TProperties& props, const TCacheKey& key, std::uint64_t hash);
  void MergeStyleText(TProperties& p, const std::u16string& styleText, TTextPool& pool);
  // Opens an element with a style attribute over the set it would have
  // without one, a cached set with the given id.
  void PushStyled(const TProperties& base, std::uint32_t baseId, const std::u16string& styleText);
  void DropCache();
  // Open elements that share cached sets take copies of their own.
  void DetachFromCache();

  std::vector<TLevel> levels_;
  // own_[i] holds the set of the element at depth i when it is not shared.
  std::vector<std::unique_ptr<TProperties>> own_;
  std::uint32_t nextId_ = 1;
  std::vector<TCacheSlot> table_;  // open addressing, a power of two in size
  // Entries are made as they are first needed; one made but not linked
  // yet is the next one handed out.
  std::unique_ptr<TBlockStore<TCachedSet>> sets_;
  TCachedSet* unlinked_ = nullptr;
  std::size_t cachedSets_ = 0;
  std::unique_ptr<TTextPool> keyText_;
  std::uint64_t cacheStyleVersion_ = 0;
  THtmlStyleList* styles_ = nullptr;
  std::string key_;
  std::vector<std::uint32_t> candidates_;
  // Per depth, the cached set of the last element without attributes
  // opened there, and what it was opened under.
  struct TPlainChild {
    std::uint32_t parent = 0;
    std::string_view tag;
    const TProperties* props = nullptr;
    std::uint32_t id = 0;
  };
  std::vector<TPlainChild> lastPlain_;
  // The one of a list remembered for an element of this tag opened now
  // under the top set, or null.
  const TPlainChild* Remembered(const std::vector<TPlainChild>& list, std::string_view tag) const {
    const std::size_t depth = levels_.size();
    if (depth >= list.size()) return nullptr;
    const TPlainChild& last = list[depth];
    const bool same = last.props != nullptr && last.parent == levels_.back().id && SameTag(last.tag, tag);
    return same ? &last : nullptr;
  }
  // Tags are literals, so the same tag is mostly the same text in memory.
  static bool SameTag(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.data() == b.data() || SameBytes(a, b.data(), b.size()));
  }
  // PushElement when the last element at this depth does not do.
  void PushElementSearched(std::string_view tag, std::string_view cls, std::string_view id, std::string_view title,
                           const std::u16string* styleText);
  // Remembers an element opened at the given depth.
  static void Remember(std::vector<TPlainChild>& list, std::size_t depth, const TPlainChild& child);
  // The same for the set an element with only a style attribute is made
  // from: the set it would have without the attribute.
  std::vector<TPlainChild> lastStyledBase_;

  // Sets with a style attribute are mostly unique on a page (a swatch's
  // colour), so they are not kept whole: an element with a style attribute
  // gets a copy of its base set at its depth with the slots the attribute
  // sets written over it, and the same id as every element like it. What
  // each text sets comes from the attribute cache, which the view shares
  // between the pages it shows.
  std::shared_ptr<TStyleAttributeCache> attributes_;
  // Per attribute cache entry, the base set it was last used over in this
  // stack, and the id of the set that made.
  struct TStyledId {
    std::uint32_t base = 0;
    std::uint32_t id = 0;
  };
  std::vector<TStyledId> styledIds_;
  // For attributes a full cache does not keep.
  std::unique_ptr<TProperties> scratch_;
  std::vector<TPropValue> unkept_;
  // Per depth, when the stack's own set there is a copy of a base set with
  // some slots changed by a style attribute: the base's id and those slots.
  struct TOwnStyled {
    std::uint32_t base = 0;
    std::uint64_t changed = 0;
  };
  std::vector<TOwnStyled> ownStyled_;
};

}  // namespace talmeko::htmlview
