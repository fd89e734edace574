// A buffer made from bytes it does not take must read as one made from a copy
// of them: the same text, code page and bytes, whatever the encoding.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "htmlview/base/buffer.h"
#include "platform/canvas.h"

namespace talmeko::htmlview {
namespace {

TEST(BufferDecoding, BorrowedBytesReadAsTakenOnes) {
  std::vector<std::string> inputs = {"", "a", "<td>3866</td>", "\xEF\xBB\xBF<p>\xD0\x96</p>", "\xFF\xFEz\0y\0",
                                     "\xFE\xFF\0z\0y", "x\x1B$B\x30\x21\x1B(By", "\x98\xC0\xFF\x80\xBF"};
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  inputs.push_back(all);
  std::mt19937 random(3);
  for (int i = 0; i < 100; ++i) {
    std::string s(random() % 200, ' ');
    for (char& c : s) c = static_cast<char>(random() % 4 == 0 ? random() % 256 : 0x20 + random() % 95);
    inputs.push_back(s);
  }
  for (const std::string& bytes : inputs) {
    for (int charSet : {platform::kDefaultCharset, platform::kAnsiCharset, platform::kRussianCharset, 238, 128}) {
      const TBuffer taken(bytes, "page", charSet);
      const std::unique_ptr<TBuffer> borrowed = TBuffer::Decoding(bytes, "page", charSet);
      ASSERT_TRUE(borrowed);
      EXPECT_EQ(borrowed->Text(), taken.Text()) << bytes << " " << charSet;
      EXPECT_EQ(borrowed->CodePage(), taken.CodePage());
      EXPECT_EQ(borrowed->CharSet(), taken.CharSet());
      EXPECT_EQ(borrowed->FixedByByteOrderMark(), taken.FixedByByteOrderMark());
      EXPECT_EQ(borrowed->Name(), "page");
      EXPECT_EQ(borrowed->Position(), 0u);
      EXPECT_EQ(borrowed->Bytes(), bytes) << charSet;
      EXPECT_EQ(taken.Bytes(), bytes);
      // The tokenizer looks past the end without testing for it.
      for (const TBuffer* b : {&taken, static_cast<const TBuffer*>(borrowed.get())}) {
        const char16_t* after = b->Text().data() + b->Text().size();
        for (std::size_t k = 0; k < TBuffer::kZerosAfterText; ++k) EXPECT_EQ(after[k], u'\0') << k;
      }
    }
  }
}

}  // namespace
}  // namespace talmeko::htmlview
