#include "htmlview/style/prop_stack.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <algorithm>

#include "htmlview/base/byte_hash.h"
#include "htmlview/style/style_sheet_parser.h"

namespace talmeko::htmlview {
namespace {

constexpr std::array<PropIndex, 19> kInherited = {
    FontFamily, FontSize,     FontStyle,     FontWeight,    TextAlign,  TextDecoration, LetterSpacing,
    Color,      Visibility,   LineHeight,    VerticalAlign, ZIndex,     ListStyleType,  ListStyleImage,
    TextIndent, TextTransform, WordWrap,     FontVariant,   EmptyCells};

bool CopiesEverything(std::string_view parentTag) {
  return parentTag == "span" || parentTag == "thead" || parentTag == "tbody" || parentTag == "tfoot";
}

bool HasClass(std::string_view classes, std::string_view cls) {
  while (!classes.empty()) {
    const std::size_t dot = classes.find('.');
    if (classes.substr(0, dot) == cls) return true;
    if (dot == std::string_view::npos) break;
    classes.remove_prefix(dot + 1);
  }
  return false;
}

bool CompoundMatches(const TSelectorCompound& c, const TProperties& p) {
  if (!c.tag.empty() && c.tag != p.PropTag) return false;
  if (!c.id.empty() && c.id != p.PropID) return false;
  if (!c.pseudo.empty()) return false;
  for (const auto& cls : c.classes) {
    if (!HasClass(p.PropClass, cls)) return false;
  }
  return true;
}

}  // namespace

double FontSizeToPoints(std::string_view text, double parent, int ppi) {
  static constexpr std::string_view kKeywords[] = {"xx-small", "x-small", "small", "medium",
                                                   "large", "x-large", "xx-large"};
  static constexpr double kKeywordPoints[] = {8, 10, 12, 14, 18, 24, 36};
  for (int i = 0; i < 7; ++i) {
    if (text == kKeywords[i]) return kKeywordPoints[i];
  }
  if (text == "larger") return parent * 1.2;
  if (text == "smaller") return parent / 1.2;
  const std::string copy(text);
  const char* p = copy.c_str();
  char* end = nullptr;
  const double n = std::strtod(p, &end);
  if (end == p || !std::isfinite(n)) return parent;
  std::string_view unit(end);
  while (!unit.empty() && unit.front() == ' ') unit.remove_prefix(1);
  double points;
  if (unit.empty() || unit == "px") points = n * 72.0 / ppi;
  else if (unit == "%") points = parent * n / 100.0;
  else if (unit == "em") points = parent * n;
  else if (unit == "ex") points = parent * n / 2;
  else if (unit == "pt") points = n;
  else if (unit == "pc") points = n * 12;
  else if (unit == "in") points = n * 72;
  else if (unit == "cm") points = n * 72 / 2.54;
  else if (unit == "mm") points = n * 72 / 25.4;
  else return parent;
  return std::isfinite(points) && points > 0 ? std::min(points, 10000.0) : parent;
}

void THtmlPropStack::Reset(THtmlStyleList& styles) {
  styles_ = &styles;
  levels_.clear();
  DropCache();
  cacheStyleVersion_ = styles.Version();
  const TProperties* def = styles.Find("default");
  TProperties& p = Own(0);
  p = def ? *def : TProperties();
  p.PropTag = "default";
  p.Quirks = styles.Quirks();
  p.ClearRuleFlags();
  levels_.push_back({&p, nextId_++});
}

void THtmlPropStack::Clear() {
  levels_.clear();
  own_.clear();
  DropCache();
}

TProperties& THtmlPropStack::Own(std::size_t depth) {
  // Whoever takes the set may change any slot of it.
  if (depth < ownStyled_.size()) ownStyled_[depth] = {};
  return OwnSet(depth);
}

TProperties& THtmlPropStack::OwnSet(std::size_t depth) {
  if (own_.size() <= depth) own_.resize(depth + 1);
  if (!own_[depth]) own_[depth] = std::make_unique<TProperties>();
  return *own_[depth];
}

TProperties& THtmlPropStack::MutableTop() {
  TLevel& top = levels_.back();
  TProperties& own = Own(levels_.size() - 1);
  if (top.props != &own) {
    own = *top.props;
    top.props = &own;
  }
  top.id = nextId_++;
  return own;
}

void THtmlPropStack::DropCache() {
  lastPlain_.clear();
  lastStyledBase_.clear();
  table_.clear();
  sets_.reset();
  unlinked_ = nullptr;
  cachedSets_ = 0;
  keyText_.reset();
  styledIds_.clear();
  ownStyled_.clear();
}

void THtmlPropStack::DetachFromCache() {
  for (std::size_t i = 0; i < levels_.size(); ++i) {
    TProperties& own = Own(i);
    if (levels_[i].props != &own) {
      own = *levels_[i].props;
      levels_[i].props = &own;
    }
  }
}

namespace {

}  // namespace

std::uint64_t THtmlPropStack::HashKey(const TCacheKey& key) {
  std::uint64_t h = MixHash(0x2545F4914F6CDD1DULL, key.parent);
  h = HashBytes(h, key.tag.data(), key.tag.size());
  // Most elements have no class, id or title.
  if (!key.cls.empty() || !key.id.empty() || !key.title.empty()) {
    h = HashBytes(h, key.cls.data(), key.cls.size());
    h = HashBytes(h, key.id.data(), key.id.size());
    h = HashBytes(h, key.title.data(), key.title.size());
  }
  return h;
}

bool THtmlPropStack::KeyMatches(const TCachedSet& set, const TCacheKey& key) {
  return set.parent == key.parent && SameBytes(set.tag, key.tag.data(), key.tag.size()) &&
         SameBytes(set.cls, key.cls.data(), key.cls.size()) && SameBytes(set.idText, key.id.data(), key.id.size()) &&
         SameBytes(set.title, key.title.data(), key.title.size());
}

THtmlPropStack::TCachedSet* THtmlPropStack::Find(const TCacheKey& key, std::uint64_t hash) const {
  if (table_.empty()) return nullptr;
  const std::size_t mask = table_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const TCacheSlot& slot = table_[i];
    if (!slot.set) return nullptr;
    if (slot.hash == hash && KeyMatches(*slot.set, key)) return slot.set;
  }
}

THtmlPropStack::TCachedSet* THtmlPropStack::NextFreeSet() {
  if (cachedSets_ >= kMaxCachedSets) return nullptr;
  if (unlinked_ != nullptr) return unlinked_;
  if (!sets_) sets_ = std::make_unique<TBlockStore<TCachedSet>>();
  unlinked_ = &sets_->Emplace();
  return unlinked_;
}

void THtmlPropStack::Link(TCachedSet& set, const TCacheKey& key, std::uint64_t hash, std::uint32_t id) {
  // Kept at most half full, so that probes stay short and always end.
  if ((cachedSets_ + 1) * 2 > table_.size()) {
    std::vector<TCacheSlot> bigger(table_.empty() ? 64 : table_.size() * 2);
    const std::size_t mask = bigger.size() - 1;
    for (const TCacheSlot& slot : table_) {
      if (!slot.set) continue;
      std::size_t i = slot.hash & mask;
      while (bigger[i].set) i = (i + 1) & mask;
      bigger[i] = slot;
    }
    table_.swap(bigger);
  }
  if (!keyText_) keyText_ = std::make_unique<TTextPool>();
  auto keep = [this](std::string_view text) { return text.empty() ? std::string_view() : keyText_->Store(text); };
  set.id = id;
  set.parent = key.parent;
  set.tag = keep(key.tag);
  set.cls = keep(key.cls);
  set.idText = keep(key.id);
  set.title = keep(key.title);
  ++cachedSets_;
  unlinked_ = nullptr;
  const std::size_t mask = table_.size() - 1;
  std::size_t i = hash & mask;
  while (table_[i].set) i = (i + 1) & mask;
  table_[i] = {hash, &set};
}

void THtmlPropStack::Remember(std::vector<TPlainChild>& list, std::size_t depth, const TPlainChild& child) {
  if (list.size() <= depth) list.resize(depth + 1);
  list[depth] = child;
}

void THtmlPropStack::PushElementSearched(std::string_view tag, std::string_view cls, std::string_view id,
                                         std::string_view title, const std::u16string* styleText) {
  const bool plain = cls.empty() && id.empty() && title.empty() && styleText == nullptr;
  const std::size_t depth = levels_.size();
  const std::uint32_t parent = levels_.back().id;
  PushSearched(tag, cls, id, title, styleText);
  const bool shared = depth >= own_.size() || levels_.back().props != own_[depth].get();
  if (plain && shared) Remember(lastPlain_, depth, {parent, tag, levels_.back().props, levels_.back().id});
}

void THtmlPropStack::PushSearched(std::string_view tag, std::string_view cls, std::string_view id,
                                  std::string_view title, const std::u16string* styleText) {
  if (styles_->Version() != cacheStyleVersion_) {
    // The open elements keep their sets, but no longer share cache entries.
    DetachFromCache();
    DropCache();
    cacheStyleVersion_ = styles_->Version();
  }
  TTextPool& pool = styles_->Pool();
  const std::size_t depth = levels_.size();
  auto stored = [&pool](std::string_view text) { return text.empty() ? std::string_view() : pool.Store(text); };
  if (styleText) {
    // The set with a style attribute is the set the element would have
    // without one, with the attribute's declarations merged and a font size
    // they give converted: the rules' work is shared by every style text.
    // The base set found here is remembered for the next element like this
    // one at this depth, which PushElement then opens without a search.
    const bool onlyStyle = cls.empty() && id.empty() && title.empty();
    const std::uint32_t parent = levels_.back().id;
    const TCacheKey baseKey{parent, tag, cls, id, title};
    const std::uint64_t baseHash = HashKey(baseKey);
    const TCachedSet* base = Find(baseKey, baseHash);
    if (!base) {
      TCachedSet* entry = NextFreeSet();
      if (!entry) {
        // A full cache: the set is the stack's own and shared with nothing.
        TProperties& p = Own(depth);
        Compute(p, depth, tag, stored(cls), stored(id), nullptr, stored(title));
        MergeStyleText(p, *styleText, pool);
        levels_.push_back({&p, nextId_++});
        return;
      }
      Compute(entry->props, depth, tag, stored(cls), stored(id), nullptr, stored(title));
      Link(*entry, baseKey, baseHash, nextId_++);
      base = entry;
    }
    if (onlyStyle) Remember(lastStyledBase_, depth, {parent, tag, &base->props, base->id});
    PushStyled(base->props, base->id, *styleText);
    return;
  }
  const TCacheKey key{levels_.back().id, tag, cls, id, title};
  const std::uint64_t hash = HashKey(key);
  if (const TCachedSet* hit = Find(key, hash)) {
    levels_.push_back({&hit->props, hit->id});
    return;
  }
  // Sets are computed straight into the cache entry they will be kept in;
  // only a full cache makes the stack keep its own copy.
  TCachedSet* entry = NextFreeSet();
  TProperties& p = entry ? entry->props : Own(depth);
  Compute(p, depth, tag, stored(cls), stored(id), nullptr, stored(title));
  Push(entry, p, key, hash);
}

void THtmlPropStack::ShareStyleAttributes(std::shared_ptr<TStyleAttributeCache> cache) {
  attributes_ = std::move(cache);
}

void THtmlPropStack::PushStyled(const TProperties& base, std::uint32_t baseId, const std::u16string& styleText) {
  const std::size_t depth = levels_.size();
  if (!attributes_) attributes_ = std::make_shared<TStyleAttributeCache>();
  const TStyleAttributeCache::TEntry* parsed =
      attributes_->Get(styleText, TStyleAttributeCache::Hash(styleText));
  const TPropValue* values;
  std::uint64_t mask;
  std::uint64_t valued;
  std::uint32_t newId;
  if (parsed) {
    values = attributes_->Values(*parsed);
    mask = parsed->slotMask;
    valued = parsed->valuedMask;
    // Elements with the same attribute over the same base set share an id;
    // the last base each text was used over is remembered.
    const std::size_t index = attributes_->IndexOf(*parsed);
    if (styledIds_.size() <= index) styledIds_.resize(attributes_->Size());
    TStyledId& known = styledIds_[index];
    if (known.id == 0 || known.base != baseId) known = {baseId, nextId_++};
    newId = known.id;
  } else {
    // A full cache: parsed for this element alone, shared with nothing.
    if (!scratch_) scratch_ = std::make_unique<TProperties>();
    mask = TStyleAttributeCache::Parse(styleText, styles_->Pool(), *scratch_, unkept_, valued);
    values = unkept_.data();
    newId = nextId_++;
  }
  // The set at this depth is made from the base set: when it already is a
  // copy of it, only the slots the last attribute changed are put back.
  TProperties& p = OwnSet(depth);
  if (ownStyled_.size() <= depth) ownStyled_.resize(depth + 1);
  TOwnStyled& mark = ownStyled_[depth];
  if (mark.base == baseId) {
    // Slots this attribute sets are written below anyway.
    p.RestoreSlots(base, mark.changed & ~mask);
  } else {
    p = base;
  }
  mark = {baseId, mask};
  p.SetByRule(mask, valued, values);
  ConvertFontSize(p, *levels_.back().props);
  levels_.push_back({&p, newId});
}

void THtmlPropStack::MergeStyleText(TProperties& p, const std::u16string& styleText, TTextPool& pool) {
  MergeStyleAttribute(styleText, pool, p);
  ConvertFontSize(p, *levels_.back().props);
}

void THtmlPropStack::Push(TCachedSet* entry, const TProperties& props, const TCacheKey& key, std::uint64_t hash) {
  const std::uint32_t newId = nextId_++;
  if (entry) Link(*entry, key, hash, newId);
  levels_.push_back({&props, newId});
}

void THtmlPropStack::Inherit(const TProperties& parent, TProperties& child, std::string_view tag) {
  if (CopiesEverything(parent.PropTag)) {
    const bool keepFlags = parent.PropTag != "span";
    child = parent;
    if (!keepFlags) child.ClearRuleFlags();
  } else {
    for (PropIndex i : kInherited) child.Set(i, parent[i]);
  }
  if (tag == "table") child.Set(WordWrap, TPropValue::MakeText("normal"));
  child.DefFontName = parent.DefFontName;
  child.CharSet = parent.CharSet;
  child.CodePage = parent.CodePage;
  child.PropTitle = parent.PropTitle;
  child.SetCachedFont(parent.CachedFont());
}

void THtmlPropStack::PushProp(std::string_view tag, std::string_view cls, std::string_view id,
                              const TProperties* styleAttr, std::string_view title) {
  const std::size_t depth = levels_.size();
  TProperties& p = Own(depth);
  Compute(p, depth, tag, cls, id, styleAttr, title);
  levels_.push_back({&p, nextId_++});
}

void THtmlPropStack::Compute(TProperties& p, std::size_t depth, std::string_view tag, std::string_view cls,
                             std::string_view id, const TProperties* styleAttr, std::string_view title) {
  const TProperties& parent = *levels_[depth - 1].props;
  p.ResetToNew();
  Inherit(parent, p, tag);
  p.Quirks = styles_->Quirks();
  p.PropTag = tag;
  p.PropClass = cls;
  p.PropID = id;
  if (!title.empty()) p.PropTitle = title;
  MergeStyleRules(p);
  if (styles_->HasDescendantRules()) MergeDescendantRules(p, depth);
  if (styleAttr) p.Merge(*styleAttr);
  ConvertFontSize(p, parent);
}

void THtmlPropStack::MergeKey(TProperties& p, std::string_view a, std::string_view b, std::string_view c,
                              std::string_view d) {
  key_.assign(a);
  key_.append(b);
  key_.append(c);
  key_.append(d);
  if (const TProperties* e = styles_->Find(key_)) p.Merge(*e);
}

void THtmlPropStack::MergeStyleRules(TProperties& p) {
  if (const TProperties* e = styles_->Find(p.PropTag)) p.Merge(*e);
  if (styles_->HasClassOrIdRules()) {
    std::string_view classes = p.PropClass;
    const bool several = classes.find('.') != std::string_view::npos;
    while (!classes.empty()) {
      const std::string_view one = classes.substr(0, classes.find('.'));
      MergeKey(p, ".", one);
      MergeKey(p, p.PropTag, ".", one);
      classes.remove_prefix(std::min(classes.size(), one.size() + 1));
    }
    if (several) {
      MergeKey(p, ".", p.PropClass);
      MergeKey(p, p.PropTag, ".", p.PropClass);
    }
    if (!p.PropID.empty()) {
      MergeKey(p, "#", p.PropID);
      MergeKey(p, p.PropTag, "#", p.PropID);
      if (!p.PropClass.empty()) {
        MergeKey(p, ".", p.PropClass, "#", p.PropID);
        const std::string tagDot = std::string(p.PropTag) + ".";
        MergeKey(p, tagDot, p.PropClass, "#", p.PropID);
      }
    }
  }
}

void THtmlPropStack::MergeDescendantRules(TProperties& p, std::size_t depth) {
  candidates_.clear();
  styles_->CandidateRules(p.PropTag, p.PropClass, p.PropID, candidates_);
  const std::vector<TDescendantRule>& rules = styles_->DescendantRules();
  for (const std::uint32_t position : candidates_) {
    const TDescendantRule& rule = rules[position];
    if (!CompoundMatches(rule.parts.back(), p)) continue;
    if (ContextMatches(rule, depth)) p.Merge(rule.props);
  }
}

// The element itself is at the given depth; its ancestors lie below it, the
// bottom "default" set excluded.
bool THtmlPropStack::ContextMatches(const TDescendantRule& rule, std::size_t depth) const {
  std::size_t pos = depth;
  for (std::size_t k = rule.parts.size() - 1; k-- > 0;) {
    if (rule.childOf[k]) {
      if (pos <= 1 || !CompoundMatches(rule.parts[k], At(pos - 1))) return false;
      --pos;
    } else {
      bool found = false;
      while (pos > 1) {
        --pos;
        if (CompoundMatches(rule.parts[k], At(pos))) {
          found = true;
          break;
        }
      }
      if (!found) return false;
    }
  }
  return true;
}

void THtmlPropStack::ConvertFontSize(TProperties& p, const TProperties& parent) {
  if (!p[FontSize].IsText()) return;
  double base = parent.FontSizePoints(styles_->DefFontSize());
  if (p.Quirks && (p.PropTag == "td" || p.PropTag == "th")) base = styles_->DefFontSize();
  const bool byRule = p.IsSetByRule(FontSize);
  p.Set(FontSize, TPropValue::MakeReal(FontSizeToPoints(p.TextOf(FontSize), base, styles_->PixelsPerInch())));
  if (byRule) p.SetByRule(FontSize, p[FontSize]);
}

void THtmlPropStack::PopProp(std::string_view tag) {
  std::size_t i = levels_.size();
  while (i > 1 && At(i - 1).PropTag != tag) --i;
  if (i <= 1) return;
  levels_.erase(levels_.begin() + static_cast<std::ptrdiff_t>(i - 1));
  // The sets above move down one place and change: each becomes the own
  // copy of its new depth, read from the old place before that is reused.
  for (std::size_t j = i - 1; j < levels_.size(); ++j) {
    TProperties& own = Own(j);
    own = *levels_[j].props;
    levels_[j].props = &own;
    levels_[j].id = nextId_++;
    for (PropIndex k : kInherited) {
      if (!own.IsSetByRule(k)) own.Set(k, At(j - 1)[k]);
    }
  }
}

}  // namespace talmeko::htmlview
