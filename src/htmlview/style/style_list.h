#pragma once
// The document's style list: property sets by selector, initialised from the
// view's published properties and extended by the page's style elements.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "htmlview/base/text_pool.h"
#include "htmlview/style/properties.h"
#include "htmlview/style/view_defaults.h"

namespace talmeko::htmlview {

// One compound of a selector: "td.swatch#x:link" has all four parts.
struct TSelectorCompound {
  std::string tag;
  std::vector<std::string> classes;
  std::string id;
  std::string pseudo;
};

// A rule whose selector names a context ("table td", "tr > td"). The parts
// run from the outermost compound to the element itself; childOf[i] tells
// whether parts[i] must be the direct parent of parts[i + 1].
struct TDescendantRule {
  std::string selector;
  std::vector<TSelectorCompound> parts;
  std::vector<bool> childOf;
  TProperties props;
};

// Parses a compound selector; false when it has none of the four parts.
bool ParseCompound(std::string_view text, TSelectorCompound& compound);

class THtmlStyleList {
 public:
  THtmlStyleList() = default;
  THtmlStyleList(const THtmlStyleList&) = delete;
  THtmlStyleList& operator=(const THtmlStyleList&) = delete;

  // Empties the list and fills it with the entries the published properties
  // give, with the quirks-mode table entries when quirks is set.
  void Initialize(const ViewDefaults& defaults, bool quirks, TTextPool& pool, int pixelsPerInch);

  bool Quirks() const { return quirks_; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  double DefFontSize() const { return defFontSize_; }
  TTextPool& Pool() { return *pool_; }

  const TProperties* Find(std::string_view selector) const;
  // The entry for a lower-case selector, created when missing.
  TProperties& Entry(std::string_view selector);
  const std::vector<TDescendantRule>& DescendantRules() const { return descendants_; }
  bool HasDescendantRules() const { return !descendants_.empty(); }
  // Appends the positions of the descendant rules whose last compound names
  // the tag, one of the classes (joined by ".") or the id of an element, in
  // rule order. Rules that can match no element are never listed.
  void CandidateRules(std::string_view tag, std::string_view classes, std::string_view id,
                      std::vector<std::uint32_t>& out) const;
  std::vector<std::string> Selectors() const;

  // Stores one property for a selector as the style-sheet parser reads it.
  void AddProperty(std::string_view selector, PropIndex index, const TPropValue& value);

  // In quirks mode tables take their font size, style, weight, variant and
  // colour from the body, never from the elements around them.
  void FixupTableColor(const TProperties& body);

  // Whether any rule names a class or an id; when none does, elements need
  // only the lookup by tag name.
  bool HasClassOrIdRules() const { return classOrIdRules_; }

  // Changes whenever an entry may have changed, so that sets computed from
  // the list can tell whether they are still current.
  std::uint64_t Version() const { return version_; }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  void AddDefaultEntries(const ViewDefaults& defaults);
  void AddQuirksEntries(const ViewDefaults& defaults);
  TDescendantRule& DescendantEntry(std::string_view selector);
  void IndexRule(std::uint32_t position);
  void AppendBucket(std::string_view key, std::vector<std::uint32_t>& out) const;

  std::unordered_map<std::string, TProperties, Hash, std::equal_to<>> entries_;
  std::vector<TDescendantRule> descendants_;
  // Descendant rules by selector, and by the key of their last compound: its
  // id as "#id", else its first class as ".class", else its tag.
  std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> descendantBySelector_;
  std::unordered_map<std::string, std::vector<std::uint32_t>, Hash, std::equal_to<>> descendantsByKey_;
  mutable std::string key_;
  TTextPool* pool_ = nullptr;
  bool quirks_ = false;
  bool classOrIdRules_ = false;
  std::uint64_t version_ = 0;
  int pixelsPerInch_ = 96;
  double defFontSize_ = 12;
};

}  // namespace talmeko::htmlview
