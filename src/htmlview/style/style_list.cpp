#include "htmlview/style/style_list.h"

#include <algorithm>
#include <cmath>

#include "htmlview/base/buffer.h"

namespace talmeko::htmlview {
namespace {

TPropValue Text(std::string_view literal) { return TPropValue::MakeText(literal); }
TPropValue Int(std::int64_t i) { return TPropValue::MakeInt(i); }

bool IsCompoundChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
         c == '#' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

std::string_view TakeName(std::string_view& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] != '.' && text[i] != '#' && text[i] != ':') ++i;
  const std::string_view name = text.substr(0, i);
  text.remove_prefix(i);
  return name;
}

bool IsDescendantSelector(std::string_view selector) {
  return selector.find(' ') != std::string_view::npos || selector.find('>') != std::string_view::npos;
}

bool ParseDescendant(std::string_view selector, TDescendantRule& rule) {
  bool child = false;
  std::size_t i = 0;
  while (i < selector.size()) {
    if (selector[i] == ' ') { ++i; continue; }
    if (selector[i] == '>') { child = true; ++i; continue; }
    std::size_t j = i;
    while (j < selector.size() && IsCompoundChar(selector[j])) ++j;
    if (j == i) return false;
    TSelectorCompound c;
    if (!ParseCompound(selector.substr(i, j - i), c)) return false;
    if (!rule.parts.empty()) rule.childOf.push_back(child);
    rule.parts.push_back(std::move(c));
    child = false;
    i = j;
  }
  return rule.parts.size() >= 2;
}

}  // namespace

bool ParseCompound(std::string_view text, TSelectorCompound& c) {
  c.tag = std::string(TakeName(text));
  while (!text.empty()) {
    const char kind = text.front();
    text.remove_prefix(1);
    const std::string_view name = TakeName(text);
    if (name.empty()) return false;
    if (kind == '.') c.classes.emplace_back(name);
    else if (kind == '#') c.id = std::string(name);
    else c.pseudo = std::string(name);
  }
  return !c.tag.empty() || !c.classes.empty() || !c.id.empty() || !c.pseudo.empty();
}

void THtmlStyleList::Initialize(const ViewDefaults& defaults, bool quirks, TTextPool& pool,
                                int pixelsPerInch) {
  entries_.clear();
  descendants_.clear();
  descendantBySelector_.clear();
  descendantsByKey_.clear();
  pool_ = &pool;
  quirks_ = quirks;
  classOrIdRules_ = false;
  pixelsPerInch_ = pixelsPerInch;
  defFontSize_ = defaults.DefFontSize;
  AddDefaultEntries(defaults);
  if (quirks) {
    AddQuirksEntries(defaults);
  } else {
    Entry("th").Set(FontWeight, Text("bold"));
    Entry("table").Set(TextAlign, Text("none"));
  }
}

void THtmlStyleList::AddDefaultEntries(const ViewDefaults& d) {
  TProperties& def = Entry("default");
  def.DefFontName = pool_->Store(d.DefFontName);
  def.CharSet = d.CharSet;
  def.CodePage = CharSetToCodePage(d.CharSet);
  def.Quirks = quirks_;
  def.Set(FontFamily, Text(def.DefFontName));
  def.Set(FontSize, Int(static_cast<std::int64_t>(std::lround(d.DefFontSize))));
  def.Set(FontStyle, Text("none"));
  def.Set(FontWeight, Text("normal"));
  def.Set(TextAlign, Text("left"));
  def.Set(TextDecoration, Text("none"));
  def.Set(TextTransform, Int(kTextTransformNone));
  def.Set(WordWrap, Text("normal"));
  def.Set(FontVariant, Text("normal"));
  def.Set(Color, Int(d.DefFontColor));
  def.Set(MarginTop, Int(d.MarginHeight));
  def.Set(MarginBottom, Int(d.MarginHeight));
  def.Set(MarginLeft, Int(d.MarginWidth));
  def.Set(MarginRight, Int(d.MarginWidth));
  def.Set(Visibility, Int(kVisibilityVisible));
  def.Set(LetterSpacing, Int(0));
  def.Set(BoxSizing, Int(0));

  // Elements the result pages do not use; kept so that other pages look as
  // readers expect.
  TProperties& link = Entry("a:link");
  link.Set(Color, Int(d.DefHotSpotColor));
  if (!(d.HtOptions & htNoLinkUnderline)) link.Set(TextDecoration, Text("underline"));
  Entry("a:visited").Set(Color, Int(d.DefVisitedLinkColor));
  Entry("a:hover").Set(Color, Int(d.DefOverLinkColor));
  const std::string_view pre = pool_->Store(d.DefPreFontName);
  for (std::string_view tag : {"pre", "code", "tt", "kbd", "samp"}) Entry(tag).Set(FontFamily, Text(pre));
  for (std::string_view tag : {"b", "strong"}) Entry(tag).Set(FontWeight, Text("bold"));
  for (std::string_view tag : {"i", "em", "cite", "var", "dfn", "address"}) Entry(tag).Set(FontStyle, Text("italic"));
  Entry("u").Set(TextDecoration, Text("underline"));
  for (std::string_view tag : {"s", "strike", "del"}) Entry(tag).Set(TextDecoration, Text("line-through"));
  static constexpr std::string_view kHeadings[] = {"h1", "h2", "h3", "h4", "h5", "h6"};
  static constexpr double kHeadingSizes[] = {24, 18, 14, 12, 10, 8};
  for (int i = 0; i < 6; ++i) {
    TProperties& h = Entry(kHeadings[i]);
    h.Set(FontWeight, Text("bold"));
    h.Set(FontSize, TPropValue::MakeReal(kHeadingSizes[i]));
  }
}

void THtmlStyleList::AddQuirksEntries(const ViewDefaults& d) {
  TProperties td;
  td.Set(FontSize, TPropValue::MakeReal(d.DefFontSize));
  td.Set(FontStyle, Text("none"));
  td.Set(FontWeight, Text("normal"));
  td.Set(Color, Int(d.DefFontColor));
  Entry("td").Merge(td);
  Entry("table").Merge(td);
  TProperties& th = Entry("th");
  th.Merge(td);
  th.Set(FontWeight, Text("bold"));
  for (const char* name : {"td", "table", "th"}) Entry(name).ClearRuleFlags();
}

const TProperties* THtmlStyleList::Find(std::string_view selector) const {
  const auto it = entries_.find(selector);
  return it == entries_.end() ? nullptr : &it->second;
}

TProperties& THtmlStyleList::Entry(std::string_view selector) {
  ++version_;
  auto it = entries_.find(selector);
  if (it == entries_.end()) {
    if (selector.find_first_of(".#") != std::string_view::npos) classOrIdRules_ = true;
    it = entries_.emplace(std::string(selector), TProperties()).first;
    it->second.PropTag = "";
  }
  return it->second;
}

TDescendantRule& THtmlStyleList::DescendantEntry(std::string_view selector) {
  ++version_;
  if (const auto it = descendantBySelector_.find(selector); it != descendantBySelector_.end()) {
    return descendants_[it->second];
  }
  TDescendantRule rule;
  rule.selector = std::string(selector);
  if (!ParseDescendant(selector, rule)) rule.parts.clear();
  const auto position = static_cast<std::uint32_t>(descendants_.size());
  descendants_.push_back(std::move(rule));
  descendantBySelector_.emplace(std::string(selector), position);
  IndexRule(position);
  return descendants_.back();
}

// A compound with a pseudo-class matches no element here, so its rule is
// left out of the index.
void THtmlStyleList::IndexRule(std::uint32_t position) {
  const TDescendantRule& rule = descendants_[position];
  if (rule.parts.empty() || !rule.parts.back().pseudo.empty()) return;
  const TSelectorCompound& last = rule.parts.back();
  std::string key = last.tag;
  if (!last.id.empty()) key = "#" + last.id;
  else if (!last.classes.empty()) key = "." + last.classes.front();
  descendantsByKey_[key].push_back(position);
}

void THtmlStyleList::AppendBucket(std::string_view key, std::vector<std::uint32_t>& out) const {
  const auto it = descendantsByKey_.find(key);
  if (it != descendantsByKey_.end()) out.insert(out.end(), it->second.begin(), it->second.end());
}

void THtmlStyleList::CandidateRules(std::string_view tag, std::string_view classes, std::string_view id,
                                    std::vector<std::uint32_t>& out) const {
  const std::size_t first = out.size();
  std::size_t buckets = 0;
  const auto append = [&](std::string_view prefix, std::string_view name) {
    key_.assign(prefix);
    key_.append(name);
    const std::size_t before = out.size();
    AppendBucket(key_, out);
    if (out.size() > before) ++buckets;
  };
  append("", tag);
  while (!classes.empty()) {
    const std::string_view one = classes.substr(0, classes.find('.'));
    if (!one.empty()) append(".", one);
    classes.remove_prefix(std::min(classes.size(), one.size() + 1));
  }
  if (!id.empty()) append("#", id);
  if (buckets > 1) {
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
    out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(first), out.end()), out.end());
  }
}

std::vector<std::string> THtmlStyleList::Selectors() const {
  std::vector<std::string> out;
  for (const auto& [k, v] : entries_) out.push_back(k);
  for (const auto& rule : descendants_) out.push_back(rule.selector);
  std::sort(out.begin(), out.end());
  return out;
}

void THtmlStyleList::AddProperty(std::string_view selector, PropIndex index, const TPropValue& value) {
  if (selector.empty()) return;
  if (IsDescendantSelector(selector)) {
    DescendantEntry(selector).props.Set(index, value);
    return;
  }
  TProperties& entry = Entry(selector);
  entry.Set(index, value);
  if (quirks_ && index == Color && selector == "body") FixupTableColor(entry);
}

void THtmlStyleList::FixupTableColor(const TProperties& body) {
  if (!quirks_) return;
  static constexpr PropIndex kTableProps[] = {FontSize, FontStyle, FontWeight, FontVariant, Color,
                                              BorderTopColor, BorderRightColor, BorderBottomColor,
                                              BorderLeftColor};
  static constexpr PropIndex kCellProps[] = {Color, BorderTopColor, BorderRightColor, BorderBottomColor,
                                             BorderLeftColor};
  TProperties& table = Entry("table");
  for (PropIndex i : kTableProps) {
    if (!body[i].HoldsNoValue()) table.Set(i, body[i]);
  }
  for (const char* name : {"td", "th"}) {
    TProperties& cell = Entry(name);
    for (PropIndex i : kCellProps) {
      if (!body[i].HoldsNoValue()) cell.Set(i, body[i]);
    }
  }
}

}  // namespace talmeko::htmlview
