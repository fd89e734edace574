#include "htmlview/base/buffer.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

#include "platform/canvas.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Ill-formed sequences become U+FFFD, one per offending byte.
std::u16string DecodeUtf8(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      out += static_cast<char16_t>(lead);
      ++i;
      continue;
    }
    int extra = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : 0;
    if (lead > 0xF4) extra = 0;
    char32_t cp = lead & (0x3F >> extra);
    bool ok = extra > 0;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= s.size()) { ok = false; break; }
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out += kReplacement;
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

std::u16string DecodeUtf16(std::string_view s, bool bigEndian) {
  std::u16string out;
  out.reserve(s.size() / 2);
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    const auto a = static_cast<unsigned char>(s[i]);
    const auto b = static_cast<unsigned char>(s[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return out;
}

// Any other encoding goes through glibc's converters; a byte they cannot
// convert becomes U+FFFD and conversion goes on after it.
std::u16string DecodeWithIconv(std::string_view s, const char* encoding) {
  iconv_t cd = iconv_open("UTF-16LE", encoding);
  if (cd == reinterpret_cast<iconv_t>(-1)) return platform::DecodeCp1251(s);
  std::string raw;
  raw.resize(s.size() * 4 + 16);
  char* in = const_cast<char*>(s.data());
  std::size_t inLeft = s.size();
  char* out = raw.data();
  std::size_t outLeft = raw.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno == EILSEQ && outLeft >= 2) {
      *out++ = static_cast<char>(0xFD);
      *out++ = static_cast<char>(0xFF);
      outLeft -= 2;
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    } else {
      break;
    }
  }
  iconv_close(cd);
  raw.resize(raw.size() - outLeft);
  return DecodeUtf16(raw, false);
}

// ESC $ @, ESC $ B, ESC $ ( D, ESC ( B, ESC ( J and ESC ( I switch the
// character sets of ISO-2022-JP; no other encoding the view meets uses them.
bool HasIso2022JpEscapes(std::string_view s) {
  for (std::size_t i = s.find('\x1B'); i != std::string_view::npos && i + 2 < s.size();
       i = s.find('\x1B', i + 1)) {
    const char a = s[i + 1];
    const char b = s[i + 2];
    if (a == '$' && (b == '@' || b == 'B' || b == '(')) return true;
    if (a == '(' && (b == 'B' || b == 'J' || b == 'I')) return true;
  }
  return false;
}

const char* IconvNameOf(int codePage) {
  switch (codePage) {
    case 874: return "CP874";
    case 866: return "CP866";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "BIG5";
    case 1250: return "CP1250";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 10000: return "MACINTOSH";
    case kCodePageIso2022Jp: return "ISO-2022-JP";
    default: return nullptr;
  }
}

}  // namespace

int CharSetToCodePage(int charSet) {
  switch (charSet) {
    case platform::kAnsiCharset: return 1252;
    case platform::kDefaultCharset: return 1251;
    case 2: return 1252;  // symbol fonts carry their own glyphs; read the bytes as Latin
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case platform::kRussianCharset: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 866;
    default: return 1251;
  }
}

TBuffer::TBuffer(std::string bytes, std::string name, int charSet)
    : bytes_(std::move(bytes)), name_(std::move(name)), charSet_(charSet) {
  Decode(bytes_);
}

TBuffer::TBuffer(std::string name, int charSet) : name_(std::move(name)), charSet_(charSet) {}

std::unique_ptr<TBuffer> TBuffer::Decoding(std::string_view bytes, std::string name, int charSet) {
  std::unique_ptr<TBuffer> buffer(new TBuffer(std::move(name), charSet));
  buffer->Decode(bytes);
  if (buffer->directCp1251_) {
    buffer->bytesKept_ = false;
  } else {
    buffer->bytes_.assign(bytes);
  }
  return buffer;
}

void TBuffer::KeepBytes() const {
  bytes_.resize(size_);
  for (std::size_t i = 0; i < size_; ++i) bytes_[i] = platform::UnicodeToCp1251(text_[i]);
  bytesKept_ = true;
}

char16_t* TBuffer::Allocate(std::size_t n) {
  text_ = std::make_unique_for_overwrite<char16_t[]>(n + kZerosAfterText);
  std::fill_n(text_.get() + n, kZerosAfterText, u'\0');
  size_ = n;
  return text_.get();
}

void TBuffer::Keep(std::u16string_view text) { std::copy(text.begin(), text.end(), Allocate(text.size())); }

void TBuffer::Decode(std::string_view s) {
  if (s.size() >= 3 && s.substr(0, 3) == "\xEF\xBB\xBF") {
    codePage_ = kCodePageUtf8;
    fixedByBom_ = true;
    Keep(DecodeUtf8(s.substr(3)));
  } else if (s.size() >= 2 && s.substr(0, 2) == "\xFF\xFE") {
    codePage_ = kCodePageUtf16LE;
    fixedByBom_ = true;
    Keep(DecodeUtf16(s.substr(2), false));
  } else if (s.size() >= 2 && s.substr(0, 2) == "\xFE\xFF") {
    codePage_ = kCodePageUtf16BE;
    fixedByBom_ = true;
    Keep(DecodeUtf16(s.substr(2), true));
  } else if (HasIso2022JpEscapes(s)) {
    codePage_ = kCodePageIso2022Jp;
    Keep(DecodeWithIconv(s, "ISO-2022-JP"));
  } else {
    codePage_ = CharSetToCodePage(charSet_);
    const char* iconvName = IconvNameOf(codePage_);
    if (iconvName) {
      Keep(DecodeWithIconv(s, iconvName));
    } else {
      // The program's own pages: decoded straight into the buffer's storage.
      platform::DecodeCp1251To(s, Allocate(s.size()));
      directCp1251_ = true;
    }
  }
}

}  // namespace talmeko::htmlview
