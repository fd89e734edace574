#include "htmlview/style_sheet_parser.h"

#include "htmlview/exceptions.h"
#include "htmlview/shorthand.h"
#include "htmlview/text_util.h"

namespace talmeko::htmlview {
namespace {

bool IsSelectorChar(char16_t c) {
  return c == u' ' || c == u'#' || c == u'.' || c == u':' || c == u'-' || c == u'>' || c == u'_' ||
         IsDigit(c) || IsAsciiLetter(c);
}

bool IsPropertyNameChar(char16_t c) {
  return IsAsciiLetter(c) || IsDigit(c) || c == u'-' || c == u'_' || c >= 160;
}

// Stores a declaration for every selector of the rule.
class TSheetSink : public TPropertySink {
 public:
  TSheetSink(THtmlStyleList& styles, const std::vector<std::string>& selectors)
      : styles_(styles), selectors_(selectors) {}
  void Store(PropIndex index, std::string_view value) override {
    TPropValue v;
    if (!ConvertDeclaredValue(index, value, TDeclarationSource::StyleSheet, styles_.Pool(), v)) return;
    for (const auto& s : selectors_) styles_.AddProperty(s, index, v);
  }

 private:
  THtmlStyleList& styles_;
  const std::vector<std::string>& selectors_;
};

// Stores the declarations of a style attribute into the element's set.
class TAttributeSink : public TPropertySink {
 public:
  TAttributeSink(TTextPool& pool, TProperties& props) : pool_(pool), props_(props) {}
  void Store(PropIndex index, std::string_view value) override {
    TPropValue v;
    if (ConvertDeclaredValue(index, value, TDeclarationSource::StyleAttribute, pool_, v)) props_.Set(index, v);
  }

 private:
  TTextPool& pool_;
  TProperties& props_;
};

void FinishValue(std::string& value) {
  const std::string_view v = Unquote(TrimSpaces(value));
  const std::size_t from = static_cast<std::size_t>(v.data() - value.data());
  value.resize(from + v.size());
  value.erase(0, from);
}

// Most characters of a declaration are ASCII; only the others need the
// UTF-8 encoder.
void AppendLowerUtf8(std::string& out, char16_t c) {
  if (c < 0x80) out += static_cast<char>(ToLowerAscii(c));
  else AppendUtf8(out, ToLowerAscii(c));
}

}  // namespace

void TStyleSheetParser::Get() {
  char16_t c = buffer_.ReadChar();
  if (c == u'/' && buffer_.PeekChar() == u'*') {
    buffer_.ReadChar();
    char16_t prev = 0;
    for (;;) {
      c = buffer_.ReadChar();
      if (c == 0) throw EParseError("Unterminated comment in style file: " + buffer_.Name());
      if (prev == u'*' && c == u'/') break;
      prev = c;
    }
    c = u' ';
  }
  if (c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r') c = u' ';
  ch_ = c;
}

void TStyleSheetParser::SkipSpaces() {
  while (ch_ == u' ') Get();
}

// An HTML comment around the rules is ignored; a "<" that does not open one
// is the start of the end tag and ends the style element.
void TStyleSheetParser::SkipLeading() {
  for (;;) {
    if (ch_ == u' ' || ch_ == u'!' || ch_ == u'-' || ch_ == u'>') Get();
    else if (ch_ == u'<' && buffer_.PeekChar() == u'!') Get();
    else return;
  }
}

void TStyleSheetParser::SkipAfterRule() {
  while (ch_ == u' ' || ch_ == u'-' || ch_ == u'>') Get();
}

char16_t TStyleSheetParser::Parse() {
  Get();
  SkipLeading();
  while (ch_ != u'<' && ch_ != 0) {
    if (ch_ == u'@') SkipAtRule();
    else ReadRule();
    SkipAfterRule();
  }
  return ch_;
}

// At-rules are not applied: the rule is passed over up to its ";" or the end
// of its block.
void TStyleSheetParser::SkipAtRule() {
  int depth = 0;
  while (ch_ != 0 && ch_ != u'<') {
    if (ch_ == u';' && depth == 0) {
      Get();
      return;
    }
    if (ch_ == u'{') ++depth;
    if (ch_ == u'}' && --depth <= 0) {
      Get();
      return;
    }
    Get();
  }
}

void TStyleSheetParser::ReadRule() {
  std::vector<std::string> selectors;
  ReadSelectors(selectors);
  while (ch_ != u'{' && ch_ != u'<' && ch_ != 0) Get();
  if (ch_ != u'{') return;
  Get();
  ReadDeclarations(selectors);
}

void TStyleSheetParser::ReadSelectors(std::vector<std::string>& selectors) {
  std::string current;
  bool dropped = false;
  auto finish = [&] {
    const std::string_view s = TrimSpaces(current);
    if (!dropped && !s.empty()) selectors.emplace_back(s);
    current.clear();
    dropped = false;
  };
  for (;;) {
    if (IsSelectorChar(ch_)) current += static_cast<char>(ToLowerAscii(ch_));
    else if (ch_ == u'*') current += ' ';
    else if (ch_ == u'+') dropped = true;
    else if (ch_ == u',') finish();
    else break;
    Get();
  }
  finish();
}

void TStyleSheetParser::ReadDeclarations(const std::vector<std::string>& selectors) {
  TSheetSink sink(styles_, selectors);
  std::string name;
  std::string value;
  for (;;) {
    SkipSpaces();
    if (ch_ == u'}') {
      Get();
      return;
    }
    if (ch_ == u'<' || ch_ == 0) return;
    name.clear();
    while (IsPropertyNameChar(ch_)) {
      AppendUtf8(name, ToLowerAscii(ch_));
      Get();
    }
    SkipSpaces();
    if ((ch_ == u':' || ch_ == u'=') && !name.empty()) {
      Get();
      ReadValue(value);
      ExpandDeclaration(name, value, sink);
    }
    SkipToDeclarationEnd();
  }
}

void TStyleSheetParser::ReadValue(std::string& value) {
  value.clear();
  while (ch_ != u';' && ch_ != u'}' && ch_ != u'<' && ch_ != 0) {
    AppendUtf8(value, ToLowerAscii(ch_));
    Get();
  }
  FinishValue(value);
}

void TStyleSheetParser::SkipToDeclarationEnd() {
  char16_t quote = 0;
  int depth = 0;
  while (ch_ != 0 && ch_ != u'<') {
    if (quote) {
      if (ch_ == quote) quote = 0;
    } else if (ch_ == u'"' || ch_ == u'\'') {
      quote = ch_;
    } else if (ch_ == u'(' || ch_ == u'[') {
      ++depth;
    } else if ((ch_ == u')' || ch_ == u']') && depth > 0) {
      --depth;
    } else if (ch_ == u'}' && depth == 0) {
      return;
    } else if (ch_ == u';' && depth == 0) {
      Get();
      return;
    }
    Get();
  }
}

void ParseStyleAttribute(std::u16string_view text, TTextPool& pool, TProperties& props) {
  TAttributeSink sink(pool, props);
  std::string name;
  std::string value;
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return k < text.size() ? text[k] : u'\0'; };
  while (i < text.size()) {
    while (at(i) == u' ' || at(i) == u'\r' || at(i) == u'\n' || at(i) == u'\t') ++i;
    name.clear();
    while (IsAsciiLetter(at(i)) || IsDigit(at(i)) || at(i) == u'-') name += static_cast<char>(ToLowerAscii(text[i++]));
    while (at(i) == u' ') ++i;
    if ((at(i) == u':' || at(i) == u'=') && !name.empty()) {
      ++i;
      value.clear();
      while (i < text.size() && text[i] != u';') AppendLowerUtf8(value, text[i++]);
      FinishValue(value);
      ExpandDeclaration(name, value, sink);
    }
    if (at(i) == u';') ++i;
    while (i < text.size() && !IsAsciiLetter(text[i]) && !IsDigit(text[i]) && text[i] != u'-') ++i;
  }
}

}  // namespace talmeko::htmlview
