#include "htmlview/style/style_sheet_parser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "htmlview/base/exceptions.h"
#include "htmlview/base/text_util.h"
#include "htmlview/style/shorthand.h"

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
    if (ConvertDeclaredValue(index, value, TDeclarationSource::StyleSheet, styles_.Pool(), v)) StoreValue(index, value, v);
  }
  void StoreValue(PropIndex index, std::string_view, const TPropValue& value) override {
    for (const auto& s : selectors_) styles_.AddProperty(s, index, value);
  }

 private:
  THtmlStyleList& styles_;
  const std::vector<std::string>& selectors_;
};

void FinishValue(std::string& value) {
  const std::string_view v = Unquote(TrimSpaces(value));
  const std::size_t from = static_cast<std::size_t>(v.data() - value.data());
  value.resize(from + v.size());
  value.erase(0, from);
}

bool IsAttributeSpace(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t'; }

// The lower-case form of each ASCII character that may stand in a
// declaration name of a style attribute (letters, digits, "-"); 0 for the
// others.
constexpr std::array<char, 128> NameChars() {
  std::array<char, 128> chars{};
  for (int c = 0; c < 128; ++c) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') chars[c] = static_cast<char>(c);
    else if (c >= 'A' && c <= 'Z') chars[c] = static_cast<char>(c - 'A' + 'a');
  }
  return chars;
}

constexpr std::array<char, 128> kNameChars = NameChars();

bool IsAttributeNameChar(char16_t c) { return c < 128 && kNameChars[c] != 0; }

// Lower-cases text from "from" into UTF-8 at out, which has room for three
// bytes a character (a lone surrogate becomes "?", as AppendUtf8 writes
// it); stops at the first ";".
struct TLowered {
  std::size_t next;  // the ";" or the end of the text
  char* end;         // of what was written
};
TLowered LowerUtf8UpToSemicolon(std::u16string_view text, std::size_t from, char* out) {
  const std::size_t n = text.size();
  std::size_t i = from;
#if defined(__SSE2__)
  // Eight ASCII characters at a time, packed to bytes and lowered at once;
  // a ";" among them ends the value there. Characters past ASCII, and the
  // last few of the text, go one at a time.
  const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i semicolon = _mm_set1_epi16(u';');
  const __m128i beforeA = _mm_set1_epi8('A' - 1);
  const __m128i afterZ = _mm_set1_epi8('Z' + 1);
  const __m128i caseBit = _mm_set1_epi8(0x20);
  while (i + 8 <= n) {
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(chars, nonAscii), _mm_setzero_si128());
    if (_mm_movemask_epi8(ascii) != 0xFFFF) break;
    const __m128i bytes = _mm_packus_epi16(chars, chars);
    const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(bytes, beforeA), _mm_cmplt_epi8(bytes, afterZ));
    // All eight bytes are written; out has room for three a character.
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_add_epi8(bytes, _mm_and_si128(upper, caseBit)));
    const unsigned semicolons = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, semicolon)));
    if (semicolons != 0) {
      const auto before = static_cast<std::size_t>(std::countr_zero(semicolons) / 2);
      return {i + before, out + before};
    }
    out += 8;
    i += 8;
  }
#endif
  for (; i < n; ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      if (c == u';') break;
      *out++ = static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c);
    } else if (c < 0x800) {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c < 0xE000) {
      *out++ = '?';
    } else {
      *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return {i, out};
}

// Lowers the name starting at "from" into out eight characters at a time
// while whole blocks fit before "stored"; returns where it stopped, at the
// first character that cannot stand in a name or before a block that would
// not fit. Bytes past the name stay zero.
std::size_t LowerNameBlocks(std::u16string_view text, std::size_t from, std::size_t stored, char* out) {
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i caseBit = _mm_set1_epi16(0x20);
  const __m128i beforeA = _mm_set1_epi16('a' - 1);
  const __m128i afterZ = _mm_set1_epi16('z' + 1);
  const __m128i beforeZero = _mm_set1_epi16('0' - 1);
  const __m128i afterNine = _mm_set1_epi16('9' + 1);
  const __m128i dash = _mm_set1_epi16('-');
  while (i + 8 <= stored) {
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    // Digits and "-" have the case bit already, so setting it lowers the
    // letters and leaves every other name character as it is. Characters
    // from 0x8000 compare as negative and fall in no range.
    const __m128i lowered = _mm_or_si128(chars, caseBit);
    const __m128i letter = _mm_and_si128(_mm_cmpgt_epi16(lowered, beforeA), _mm_cmplt_epi16(lowered, afterZ));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi16(chars, beforeZero), _mm_cmplt_epi16(chars, afterNine));
    const __m128i valid = _mm_or_si128(_mm_or_si128(letter, digit), _mm_cmpeq_epi16(chars, dash));
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(valid));
    const std::size_t count = mask == 0xFFFF ? 8 : static_cast<std::size_t>(std::countr_zero(~mask) / 2);
    if (count == 0) return i;
    // Eight bytes are written whole, those past the name cleared: the block
    // fits before "stored", so they stay within the name's room.
    std::uint64_t word;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&word), _mm_packus_epi16(lowered, lowered));
    if (count < 8) word &= (std::uint64_t{1} << (8 * count)) - 1;
    std::memcpy(out + (i - from), &word, 8);
    i += count;
    if (count < 8) return i;
  }
#else
  static_cast<void>(text);
  static_cast<void>(stored);
  static_cast<void>(out);
#endif
  return i;
}

// The declarations of a style attribute, each expanded into the sink:
// name, then ":" or "=", then the value up to the next ";". Text that does
// not make a declaration is passed over up to the next name.
// With direct set, declarations go through the expansion that takes the
// common forms without splitting words; without, through the general one.
template <bool Direct>
void ReadStyleAttribute(std::u16string_view text, TStyleAttributeSink& sink) {
  // Values usually are short: lowered in place, longer ones on the heap.
  std::array<char, 3 * 64> local;
  std::unique_ptr<char[]> heap;
  std::size_t heapSize = 0;
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    while (i < n && IsAttributeSpace(text[i])) ++i;
    // The name is lowered straight into the padded form the look-up takes;
    // past its room it is only read over.
    std::array<char, kMaxTableName> name{};
    const std::size_t nameStart = i;
    const std::size_t stored = std::min(n, nameStart + kMaxTableName);
    i = LowerNameBlocks(text, i, stored, name.data());
    for (; i < stored && text[i] < 128; ++i) {
      const char c = kNameChars[text[i]];
      if (c == 0) break;
      name[i - nameStart] = c;
    }
    if (i == stored) {
      while (i < n && IsAttributeNameChar(text[i])) ++i;
    }
    const std::size_t nameLength = i - nameStart;
    while (i < n && text[i] == u' ') ++i;
    if (i < n && (text[i] == u':' || text[i] == u'=') && nameLength > 0) {
      ++i;
      // Room for the rest of the text, which holds the value.
      char* out = local.data();
      const std::size_t room = (n - i) * 3;
      if (room > local.size()) {
        if (room > heapSize) {
          heapSize = room;
          heap = std::make_unique<char[]>(heapSize);
        }
        out = heap.get();
      }
      const TLowered lowered = LowerUtf8UpToSemicolon(text, i, out);
      i = lowered.next;
      if (nameLength <= kMaxTableName) {
        const TTableName key = TTableName::FromPadded(name, nameLength);
        const std::string_view value = TrimAndUnquote(out, lowered.end);
        if constexpr (Direct) ExpandAttributeDeclaration(key, value, sink);
        else ExpandDeclaration(key, value, sink);
      }
    }
    if (i < n && text[i] == u';') ++i;
    while (i < n && !IsAttributeNameChar(text[i])) ++i;
  }
}

// A new set holds z-index 0, which a merge copies like any value; made
// once, it is copied as it is.
constexpr TPropValue kNewZIndex = TPropValue::MakeInt(0);

// Short ASCII texts are read at once; the others one declaration at a time.
void ReadAttribute(std::u16string_view text, TStyleAttributeSink& sink) {
  if (!ReadShortStyleAttribute(text, sink)) ReadStyleAttribute<true>(text, sink);
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
  TStyleAttributeSink sink(pool, props, false);
  ReadAttribute(text, sink);
}

void MergeStyleAttribute(std::u16string_view text, TTextPool& pool, TProperties& props) {
  props.SetByRule(ZIndex, kNewZIndex);
  TStyleAttributeSink sink(pool, props, true);
  ReadAttribute(text, sink);
}

void ParseStyleAttributePlainly(std::u16string_view text, TTextPool& pool, TProperties& props) {
  TStyleAttributeSink sink(pool, props, false);
  ReadStyleAttribute<false>(text, sink);
}

void MergeStyleAttributePlainly(std::u16string_view text, TTextPool& pool, TProperties& props) {
  props.SetByRule(ZIndex, kNewZIndex);
  TStyleAttributeSink sink(pool, props, true);
  ReadStyleAttribute<false>(text, sink);
}

}  // namespace talmeko::htmlview
