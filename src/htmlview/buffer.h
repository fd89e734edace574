#pragma once
// The decoded source of a document. The bytes are decoded once, when the
// buffer is made, so the parser reads characters without caring which
// encoding was in force; reading past the last character yields 0, which the
// parser takes for the end of the text.

#include <cstddef>
#include <string>
#include <string_view>

namespace talmeko::htmlview {

inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageUtf16LE = 1200;
inline constexpr int kCodePageUtf16BE = 1201;
inline constexpr int kCodePageIso2022Jp = 50220;

// The code page a character set stands for. DEFAULT_CHARSET means the
// system's ANSI code page, which for this program is Windows-1251.
int CharSetToCodePage(int charSet);

class TBuffer {
 public:
  // Decodes the bytes: a byte-order mark selects UTF-8 or UTF-16 and is
  // skipped; ISO-2022-JP escape sequences select that encoding; otherwise the
  // character set decides.
  TBuffer(std::string bytes, std::string name, int charSet);

  const std::string& Name() const { return name_; }
  const std::string& Bytes() const { return bytes_; }
  int CodePage() const { return codePage_; }
  int CharSet() const { return charSet_; }
  bool FixedByByteOrderMark() const { return fixedByBom_; }

  // The read position counts decoded characters from the start of the text.
  std::size_t Position() const { return pos_; }
  void SetPosition(std::size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }

  char16_t ReadChar() { return pos_ < text_.size() ? text_[pos_++] : u'\0'; }
  char16_t PeekChar() const { return pos_ < text_.size() ? text_[pos_] : u'\0'; }
  std::u16string_view Text() const { return text_; }

 private:
  void Decode();

  std::string bytes_;
  std::string name_;
  std::u16string text_;
  std::size_t pos_ = 0;
  int charSet_;
  int codePage_ = 1251;
  bool fixedByBom_ = false;
};

}  // namespace talmeko::htmlview
