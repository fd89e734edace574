#include "htmlview/parse/html_parser.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "htmlview/base/exceptions.h"
#include "htmlview/base/text_util.h"
#include "htmlview/parse/entities.h"

namespace talmeko::htmlview {
namespace {

bool StartsWithNoCase(std::u16string_view text, std::size_t at, std::u16string_view upperWord) {
  if (at + upperWord.size() > text.size()) return false;
  for (std::size_t k = 0; k < upperWord.size(); ++k) {
    if (ToUpperAscii(text[at + k]) != upperWord[k]) return false;
  }
  return true;
}

// A public identifier of HTML 4.01, XHTML 1.0, XHTML 1.1 or XHTML Basic 1.1.
bool IsStandardsDoctype(std::u16string_view decl) {
  std::u16string upper;
  for (char16_t c : decl) upper += ToUpperAscii(c);
  const std::size_t pub = upper.find(u"PUBLIC");
  if (pub == std::u16string::npos) return false;
  std::size_t id = upper.find(u"-//W3C//DTD ", pub);
  if (id == std::u16string::npos) return false;
  id += 12;
  for (std::u16string_view type : {u"HTML 4.01", u"XHTML 1.0", u"XHTML 1.1", u"XHTML BASIC 1.1"}) {
    if (upper.compare(id, type.size(), type) == 0) return true;
  }
  return false;
}

constexpr char16_t kReplacement = u'\uFFFD';

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
    out += kReplacement;
  } else if (cp >= 0x10000) {
    out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

int HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

bool IsQuirksDocument(TBuffer& buffer) {
  const std::u16string_view text = buffer.Text();
  std::size_t i = 0;
  for (;;) {
    i = text.find(u'<', i);
    if (i == std::u16string_view::npos) return true;
    ++i;
    if (i < text.size() && text[i] == u'!') {
      const std::size_t gt = text.find(u'>', i);
      if (StartsWithNoCase(text, i + 1, u"DOCTYPE") &&
          IsStandardsDoctype(text.substr(i, gt == std::u16string_view::npos ? text.npos : gt - i))) {
        return false;
      }
      if (gt == std::u16string_view::npos) return true;
      i = gt + 1;
      continue;
    }
    for (std::u16string_view name : {u"HTML", u"HEAD", u"BODY"}) {
      const std::size_t after = i + name.size();
      if (StartsWithNoCase(text, i, name) &&
          (after >= text.size() || !(IsAsciiLetter(text[after]) || IsDigit(text[after])))) {
        return true;
      }
    }
  }
}

THtmlParser::THtmlParser(TBuffer& buffer, ThtDocument& document, const ViewDefaults& defaults,
                         TFontResolver& fonts)
    : buffer_(buffer), doc_(document), defaults_(defaults), fonts_(fonts), pool_(*document.Pool),
      ppi_(fonts.PixelsPerInch()) {}

char16_t THtmlParser::ReadRaw() {
  for (;;) {
    const char16_t c = buffer_.ReadChar();
    if (c > u'\r') {
      lastBreak_ = LastBreak::None;
      return c;
    }
    if (c == u'\n') {
      if (lastBreak_ == LastBreak::CR) {
        lastBreak_ = LastBreak::None;
        continue;
      }
      lastBreak_ = LastBreak::LF;
      return u'\r';
    }
    if (c == u'\r') {
      if (lastBreak_ == LastBreak::LF) {
        lastBreak_ = LastBreak::None;
        continue;
      }
      lastBreak_ = LastBreak::CR;
      return u'\r';
    }
    lastBreak_ = LastBreak::None;
    if (c == u'\t') return u' ';
    if (c == 0 && inComment_) throw EParseError("Open Comment at End of HTML File");
    return c;
  }
}

template <class InRun>
std::u16string_view THtmlParser::TakeRun(InRun inRun) {
  const std::u16string_view text = buffer_.Text();
  const std::size_t from = buffer_.Position();
  std::size_t to = from;
  while (to < text.size() && text[to] > u'\r' && text[to] != u'<' && inRun(text[to])) ++to;
  if (to == from) return {};
  buffer_.SetPosition(to);
  lastBreak_ = LastBreak::None;
  return text.substr(from, to - from);
}

// A comment left open at the end of the text ends parsing, but only once the
// token read so far has been delivered: the text before the comment stays.
void THtmlParser::GetChSlow() {
  // A "<" before a plain character starts a tag, not a comment or another
  // kind of markup to skip: the same answer as below, without the detour.
  const std::u16string_view text = buffer_.Text();
  const std::size_t pos = buffer_.Position();
  if (pos + 1 < text.size() && text[pos] == u'<') {
    const char16_t next = text[pos + 1];
    if (next > u'\r' && next != u'!' && next != u'%') {
      buffer_.SetPosition(pos + 1);
      lastBreak_ = LastBreak::None;
      ch_ = u'<';
      return;
    }
  }
  try {
    for (;;) {
      ch_ = ReadRaw();
      if (ch_ != u'<' || !SkipMarkupAfterLessThan()) return;
    }
  } catch (const EParseError& e) {
    pendingError_ = e.Message();
    inComment_ = false;
    ch_ = 0;
  }
}

// After a "<": skips a comment, a "<!...>" declaration or a "<%...%>" block
// and reports true; otherwise leaves the reading position after the "<".
bool THtmlParser::SkipMarkupAfterLessThan() {
  const std::size_t pos = buffer_.Position();
  const LastBreak state = lastBreak_;
  const char16_t c1 = ReadRaw();
  if (c1 == u'!') {
    const std::size_t afterBang = buffer_.Position();
    if (ReadRaw() == u'-' && ReadRaw() == u'-') {
      SkipComment();
      return true;
    }
    buffer_.SetPosition(afterBang);
    lastBreak_ = LastBreak::None;
    SkipTo(u'>', 0);
    return true;
  }
  if (c1 == u'%') {
    SkipTo(u'%', u'>');
    return true;
  }
  buffer_.SetPosition(pos);
  lastBreak_ = state;
  return false;
}

void THtmlParser::SkipComment() {
  inComment_ = true;
  int dashes = 0;
  for (;;) {
    char16_t c = ReadRaw();
    if (c == u'-') {
      ++dashes;
      continue;
    }
    if (dashes >= 2) {
      while (c == u' ' || c == u'\r') c = ReadRaw();
      if (c == u'!') c = ReadRaw();
      if (c == u'>') break;
    }
    dashes = c == u'-' ? 1 : 0;
  }
  inComment_ = false;
}

// Skips to the character a (followed by b when b is not 0) and past it.
void THtmlParser::SkipTo(char16_t a, char16_t b) {
  for (;;) {
    const char16_t c = ReadRaw();
    if (c == 0) {
      buffer_.SetPosition(buffer_.Text().size());
      return;
    }
    if (c != a) continue;
    if (b == 0) return;
    if (buffer_.PeekChar() == b) {
      ReadRaw();
      return;
    }
  }
}

namespace {

enum : std::uint8_t { kTagNameChar = 1, kAttributeNameChar = 2 };

constexpr std::array<std::uint8_t, 128> MakeNameClasses() {
  std::array<std::uint8_t, 128> classes{};
  for (char16_t c = 0; c < 128; ++c) {
    const bool letterOrDigit = IsAsciiLetter(c) || IsDigit(c);
    if (letterOrDigit || c == u'_') classes[c] |= kTagNameChar;
    if (letterOrDigit || c == u'$' || c == u'-') classes[c] |= kAttributeNameChar;
  }
  return classes;
}
constexpr std::array<std::uint8_t, 128> kNameClasses = MakeNameClasses();

bool IsTagNameChar(char16_t c) { return c < 128 && (kNameClasses[c] & kTagNameChar) != 0; }
bool IsAttributeNameChar(char16_t c) { return c < 128 && (kNameClasses[c] & kAttributeNameChar) != 0; }

void AppendUpper(std::string& out, std::u16string_view run) {
  char upper[32];
  while (!run.empty()) {
    const std::size_t n = std::min(run.size(), sizeof upper);
    for (std::size_t k = 0; k < n; ++k) upper[k] = static_cast<char>(ToUpperAscii(run[k]));
    out.append(upper, n);
    run.remove_prefix(n);
  }
}

}  // namespace

bool THtmlParser::ReadTagName(TElementSymbols& symbols) {
  if (!IsTagNameChar(ch_)) return false;
  symbols = {};
  const std::u16string_view text = buffer_.Text();
  const std::size_t pos = buffer_.Position();
  if (pos == 0 || text[pos - 1] != ch_) {
    // The current character did not come straight from the buffer; read
    // the name character by character.
    std::string name;
    while (IsTagNameChar(ch_)) {
      name += static_cast<char>(ToUpperAscii(ch_));
      GetCh();
      if (name == "H" && IsDigit(ch_)) {
        name += static_cast<char>(ch_);
        GetCh();
        break;
      }
    }
    symbols = LookupElement(name);
    return true;
  }
  // Name characters always come straight from the buffer, so the name is the
  // run that starts at the current character. Headings end after their
  // digit: "<h1x>" is an H1.
  const std::size_t from = pos - 1;
  std::size_t to = pos;
  if (ToUpperAscii(ch_) == u'H' && to < text.size() && IsDigit(text[to])) {
    ++to;
  } else {
    while (to < text.size() && IsTagNameChar(text[to])) ++to;
  }
  char upper[kMaxElementNameLength];
  const std::size_t n = to - from;
  if (n <= sizeof upper) {
    for (std::size_t k = 0; k < n; ++k) upper[k] = static_cast<char>(ToUpperAscii(text[from + k]));
    symbols = LookupElement(std::string_view(upper, n));
  }
  if (to > pos) {
    buffer_.SetPosition(to);
    lastBreak_ = LastBreak::None;
  }
  GetCh();
  return true;
}

namespace {

// A character GetCh takes straight from the buffer: no line break, tab, end
// of text or start of markup that it would turn into something else.
constexpr bool IsPlain(char16_t c) { return c > u'\r' && c != u'<'; }

// The first position from p on that holds a or b or a character that is not
// plain; n when there is none. Values and words are long runs, so eight
// characters are tested at once where the processor allows.
template <bool ShortFirst>
std::size_t FindRunEnd(const char16_t* s, std::size_t p, std::size_t n, char16_t a, char16_t b) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi16(static_cast<short>(a));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
  const __m128i lessThan = _mm_set1_epi16(static_cast<short>(u'<'));
  const __m128i cr = _mm_set1_epi16(static_cast<short>(u'\r'));
  const __m128i zero = _mm_setzero_si128();
  const auto stops = [&](const char16_t* at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    // Saturating subtraction leaves 0 exactly for the characters up to "\r".
    const __m128i control = _mm_cmpeq_epi16(_mm_subs_epu16(v, cr), zero);
    return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)),
                        _mm_or_si128(_mm_cmpeq_epi16(v, lessThan), control));
  };
  // Sixteen characters a step, their stops narrowed to one mask bit each;
  // words are mostly short, so for them eight characters first.
  if (ShortFirst && p + 8 <= n) {
    const auto bits = static_cast<unsigned>(_mm_movemask_epi8(stops(s + p)));
    if (bits != 0) return p + static_cast<std::size_t>(std::countr_zero(bits)) / 2;
    p += 8;
  }
  for (; p + 16 <= n; p += 16) {
    const auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(stops(s + p), stops(s + p + 8))));
    if (bits != 0) return p + static_cast<std::size_t>(std::countr_zero(bits));
  }
  if (p + 8 <= n) {
    const auto bits = static_cast<unsigned>(_mm_movemask_epi8(stops(s + p)));
    if (bits != 0) return p + static_cast<std::size_t>(std::countr_zero(bits)) / 2;
    p += 8;
  }
#endif
  while (p < n && IsPlain(s[p]) && s[p] != a && s[p] != b) ++p;
  return p;
}

#if defined(__SSE2__)
// Per name length 0..8, the mask that keeps a name word's first length bytes
// and folds their letters to upper case.
constexpr std::array<std::uint64_t, 9> MakeFoldMasks() {
  std::array<std::uint64_t, 9> masks{};
  for (std::size_t length = 0; length <= 8; ++length) {
    const std::uint64_t keep = length < 8 ? (std::uint64_t{1} << (8 * length)) - 1 : ~std::uint64_t{0};
    masks[length] = keep & 0xDFDFDFDFDFDFDFDFull;
  }
  return masks;
}
constexpr std::array<std::uint64_t, 9> kFoldMasks = MakeFoldMasks();

// Eight name characters from s as a word for the folded lookups: narrowed to
// bytes (name characters are ASCII, so unchanged), the bytes from length on
// cleared, letters folded to upper case.
inline std::uint64_t FoldedWord(const char16_t* s, std::size_t length) {
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
  const auto word = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(chars, chars)));
  return word & kFoldMasks[length < 8 ? length : 8];
}
#endif

// What GetCh does with the character at pos when it needs no skipping: true
// with the character current and pos after it; false when GetChSlow has to
// decide. A "<" before a plain character other than "!" and "%" starts a tag.
// The text is followed by zeros (TBuffer::kZerosAfterText), which are not
// plain, so pos may be the text's size and the end needs no test of its own.
inline bool TakeStraight(const char16_t* s, std::size_t& pos, char16_t& ch) {
  const char16_t c = s[pos];
  if (!IsPlain(c)) {
    if (c != u'<') return false;
    // Tags mostly start with a letter or "/", which come after all three.
    const char16_t next = s[pos + 1];
    if (next < u'/' && (next <= u'\r' || next == u'!' || next == u'%')) return false;
  }
  ch = c;
  ++pos;
  return true;
}

struct TPlainTag {
  bool lessThanText = false;  // a "<" that starts no tag: ch is the character after it
  char16_t ch = 0;
  bool endTag = false;
  Sy sy = Sy::CommandSy;
  std::size_t end = 0;  // the position after the ">" (after ch for lessThanText)
};

// Most tags are a name alone, "<td>" or "</td>": the tag after the "<" at pos
// when it is one, with the position after its ">". Name characters and ">"
// are plain, so GetTag's steps would see exactly these characters.
struct TNameOnlyTag {
  Sy sy = Sy::CommandSy;
  bool endTag = false;
  std::size_t end = 0;
};

inline bool ScanNameOnlyTag(const char16_t* s, std::size_t n, std::size_t pos, TNameOnlyTag& tag) {
#if defined(__SSE2__)
  // The zeros after the text (TBuffer::kZerosAfterText) cover the eight
  // characters looked at, pos being at most n: they are no ">", so a ">"
  // found and the name before it lie inside the text.
  (void)n;
  const std::size_t endTag = s[pos] == u'/' ? 1 : 0;
  const std::size_t from = pos + endTag;
  // The page's own tags first: what comes before the first ">" of the next
  // eight characters, narrowed to bytes and folded, found in the element
  // table. Narrowing turns every character past Latin-1 into 0 or 0xFF and
  // folding maps only letters onto letters, so a name of the table matches
  // only itself in letters of either case.
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
  const auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, _mm_set1_epi16(u'>'))));
  if (ends != 0) {
    const auto length = static_cast<std::size_t>(std::countr_zero(ends)) / 2;
    const auto word =
        static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(chars, chars))) & kFoldMasks[length];
    if (TElementSymbols e; FindElementFolded(word, length, e)) {
      const Sy symbols[2] = {e.start, e.end};
      tag.sy = symbols[endTag];
      tag.endTag = endTag != 0;
      tag.end = from + length + 1;
      return true;
    }
  }
  // Other names, and tags with attributes, are left to the plain tag reader.
  return false;
#else
  (void)s, (void)n, (void)pos, (void)tag;
  return false;
#endif
}

// Tags with attributes mostly have a name of the element table and one space
// after it: the tag's symbol after the "<" at pos when they do, with the
// position of the space. Found like the names above.
inline bool ScanNameThenSpace(const char16_t* s, std::size_t n, std::size_t pos, TNameOnlyTag& tag) {
#if defined(__SSE2__)
  if (pos + 9 > n) return false;
  const bool endTag = s[pos] == u'/';
  const std::size_t from = pos + (endTag ? 1 : 0);
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
  // A ">" before the space is no letter, so such a name is never found.
  const auto spaces = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, _mm_set1_epi16(u' '))));
  if (spaces == 0) return false;
  const auto length = static_cast<std::size_t>(std::countr_zero(spaces)) / 2;
  const auto word = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(chars, chars))) & kFoldMasks[length];
  TElementSymbols e;
  if (!FindElementFolded(word, length, e)) return false;
  tag.sy = endTag ? e.end : e.start;
  tag.endTag = endTag;
  tag.end = from + length;
  return true;
#else
  (void)s, (void)n, (void)pos, (void)tag;
  return false;
#endif
}

// Reads the tag after the "<" at pos straight from the text, as GetTag's
// steps would, as long as every character up to its ">" is plain and no
// value holds a reference: then the steps would have seen exactly these
// characters. Otherwise returns false; the attributes may have been
// changed, everything else is as it was, and the caller takes the steps.
bool ScanPlainAttributes(const char16_t* s, std::size_t n, std::size_t p, char16_t c, TAttributeList& attrs,
                         TPlainTag& tag);

bool ScanPlainTag(const char16_t* s, std::size_t n, std::size_t p, TAttributeList& attrs, TPlainTag& tag) {
  char16_t c = 0;
  const auto take = [&]() {
    if (p >= n || !IsPlain(s[p])) return false;
    c = s[p++];
    return true;
  };
  if (!take()) return false;
  if (c == u'/') {
    tag.endTag = true;
    if (!take()) return false;
  } else if (!IsAsciiLetter(c) && c != u'?') {
    tag.lessThanText = true;
    tag.ch = c;
    tag.end = p;
    return true;
  }
  if (IsTagNameChar(c)) {
    // Headings end after their digit: "<h1x>" is an H1.
    const std::size_t from = p - 1;
    if (ToUpperAscii(c) == u'H' && p < n && IsDigit(s[p])) {
      ++p;
    } else {
      while (p < n && IsTagNameChar(s[p])) ++p;
    }
    const std::size_t length = p - from;
    TElementSymbols e;
#if defined(__SSE2__)
    if (length <= kMaxElementNameLength && from + 8 <= n) {
      e = LookupElementFolded(FoldedWord(s + from, length), length);
    } else {
      e = LookupElementNoCase(std::u16string_view(s + from, length));
    }
#else
    e = LookupElementNoCase(std::u16string_view(s + from, length));
#endif
    tag.sy = tag.endTag ? e.end : e.start;
    if (!take()) return false;
  }
  return ScanPlainAttributes(s, n, p, c, attrs, tag);
}

// The rest of ScanPlainTag: the attributes and the ">" of a tag whose name has
// been read, with c the character after the name and p the position after c.
bool ScanPlainAttributes(const char16_t* s, std::size_t n, std::size_t p, char16_t c, TAttributeList& attrs,
                         TPlainTag& tag) {
  const auto take = [&]() {
    if (p >= n || !IsPlain(s[p])) return false;
    c = s[p++];
    return true;
  };
  attrs.Reset();
  for (;;) {
    while (c == u' ') {
      if (!take()) return false;
    }
    if (!(c == u'$' || c == u'-' || IsDigit(c) || IsAsciiLetter(c))) break;
    const std::size_t nameFrom = p - 1;
    TAttrSymbol which = TAttrSymbol::OtherAttribute;
#if defined(__SSE2__)
    // Most names are of the attribute table and end at "=", a space or ">":
    // what comes before the first of these in the next sixteen characters,
    // narrowed and folded, found in the table. The table's names are letters
    // alone, so a match is a run of name characters that ends there.
    if (nameFrom + 16 <= n) {
      const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + nameFrom));
      const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + nameFrom + 8));
      const auto stopsOf = [](__m128i v) {
        const __m128i equals = _mm_cmpeq_epi16(v, _mm_set1_epi16(u'='));
        const __m128i space = _mm_cmpeq_epi16(v, _mm_set1_epi16(u' '));
        return _mm_or_si128(_mm_or_si128(equals, space), _mm_cmpeq_epi16(v, _mm_set1_epi16(u'>')));
      };
      const auto stops = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(stopsOf(lo), stopsOf(hi))));
      if (stops != 0) {
        const auto length = static_cast<std::size_t>(std::countr_zero(stops));
        const auto lowWord = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(lo, lo)));
        const auto highWord = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_packus_epi16(hi, hi)));
        const std::uint64_t low = lowWord & kFoldMasks[length < 8 ? length : 8];
        const std::uint64_t high = length > 8 ? highWord & kFoldMasks[length - 8] : 0;
        which = LookupAttributeFolded(low, high, length);
        if (which != TAttrSymbol::OtherAttribute) p = nameFrom + length;
      }
    }
#endif
    if (which == TAttrSymbol::OtherAttribute) {
      while (p < n && IsAttributeNameChar(s[p])) ++p;
      const std::size_t length = p - nameFrom;
#if defined(__SSE2__)
      if (length <= kMaxAttributeNameLength && nameFrom + 16 <= n) {
        const std::uint64_t high = length > 8 ? FoldedWord(s + nameFrom + 8, length - 8) : 0;
        which = LookupAttributeFolded(FoldedWord(s + nameFrom, length), high, length);
      } else {
        which = LookupAttributeNoCase(std::u16string_view(s + nameFrom, length));
      }
#else
      which = LookupAttributeNoCase(std::u16string_view(s + nameFrom, length));
#endif
    }
    const std::u16string_view name(s + nameFrom, p - nameFrom);
    TAttribute& a = which != TAttrSymbol::OtherAttribute ? attrs.AddKnown(which) : attrs.Add(which);
    if (which == TAttrSymbol::OtherAttribute) {
      a.Name.resize(name.size());
      for (std::size_t k = 0; k < name.size(); ++k) a.Name[k] = static_cast<char>(ToUpperAscii(name[k]));
    }
    if (p + 1 < n && s[p] == u'=' && (s[p + 1] == u'"' || s[p + 1] == u'\'')) {
      // Most values are quoted right after the "=": the steps below would
      // take both characters, plain as they are, and come to the quote.
      c = s[p + 1];
      p += 2;
    } else {
      if (!take()) return false;
      while (c == u' ') {
        if (!take()) return false;
      }
      if (c != u'=') {
        a.Numeric = a.Which == TAttrSymbol::BorderSy ? 1 : 0;
        continue;
      }
      if (!take()) return false;
      while (c == u' ') {
        if (!take()) return false;
      }
    }
    if (c == u'"' || c == u'\'') {
      const char16_t quote = c;
      const std::size_t from = p;
      p = FindRunEnd<false>(s, p, n, quote, u'&');
      if (p >= n || s[p] != quote) return false;
      a.Value.append(s + from, p - from);  // the entry's value is empty
      ++p;
      if (!take()) return false;
    } else if (c != u'>') {
      if (c == u'&') return false;
      const std::size_t from = p - 1;
      while (p < n && IsPlain(s[p]) && s[p] != u'>' && s[p] != u' ' && s[p] != u'&') ++p;
      if (p >= n || (s[p] != u'>' && s[p] != u' ')) return false;
      a.Value.append(s + from, p - from);
      c = s[p++];
    }
    a.HasValue = true;
    a.Numeric = QuickAttributeNumber(a.Value);
  }
  while (c != u'>') {
    if (!take()) return false;
  }
  tag.end = p;
  return true;
}

}  // namespace

template <class PlainTag>
void THtmlParser::TakePlainTag(const PlainTag& tag) {
  const std::u16string_view text = buffer_.Text();
  buffer_.MoveWithin(tag.end);
  lastBreak_ = LastBreak::None;
  endTag_ = tag.endTag;
  if (tag.lessThanText) {
    sy_ = Sy::TextSy;
    token_.assign(1, u'<');
    ch_ = tag.ch;
    return;
  }
  sy_ = tag.sy;
  // The style and script readers start at the ">".
  if (sy_ == Sy::StyleSy || sy_ == Sy::ScriptSy) {
    ch_ = u'>';
    return;
  }
  if (std::size_t pos = tag.end; TakeStraight(text.data(), pos, ch_)) {
    buffer_.MoveWithin(pos);
  } else {
    GetChSlow();
  }
}

void THtmlParser::GetTag() {
  const std::u16string_view text = buffer_.Text();
  if (TNameOnlyTag named; ScanNameThenSpace(text.data(), text.size(), buffer_.Position(), named)) {
    // The name is read; the attributes follow the space. When they cannot
    // be read straight, neither can the whole tag.
    TPlainTag tag;
    tag.sy = named.sy;
    tag.endTag = named.endTag;
    if (ScanPlainAttributes(text.data(), text.size(), named.end + 1, u' ', attrs_, tag)) {
      TakePlainTag(tag);
      return;
    }
  } else if (TPlainTag tag; ScanPlainTag(text.data(), text.size(), buffer_.Position(), attrs_, tag)) {
    TakePlainTag(tag);
    return;
  }
  GetCh();
  endTag_ = false;
  if (ch_ == u'/') {
    endTag_ = true;
    GetCh();
  } else if (!IsAsciiLetter(ch_) && ch_ != u'?') {
    sy_ = Sy::TextSy;
    token_.assign(1, u'<');
    return;
  }
  sy_ = Sy::CommandSy;
  if (TElementSymbols e; ReadTagName(e)) sy_ = endTag_ ? e.end : e.start;
  SkipSpaces();
  ReadAttributes();
  while (ch_ != u'>' && ch_ != 0) GetCh();
  if (sy_ == Sy::StyleSy || sy_ == Sy::ScriptSy) return;
  if (ch_ == u'>') GetCh();
}

void THtmlParser::Next() {
  // Tags come first: most tokens are tags, and most of those a name alone.
  if (ch_ == u'<' && pendingError_.empty()) {
    const std::u16string_view text = buffer_.Text();
    if (TNameOnlyTag tag; ScanNameOnlyTag(text.data(), text.size(), buffer_.Position(), tag)) {
      sy_ = tag.sy;
      endTag_ = tag.endTag;
      attrs_.Reset();
      lastBreak_ = LastBreak::None;
      std::size_t after = tag.end;
      if (sy_ == Sy::StyleSy || sy_ == Sy::ScriptSy) {
        // The style and script readers start at the ">".
        buffer_.MoveWithin(after);
        ch_ = u'>';
      } else if (TakeStraight(text.data(), after, ch_)) {
        buffer_.MoveWithin(after);
      } else {
        buffer_.MoveWithin(after);
        GetChSlow();
      }
      return;
    }
    GetTag();
    return;
  }
  // Then text, which NextOther would come to after its tests.
  if (ch_ > 8 && pendingError_.empty()) {
    GetText();
    return;
  }
  NextOther();
}

void THtmlParser::NextOther() {
  if (!pendingError_.empty()) {
    std::string message;
    message.swap(pendingError_);
    throw EParseError(std::move(message));
  }
  if (ch_ == u'<') {
    GetTag();
  } else if (ch_ == 0) {
    sy_ = Sy::EofSy;
  } else if (ch_ <= 8) {
    sy_ = Sy::TextSy;
    token_.assign(1, u'?');
    GetCh();
  } else {
    GetText();
  }
}

void THtmlParser::ReadAttributes() {
  attrs_.Reset();
  while (ReadAttribute()) {
  }
}

bool THtmlParser::ReadAttribute() {
  SkipSpaces();
  if (!(ch_ == u'$' || ch_ == u'-' || IsDigit(ch_) || IsAsciiLetter(ch_))) return false;
  TAttribute& a = attrs_.Add();
  while (IsAttributeNameChar(ch_)) {
    a.Name += static_cast<char>(ToUpperAscii(ch_));
    AppendUpper(a.Name, TakeRun([](char16_t c) { return IsAttributeNameChar(c); }));
    GetCh();
  }
  a.Which = LookupAttribute(a.Name);
  SkipSpaces();
  if (ch_ == u'=') {
    GetCh();
    SkipSpaces();
    ReadAttributeValue(a);
    a.HasValue = true;
    a.Numeric = QuickAttributeNumber(a.Value);
  } else {
    a.Numeric = a.Which == TAttrSymbol::BorderSy ? 1 : 0;
  }
  return true;
}

void THtmlParser::ReadAttributeValue(TAttribute& a) {
  const bool keepBreaks = a.Which == TAttrSymbol::TitleSy || a.Which == TAttrSymbol::AltSy;
  if (ch_ == u'"' || ch_ == u'\'') {
    const char16_t quote = ch_;
    GetCh();
    while (ch_ != quote && ch_ != 0) {
      if (ch_ == u'&') {
        ReadEntity(a.Value);
        continue;
      }
      if (ch_ != u'\r') {
        a.Value += ch_;
        a.Value.append(TakeRun([quote](char16_t c) { return c != quote && c != u'&'; }));
      } else if (keepBreaks) {
        a.Value += u"\r\n";
      }
      GetCh();
    }
    if (ch_ == quote) GetCh();
    return;
  }
  while (ch_ != 0 && ch_ != u'>' && ch_ != u' ' && ch_ != u'\r') {
    if (ch_ == u'&') {
      ReadEntity(a.Value);
      continue;
    }
    a.Value += ch_;
    a.Value.append(TakeRun([](char16_t c) { return c != u'>' && c != u' ' && c != u'&'; }));
    GetCh();
  }
}

void THtmlParser::GetText() {
  sy_ = Sy::TextSy;
  token_.clear();
  while (ch_ != u'<' && ch_ > 8) {
    if (ch_ == u' ' || ch_ == u'\r' || ch_ == u'\f') {
      token_ += u' ';
      do {
        GetCh();
      } while (ch_ == u' ' || ch_ == u'\r' || ch_ == u'\f');
    } else if (ch_ == u'&') {
      ReadEntity(token_);
    } else {
      // A word: the current character and the run after it, up to a space,
      // a reference or anything GetCh would not take straight.
      const std::u16string_view text = buffer_.Text();
      const std::size_t from = buffer_.Position();
      std::size_t pos = FindRunEnd<true>(text.data(), from, text.size(), u' ', u'&');
      // The current character mostly is the one before the run: then the
      // word is appended in one piece.
      if (from > 0 && text[from - 1] == ch_) {
        token_.append(text.data() + from - 1, pos - from + 1);
      } else {
        token_ += ch_;
        token_.append(text.data() + from, pos - from);
      }
      if (pos > from) {
        buffer_.MoveWithin(pos);
        lastBreak_ = LastBreak::None;
      }
      if (TakeStraight(text.data(), pos, ch_)) {
        buffer_.MoveWithin(pos);
        lastBreak_ = LastBreak::None;
      } else {
        GetChSlow();
      }
    }
  }
}

// Called at "&"; appends the character referred to, or the reference as
// written when it is not one, and leaves the character after it current.
void THtmlParser::ReadEntity(std::u16string& out) {
  GetCh();
  std::u16string written(1, u'&');
  if (ch_ == u'#') {
    if (!ReadNumericEntity(out, written)) out += written;
    return;
  }
  std::string name;
  while ((IsAsciiLetter(ch_) || IsDigit(ch_)) && name.size() < 10) {
    name += static_cast<char>(ch_);
    written += ch_;
    GetCh();
  }
  const char16_t value = name.empty() ? u'\0' : LookupEntity(name);
  if (value == 0) {
    out += written;
    return;
  }
  if (ch_ == u';') GetCh();
  out += value;
}

bool THtmlParser::ReadNumericEntity(std::u16string& out, std::u16string& written) {
  written += ch_;
  GetCh();
  const bool hex = ch_ == u'x' || ch_ == u'X';
  if (hex) {
    written += ch_;
    GetCh();
  }
  char32_t value = 0;
  bool any = false;
  for (;;) {
    const int d = hex ? HexValue(ch_) : (IsDigit(ch_) ? ch_ - u'0' : -1);
    if (d < 0) break;
    any = true;
    value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + static_cast<char32_t>(d);
    written += ch_;
    GetCh();
  }
  if (!any) return false;
  if (ch_ == u';') GetCh();
  AppendCodePoint(out, value);
  return true;
}

}  // namespace talmeko::htmlview
