// A page handed over in a string stream is copied from the stream's string;
// any other stream is read through. Both must give the same document.

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "htmlview/layout/document_dump.h"
#include "parse_support.h"

namespace talmeko::htmlview {
namespace {

// A stream buffer over a string that is no string stream: it can seek, so
// the view reads it by its size, and hands out at most a few bytes at a time.
class TChunkedBuf : public std::streambuf {
 public:
  explicit TChunkedBuf(std::string text) : text_(std::move(text)) { Show(0); }

 protected:
  int_type underflow() override {
    const std::size_t at = static_cast<std::size_t>(gptr() - text_.data());
    if (at >= text_.size()) return traits_type::eof();
    Show(at);
    return traits_type::to_int_type(*gptr());
  }
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    const off_type base = dir == std::ios_base::beg ? 0
                          : dir == std::ios_base::end ? static_cast<off_type>(text_.size())
                                                      : static_cast<off_type>(gptr() - text_.data());
    const off_type to = base + off;
    if (to < 0 || to > static_cast<off_type>(text_.size())) return pos_type(off_type(-1));
    Show(static_cast<std::size_t>(to));
    return pos_type(to);
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
    return seekoff(off_type(pos), std::ios_base::beg, which);
  }

 private:
  void Show(std::size_t at) {
    char* base = text_.data();
    setg(base, base + at, base + std::min(text_.size(), at + 7));
  }
  std::string text_;
};

std::string LoadedFrom(std::istream& stream) {
  testing::FakeFontCatalogue catalogue;
  THtmlView view(catalogue, platform::ScreenInfo{});
  view.LoadFromStream(&stream, "", TDocType::HTMLType);
  return DumpDocument(view.Document());
}

TEST(StreamReading, StringStreamsAndOtherStreamsGiveTheSameDocument) {
  const std::vector<std::string> pages = {
      "",
      "x",
      "<table><tr><td style=\"background:#f5f0ec;width:50px\"></td><td>3866</td></table>",
      "<p>\xcf\xf0\xe8\xe2\xe5\xf2 &amp; <b>bold</b>\r\n<td>",
      std::string("a\0b<td>c", 8),
  };
  for (const std::string& page : pages) {
    TChunkedBuf chunked(page);
    std::istream other(&chunked);
    const std::string expected = LoadedFrom(other);

    std::stringstream made(page);
    EXPECT_EQ(LoadedFrom(made), expected) << page;
    // Read again from the same stream, left at its end by the first load.
    EXPECT_EQ(LoadedFrom(made), expected) << page;
    std::stringstream written;
    written << page;
    EXPECT_EQ(LoadedFrom(written), expected) << page;
    std::istringstream input(page);
    input.get();  // a position past the start is no matter: the page is read from its first byte
    EXPECT_EQ(LoadedFrom(input), expected) << page;
    // A stream that has failed is read all the same.
    std::stringstream failed(page);
    failed.setstate(std::ios::failbit);
    EXPECT_EQ(LoadedFrom(failed), expected) << page;
  }
}

}  // namespace
}  // namespace talmeko::htmlview
