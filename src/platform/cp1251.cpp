#include "platform/cp1251.h"

#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace talmeko::platform {
namespace {

// Bytes 0x80..0xBF; 0xC0..0xFF are the contiguous Cyrillic letters U+0410..U+044F.
constexpr std::array<char16_t, 64> kHighTable = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

// Reads one UTF-8 sequence at pos; returns U+FFFD (and advances one byte) when it is ill-formed.
char32_t ReadUtf8(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return 0xFFFD;
  }
  if (pos + static_cast<std::size_t>(extra) >= s.size()) {
    ++pos;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  pos += static_cast<std::size_t>(extra) + 1;
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

namespace {

constexpr char16_t ToUnicode(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return static_cast<char16_t>(0x0410 + (byte - 0xC0));
  return kHighTable[byte - 0x80];
}

// Every byte's character, for decoding whole pages with one load a byte.
constexpr std::array<char16_t, 256> MakeByteTable() {
  std::array<char16_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) table[b] = ToUnicode(static_cast<unsigned char>(b));
  return table;
}
constexpr std::array<char16_t, 256> kByteTable = MakeByteTable();

}  // namespace

char16_t Cp1251ToUnicode(unsigned char byte) { return ToUnicode(byte); }

char UnicodeToCp1251(char16_t ch) {
  if (ch < 0x80) return static_cast<char>(ch);
  if (ch >= 0x0410 && ch <= 0x044F) return static_cast<char>(0xC0 + (ch - 0x0410));
  for (std::size_t i = 0; i < kHighTable.size(); ++i) {
    if (kHighTable[i] == ch) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void DecodeCp1251To(std::string_view bytes, char16_t* out) {
  // Pages are decoded whole on every load and are mostly ASCII: sixteen
  // bytes without a high bit are widened at once, other blocks and the tail
  // go through the table.
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    if (_mm_movemask_epi8(block) == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(block, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(block, zero));
    } else {
      for (std::size_t k = i; k < i + 16; ++k) out[k] = kByteTable[in[k]];
    }
  }
#endif
  for (; i < n; ++i) out[i] = kByteTable[in[i]];
}

std::u16string DecodeCp1251(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  DecodeCp1251To(bytes, out.data());
  return out;
}

std::string EncodeCp1251(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    const bool highSurrogate = ch >= 0xD800 && ch <= 0xDBFF;
    if (highSurrogate && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    out += UnicodeToCp1251(ch);
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    const bool high = cp >= 0xD800 && cp <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = ReadUtf8(utf8, pos);
    out += cp > 0xFFFF ? '?' : UnicodeToCp1251(static_cast<char16_t>(cp));
  }
  return out;
}

}  // namespace talmeko::platform
