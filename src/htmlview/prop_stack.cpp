#include "htmlview/prop_stack.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include <algorithm>

#include "htmlview/style_sheet_parser.h"

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
  stack_.clear();
  ids_.assign(1, nextId_++);
  slots_.assign(1, nullptr);
  cache_.clear();
  cacheStyleVersion_ = styles.Version();
  const TProperties* def = styles.Find("default");
  stack_.push_back(def ? *def : TProperties());
  stack_.back().PropTag = "default";
  stack_.back().Quirks = styles.Quirks();
  stack_.back().ClearRuleFlags();
}

TProperties& THtmlPropStack::EmplaceChild() {
  if (stack_.size() == stack_.capacity()) stack_.reserve(stack_.capacity() * 2 + 8);
  ids_.push_back(nextId_++);
  slots_.push_back(nullptr);
  return stack_.emplace_back();
}

void THtmlPropStack::BuildCacheKey(std::string_view tag, std::string_view cls, std::string_view id,
                                   std::string_view title, const std::u16string* styleText) {
  const std::uint32_t parent = ids_.back();
  cacheKey_.assign(reinterpret_cast<const char*>(&parent), sizeof parent);
  for (std::string_view part : {tag, cls, id, title}) {
    cacheKey_.append(part);
    cacheKey_ += '\0';
  }
  if (styleText) {
    cacheKey_ += '\1';
    cacheKey_.append(reinterpret_cast<const char*>(styleText->data()), styleText->size() * sizeof(char16_t));
  }
}

void THtmlPropStack::PushElement(std::string_view tag, std::string_view cls, std::string_view id,
                                 std::string_view title, const std::u16string* styleText) {
  if (styles_->Version() != cacheStyleVersion_) {
    // The open elements keep their sets, but no longer their cache entries.
    std::fill(slots_.begin(), slots_.end(), nullptr);
    cache_.clear();
    cacheStyleVersion_ = styles_->Version();
  }
  BuildCacheKey(tag, cls, id, title, styleText);
  if (auto hit = cache_.find(cacheKey_); hit != cache_.end()) {
    if (stack_.size() == stack_.capacity()) stack_.reserve(stack_.capacity() * 2 + 8);
    stack_.push_back(hit->second.props);
    ids_.push_back(hit->second.id);
    slots_.push_back(&hit->second);
    return;
  }
  TTextPool& pool = styles_->Pool();
  auto stored = [&pool](std::string_view text) { return text.empty() ? std::string_view() : pool.Store(text); };
  TProperties styleAttr;
  if (styleText) ParseStyleAttribute(*styleText, pool, styleAttr);
  PushProp(tag, stored(cls), stored(id), styleText ? &styleAttr : nullptr, stored(title));
  if (cache_.size() < kMaxCachedSets) {
    slots_.back() = &cache_.emplace(cacheKey_, CachedSet{stack_.back(), ids_.back()}).first->second;
  }
}

const TFontInfo* THtmlPropStack::TopFont(TFontResolver& fonts) {
  const TFontInfo* font = fonts.FontOf(stack_.back());
  if (slots_.back()) slots_.back()->props.SetCachedFont(font);
  return font;
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
  TProperties& p = EmplaceChild();
  const TProperties& parent = stack_[stack_.size() - 2];
  Inherit(parent, p, tag);
  p.Quirks = styles_->Quirks();
  p.PropTag = tag;
  p.PropClass = cls;
  p.PropID = id;
  if (!title.empty()) p.PropTitle = title;
  MergeStyleRules(p);
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
  if (styles_->HasDescendantRules()) MergeDescendantRules(p);
}

void THtmlPropStack::MergeDescendantRules(TProperties& p) {
  for (const auto& rule : styles_->DescendantRules()) {
    if (rule.parts.empty() || !CompoundMatches(rule.parts.back(), p)) continue;
    if (ContextMatches(rule)) p.Merge(rule.props);
  }
}

// The element itself is the top set; its ancestors lie below it, the bottom
// "default" set excluded.
bool THtmlPropStack::ContextMatches(const TDescendantRule& rule) const {
  std::size_t pos = stack_.size() - 1;
  for (std::size_t k = rule.parts.size() - 1; k-- > 0;) {
    if (rule.childOf[k]) {
      if (pos <= 1 || !CompoundMatches(rule.parts[k], stack_[pos - 1])) return false;
      --pos;
    } else {
      bool found = false;
      while (pos > 1) {
        --pos;
        if (CompoundMatches(rule.parts[k], stack_[pos])) {
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
  std::size_t i = stack_.size();
  while (i > 1 && stack_[i - 1].PropTag != tag) --i;
  if (i <= 1) return;
  stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(i - 1));
  ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(i - 1));
  slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(i - 1));
  for (std::size_t j = i - 1; j < stack_.size(); ++j) {
    ids_[j] = nextId_++;
    slots_[j] = nullptr;
    for (PropIndex k : kInherited) {
      if (!stack_[j].IsSetByRule(k)) stack_[j].Set(k, stack_[j - 1][k]);
    }
  }
}

void THtmlPropStack::PopToDepth(std::size_t depth) {
  if (depth >= stack_.size()) return;
  stack_.resize(depth);
  ids_.resize(depth);
  slots_.resize(depth);
}

}  // namespace talmeko::htmlview
