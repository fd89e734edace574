#include "htmlview/style/shorthand.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "htmlview/style/colors.h"
#include "htmlview/style/name_table.h"

namespace talmeko::htmlview {
namespace {

// Splits at spaces outside parentheses into at most N words.
template <std::size_t N>
std::size_t SplitWords(std::string_view value, std::array<std::string_view, N>& words) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < value.size() && count < N) {
    while (i < value.size() && value[i] == ' ') ++i;
    if (i >= value.size()) break;
    const std::size_t start = i;
    // Words without parentheses are the rule; only inside them does a
    // space not end the word.
    while (i < value.size() && value[i] != ' ' && value[i] != '(') ++i;
    int depth = 0;
    while (i < value.size() && (value[i] != ' ' || depth > 0)) {
      if (value[i] == '(') ++depth;
      else if (value[i] == ')' && depth > 0) --depth;
      ++i;
    }
    words[count++] = value.substr(start, i - start);
  }
  return count;
}

// margin, padding, border-width, border-color, border-style: one to four
// values for top, right, bottom and left.
template <typename Sink>
void ExpandFourSides(std::string_view value, const std::array<PropIndex, 4>& sides, Sink& sink) {
  std::array<std::string_view, 4> w;
  const std::size_t n = SplitWords(value, w);
  if (n == 0) return;
  const std::string_view top = w[0];
  const std::string_view right = n > 1 ? w[1] : top;
  const std::string_view bottom = n > 2 ? w[2] : top;
  const std::string_view left = n > 3 ? w[3] : right;
  sink.Store(sides[0], top);
  sink.Store(sides[1], right);
  sink.Store(sides[2], bottom);
  sink.Store(sides[3], left);
}

bool IsWidthWord(std::string_view w) {
  return w == "thin" || w == "medium" || w == "thick" || (w[0] >= '0' && w[0] <= '9') || w[0] == '.';
}

// border and border-top and its siblings: width, style and colour in any order.
template <typename Sink>
void ExpandBorder(std::string_view value, std::initializer_list<int> sides, Sink& sink) {
  std::array<std::string_view, 6> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    for (int side : sides) {
      if (BorderStyleFromText(w[k]) >= 0) sink.Store(static_cast<PropIndex>(BorderTopStyle + side), w[k]);
      else if (IsWidthWord(w[k])) sink.Store(static_cast<PropIndex>(BorderTopWidth + side), w[k]);
      else sink.Store(static_cast<PropIndex>(BorderTopColor + side), w[k]);
    }
  }
}

// What a background leaves unsaid: literals, stored without a copy.
constexpr std::string_view kNoImage = "none";
constexpr std::string_view kRepeat = "repeat";
constexpr std::string_view kScroll = "scroll";
constexpr std::string_view kTopLeft = "0% 0%";

// The colour word is recognised here already, so its colour goes to the
// sink converted; the defaults are literals that need no copy.
template <typename Sink>
void ExpandBackground(std::string_view value, Sink& sink) {
  std::string_view color = "transparent";
  platform::Color colorValue = platform::kNoColor;
  std::string_view image;
  std::string_view repeat;
  std::string_view attachment;
  std::string position;
  std::array<std::string_view, 6> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    platform::Color c;
    if (ColorFromString(w[k], true, c)) {
      color = w[k];
      colorValue = c;
    } else if (w[k] == "none" || w[k].substr(0, 4) == "url(") {
      image = w[k];
    } else if (w[k].find("repeat") != std::string_view::npos) {
      repeat = w[k];
    } else if (w[k] == "fixed" || w[k] == "scroll") {
      attachment = w[k];
    } else {
      if (!position.empty()) position += ' ';
      position.append(w[k]);
    }
  }
  auto storeOrDefault = [&sink](PropIndex index, std::string_view given, std::string_view literal) {
    if (given.data() != nullptr) sink.Store(index, given);
    else sink.StoreValue(index, literal, TPropValue::MakeText(literal));
  };
  sink.StoreValue(BackgroundColor, color, TPropValue::MakeInt(colorValue));
  storeOrDefault(BackgroundImage, image, kNoImage);
  storeOrDefault(BackgroundRepeat, repeat, kRepeat);
  storeOrDefault(BackgroundAttachment, attachment, kScroll);
  if (position.empty()) sink.StoreValue(BackgroundPosition, kTopLeft, TPropValue::MakeText(kTopLeft));
  else sink.Store(BackgroundPosition, position);
}

// A background of nothing, or of one word that is a colour code or name:
// the colour and the four defaults ExpandBackground stores for it, without
// splitting words. False, with nothing stored, for any other value.
[[gnu::always_inline]] inline bool ExpandBackgroundDirectly(std::string_view value, TStyleAttributeSink& sink) {
  platform::Color color = platform::kNoColor;
  if (!value.empty() && !ColorFromHexCode(value, color) && !ColorFromName(value, color)) return false;
  // Slot by slot with the slots known here, so that each write is a plain
  // store.
  // The defaults are values made once, copied as they are.
  static constexpr TPropValue kImageValue = TPropValue::MakeText(kNoImage);
  static constexpr TPropValue kRepeatValue = TPropValue::MakeText(kRepeat);
  static constexpr TPropValue kScrollValue = TPropValue::MakeText(kScroll);
  static constexpr TPropValue kTopLeftValue = TPropValue::MakeText(kTopLeft);
  const TStyleAttributeSink::TWriter writer = sink.Writer();
  writer.Put(BackgroundColor, TPropValue::MakeInt(color));
  writer.Put(BackgroundImage, kImageValue);
  writer.Put(BackgroundRepeat, kRepeatValue);
  writer.Put(BackgroundAttachment, kScrollValue);
  writer.Put(BackgroundPosition, kTopLeftValue);
  return true;
}

bool IsFontSizeWord(std::string_view w) {
  static constexpr std::string_view kSizes[] = {"xx-small", "x-small", "small", "medium", "large",
                                                "x-large", "xx-large", "larger", "smaller"};
  for (auto s : kSizes) {
    if (w == s) return true;
  }
  return (w[0] >= '0' && w[0] <= '9') || w[0] == '.';
}

bool IsWeightWord(std::string_view w) {
  return w == "bold" || w == "bolder" || w == "lighter" ||
         (w.size() == 3 && w[0] >= '1' && w[0] <= '9' && w[1] == '0' && w[2] == '0');
}

// font: [style] [variant] [weight] size[/line-height] family, family...
template <typename Sink>
void ExpandFont(std::string_view value, Sink& sink) {
  std::size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && value[i] == ' ') ++i;
    std::size_t j = i;
    while (j < value.size() && value[j] != ' ') ++j;
    const std::string_view w = value.substr(i, j - i);
    if (w.empty()) break;
    if (w == "italic" || w == "oblique") sink.Store(FontStyle, w);
    else if (w == "small-caps") sink.Store(FontVariant, w);
    else if (IsWeightWord(w)) sink.Store(FontWeight, w);
    else if (w == "normal") {
    } else if (IsFontSizeWord(w)) {
      const std::size_t slash = w.find('/');
      sink.Store(FontSize, w.substr(0, slash));
      if (slash != std::string_view::npos) sink.Store(LineHeight, w.substr(slash + 1));
      std::string_view family = value.substr(j);
      while (!family.empty() && family.front() == ' ') family.remove_prefix(1);
      if (!family.empty()) sink.Store(FontFamily, family);
      return;
    } else {
      return;
    }
    i = j;
  }
}

template <typename Sink>
void ExpandListStyle(std::string_view value, Sink& sink) {
  std::array<std::string_view, 3> w;
  const std::size_t n = SplitWords(value, w);
  for (std::size_t k = 0; k < n; ++k) {
    if (w[k].substr(0, 4) == "url(") sink.Store(ListStyleImage, w[k]);
    else if (w[k] != "inside" && w[k] != "outside") sink.Store(ListStyleType, w[k]);
  }
}

bool StoreCoded(PropIndex index, std::string_view v, TPropValue& out) {
  if (index == Visibility) {
    if (v == "visible") out = TPropValue::MakeInt(kVisibilityVisible);
    else if (v == "hidden" || v == "collapse") out = TPropValue::MakeInt(kVisibilityHidden);
    else if (v == "inherit") out = TPropValue::MakeInt(kVisibilityInherit);
    else return false;
  } else if (index == TextTransform) {
    if (v == "none") out = TPropValue::MakeInt(kTextTransformNone);
    else if (v == "uppercase") out = TPropValue::MakeInt(kTextTransformUpper);
    else if (v == "lowercase") out = TPropValue::MakeInt(kTextTransformLower);
    else if (v == "capitalize") out = TPropValue::MakeInt(kTextTransformCaps);
    else return false;
  } else if (index == WordWrap) {
    if (v == "normal") out = TPropValue::MakeText("normal");
    else if (v == "break-word") out = TPropValue::MakeText("break-word");
    else return false;
  } else {
    if (v == "normal") out = TPropValue::MakeText("normal");
    else if (v == "small-caps") out = TPropValue::MakeText("small-caps");
    else return false;
  }
  return true;
}

// The slots ConvertDeclaredValue converts; every other slot takes its text
// as it is.
constexpr std::uint64_t kConvertedSlots = []() {
  std::uint64_t bits = 0;
  for (PropIndex i : {Color, BackgroundColor, BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor,
                      Visibility, TextTransform, WordWrap, FontVariant}) {
    bits |= std::uint64_t{1} << i;
  }
  return bits;
}();

// Shorthand names, numbered after the slots.
enum class TShorthand : std::int16_t {
  Margin = PropCount, Padding, BorderWidth, BorderColor, BorderStyle, Border, BorderTop, BorderRight,
  BorderBottom, BorderLeft, Font, Background, ListStyle
};

constexpr std::array<TNamedValue<std::int16_t>, PropCount + 13> DeclarationNames() {
  std::array<TNamedValue<std::int16_t>, PropCount + 13> names{};
  for (int i = 0; i < PropCount; ++i) {
    names[i] = {PropertyName(static_cast<PropIndex>(i)), static_cast<std::int16_t>(i)};
  }
  constexpr std::array<std::string_view, 13> kShorthands = {
      "margin", "padding", "border-width", "border-color", "border-style", "border", "border-top",
      "border-right", "border-bottom", "border-left", "font", "background", "list-style"};
  for (int k = 0; k < 13; ++k) names[PropCount + k] = {kShorthands[k], static_cast<std::int16_t>(PropCount + k)};
  return names;
}

constexpr TNameTable<std::int16_t, 256> kDeclarationNames(DeclarationNames());

// The sink is the abstract one, or one whose calls the compiler can make
// directly.
template <typename Sink>
void Expand(const std::int16_t* found, std::string_view value, Sink& sink) {
  if (!found) return;
  if (*found < PropCount) return sink.Store(static_cast<PropIndex>(*found), value);
  switch (static_cast<TShorthand>(*found)) {
    case TShorthand::Margin:
      return ExpandFourSides(value, {MarginTop, MarginRight, MarginBottom, MarginLeft}, sink);
    case TShorthand::Padding:
      return ExpandFourSides(value, {PaddingTop, PaddingRight, PaddingBottom, PaddingLeft}, sink);
    case TShorthand::BorderWidth:
      return ExpandFourSides(value, {BorderTopWidth, BorderRightWidth, BorderBottomWidth, BorderLeftWidth}, sink);
    case TShorthand::BorderColor:
      return ExpandFourSides(value, {BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor}, sink);
    case TShorthand::BorderStyle:
      return ExpandFourSides(value, {BorderTopStyle, BorderRightStyle, BorderBottomStyle, BorderLeftStyle}, sink);
    case TShorthand::Border: return ExpandBorder(value, {0, 1, 2, 3}, sink);
    case TShorthand::BorderTop: return ExpandBorder(value, {0}, sink);
    case TShorthand::BorderRight: return ExpandBorder(value, {1}, sink);
    case TShorthand::BorderBottom: return ExpandBorder(value, {2}, sink);
    case TShorthand::BorderLeft: return ExpandBorder(value, {3}, sink);
    case TShorthand::Font: return ExpandFont(value, sink);
    case TShorthand::Background: return ExpandBackground(value, sink);
    case TShorthand::ListStyle: return ExpandListStyle(value, sink);
  }
}

// A declaration of a style attribute: plain text slots and the common
// backgrounds directly, everything else through the general expansion.
[[gnu::always_inline]] inline void ExpandAttributeDirectly(const TTableName& name, std::string_view value,
                                                           TStyleAttributeSink& sink) {
  const std::int16_t* found = kDeclarationNames.Find(name);
  if (!found) return;
  const int code = *found;
  if (code < PropCount) {
    if (((kConvertedSlots >> code) & 1) == 0) return sink.StoreText(static_cast<PropIndex>(code), value);
  } else if (code == static_cast<int>(TShorthand::Background) && ExpandBackgroundDirectly(value, sink)) {
    return;
  }
  Expand(found, value, sink);
}

// Short texts all in ASCII, as pages mostly write style attributes, are
// read at once: lowered into bytes in one pass, then split by bit masks of
// the characters that matter, one bit a character. The declarations found
// are those the style parser's declaration by declaration reader finds,
// expanded the same way.
constexpr std::size_t kShortAttribute = 63;

#if defined(__SSE2__)
// The number of zero bits below the lowest set one of a word that is not
// zero.
inline std::size_t LowZeros(std::uint64_t bits) {
#if defined(__GNUC__)
  return static_cast<std::size_t>(__builtin_ctzll(bits));
#else
  return static_cast<std::size_t>(std::countr_zero(bits));
#endif
}

// Spaces and quotes: what trimming a value looks for at its ends.
constexpr std::array<std::uint8_t, 256> kTrimmedEnds = []() {
  std::array<std::uint8_t, 256> ends{};
  ends[' '] = ends['"'] = ends['\''] = 1;
  return ends;
}();

// The first k bytes of a word, for k from 0 to 8.
constexpr std::array<std::uint64_t, 9> kKeepBytes = {
    0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF, 0xFFFFFFFFFF, 0xFFFFFFFFFFFF, 0xFFFFFFFFFFFFFF, ~std::uint64_t{0}};

// False, with nothing stored, for a text that is longer or holds a
// character past ASCII.
[[gnu::always_inline]] inline bool ReadShortAscii(std::u16string_view text, TStyleAttributeSink& sink) {
  const std::size_t n = text.size();
  if (n > kShortAttribute) return false;
  // The lowered text, then room for the three words a name is read as.
  alignas(16) std::array<char, kShortAttribute + 32> bytes;
  // One bit for each character: name characters (letters, digits, "-"),
  // and ";".
  std::uint64_t nameBits = 0;
  std::uint64_t semicolonBits = 0;
  __m128i seen = _mm_setzero_si128();
  // Sixteen characters at "from" narrowed to bytes, lowered, stored at
  // "at" and classified.
  auto block = [&](const char16_t* from, std::size_t at) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8));
    seen = _mm_or_si128(seen, _mm_or_si128(low, high));
    // Characters past ASCII pack into bytes that do not stand for them;
    // such a text is refused below.
    const __m128i b = _mm_packus_epi16(low, high);
    // Each range test moves its range to the bottom of the signed bytes,
    // so that one comparison tells whether a byte is in it.
    auto inRange = [](__m128i bytes16, char first, char last) {
      const __m128i moved = _mm_add_epi8(bytes16, _mm_set1_epi8(static_cast<char>(-128 - first)));
      return _mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + (last - first) + 1)));
    };
    // With the case bit set, letters of either case are lower-case ones;
    // setting it on the letters alone lowers them.
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i letter = inRange(_mm_or_si128(b, caseBit), 'a', 'z');
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes.data() + at), _mm_or_si128(b, _mm_and_si128(letter, caseBit)));
    const __m128i name =
        _mm_or_si128(letter, _mm_or_si128(inRange(b, '0', '9'), _mm_cmpeq_epi8(b, _mm_set1_epi8('-'))));
    auto bits = [at](__m128i m) { return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(m))} << at; };
    nameBits |= bits(name);
    semicolonBits |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8(';')));
  };
  if (n >= 16) {
    for (std::size_t k = 0; k + 16 <= n; k += 16) block(text.data() + k, k);
    // The last few characters as one more block ending at the end of the
    // text: what it gives again for the characters before is the same.
    if (n % 16 != 0) block(text.data() + n - 16, n - 16);
  } else {
    // Zero characters after the text are no name and no separator.
    alignas(16) std::array<char16_t, 16> padded{};
    if (n != 0) std::memcpy(padded.data(), text.data(), n * sizeof(char16_t));
    block(padded.data(), 0);
  }
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(seen, _mm_set1_epi16(static_cast<short>(0xFF80))),
                                        _mm_setzero_si128())) != 0xFFFF) {
    return false;
  }
  // The bytes a name is read from past the text are cleared; they are
  // masked off, but are read.
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes.data() + n), _mm_setzero_si128());
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes.data() + n + 16), _mm_setzero_si128());
  // No bit is set past the text (a short text's padding sets none, a
  // block never reaches past the end), and the text is shorter than a
  // word has bits: the top bit is clear in every mask, so every run of set
  // bits from below it ends within the word, and every shift by a place up
  // to the end of the text is defined.
  std::size_t i = 0;
  for (;;) {
    // Whatever is no name character is passed over up to the next name.
    const std::uint64_t names = nameBits >> i;
    if (names == 0) break;
    i += LowZeros(names);
    const std::size_t nameStart = i;
    const std::size_t nameLength = LowZeros(~(nameBits >> i));
    i += nameLength;
    // Spaces between a name and its separator are few: read one by one.
    while (bytes[i] == ' ') ++i;
    // The byte after the text is zero.
    if (bytes[i] != ':' && bytes[i] != '=') continue;
    ++i;
    const std::uint64_t semicolons = semicolonBits >> i;
    const std::size_t valueEnd = semicolons != 0 ? i + LowZeros(semicolons) : n;
    if (nameLength <= kMaxTableName) {
      // The name as the look-up takes it: its bytes, zero past its end
      // (the first bytes of a word are its low ones here).
      static_assert(std::endian::native == std::endian::little);
      TTableName key;
      const char* name = bytes.data() + nameStart;
      const __m128i byteIndices = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
      const __m128i firstBytes = _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(nameLength)), byteIndices);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(key.words.data()),
                       _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(name)), firstBytes));
      key.words[2] = 0;
      if (nameLength > 16) {
        std::memcpy(&key.words[2], name + 16, 8);
        key.words[2] &= kKeepBytes[nameLength - 16];
      }
      key.size = nameLength;
      // The value without the spaces around it, then without one pair of
      // matching quotes: only when it starts or ends with either.
      std::string_view value(bytes.data() + i, valueEnd - i);
      if (i < valueEnd && (kTrimmedEnds[static_cast<unsigned char>(bytes[i])] |
                           kTrimmedEnds[static_cast<unsigned char>(bytes[valueEnd - 1])]) != 0) {
        value = TrimAndUnquote(bytes.data() + i, bytes.data() + valueEnd);
      }
      ExpandAttributeDirectly(key, value, sink);
    }
    i = valueEnd;
  }
  return true;
}
#else
inline bool ReadShortAscii(std::u16string_view, TStyleAttributeSink&) { return false; }
#endif

}  // namespace

void ExpandDeclaration(std::string_view name, std::string_view value, TPropertySink& sink) {
  Expand(kDeclarationNames.Find(name), value, sink);
}

void ExpandDeclaration(std::string_view name, std::string_view value, TStyleAttributeSink& sink) {
  Expand(kDeclarationNames.Find(name), value, sink);
}

void ExpandDeclaration(const TTableName& name, std::string_view value, TStyleAttributeSink& sink) {
  Expand(kDeclarationNames.Find(name), value, sink);
}

void ExpandAttributeDeclaration(const TTableName& name, std::string_view value, TStyleAttributeSink& sink) {
  ExpandAttributeDirectly(name, value, sink);
}

bool ReadShortStyleAttribute(std::u16string_view text, TStyleAttributeSink& sink) {
  return ReadShortAscii(text, sink);
}

bool ConvertDeclaredValue(PropIndex index, std::string_view value, TDeclarationSource source,
                          TTextPool& pool, TPropValue& out) {
  platform::Color c = 0;
  switch (index) {
    case Color:
      if (ColorFromString(value, false, c)) out = TPropValue::MakeInt(c);
      else if (source == TDeclarationSource::StyleAttribute) out = TPropValue::MakeInt(0);
      else return false;
      return true;
    case BackgroundColor:
      out = TPropValue::MakeInt(ColorFromString(value, false, c) ? c : platform::kNoColor);
      return true;
    case BorderTopColor:
    case BorderRightColor:
    case BorderBottomColor:
    case BorderLeftColor:
      if (!ColorFromString(value, false, c)) return false;
      out = TPropValue::MakeInt(c);
      return true;
    case Visibility:
    case TextTransform:
    case WordWrap:
    case FontVariant:
      return StoreCoded(index, value, out);
    default:
      out = TPropValue::MakeText(pool.Store(value));
      return true;
  }
}

}  // namespace talmeko::htmlview
