#pragma once
// The decoded source of a document. The bytes are decoded once, when the
// buffer is made, so the parser reads characters without caring which
// encoding was in force; reading past the last character yields 0, which the
// parser takes for the end of the text.

#include <cstddef>
#include <memory>
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
  // The same for bytes the buffer does not take: they are read while it is
  // made and not needed after.
  static std::unique_ptr<TBuffer> Decoding(std::string_view bytes, std::string name, int charSet);

  const std::string& Name() const { return name_; }
  const std::string& Bytes() const {
    if (!bytesKept_) KeepBytes();
    return bytes_;
  }
  int CodePage() const { return codePage_; }
  int CharSet() const { return charSet_; }
  bool FixedByByteOrderMark() const { return fixedByBom_; }

  // The read position counts decoded characters from the start of the text.
  std::size_t Position() const { return pos_; }
  void SetPosition(std::size_t pos) { pos_ = pos < size_ ? pos : size_; }
  // The same for a position the caller knows to be at most the size.
  void MoveWithin(std::size_t pos) { pos_ = pos; }

  char16_t ReadChar() { return pos_ < size_ ? text_[pos_++] : u'\0'; }
  char16_t PeekChar() const { return pos_ < size_ ? text_[pos_] : u'\0'; }
  std::u16string_view Text() const { return {text_.get(), size_}; }
  // The text's storage holds this many characters more, all 0, so that the
  // tokenizer may look at a few characters after a position without testing
  // for the end first.
  static constexpr std::size_t kZerosAfterText = 16;

 private:
  TBuffer(std::string name, int charSet);
  void Decode(std::string_view s);
  // Bytes decoded as Windows-1251 are not kept: every byte has a character
  // of its own, so they are the text encoded again.
  void KeepBytes() const;
  // Room for n characters, not filled: the decoder writes every one.
  char16_t* Allocate(std::size_t n);
  void Keep(std::u16string_view text);

  mutable std::string bytes_;
  mutable bool bytesKept_ = true;
  std::string name_;
  std::unique_ptr<char16_t[]> text_;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  int charSet_;
  int codePage_ = 1251;
  bool fixedByBom_ = false;
  bool directCp1251_ = false;  // decoded by DecodeCp1251To
};

}  // namespace talmeko::htmlview
