#pragma once
// Reads one HTTP reply from a connection: the heads (interim 100 replies are
// skipped), the decision whether the reply is acceptable, and the body by its
// length, by chunks or up to the close.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/http_get.h"

namespace talmeko::platform {

class HttpReplyReader {
 public:
  // A status or header line longer than this fails the reply.
  static constexpr std::size_t kMaxLineLength = 16384;
  // No answer the update check accepts needs more; a server that keeps
  // sending must not make us keep growing.
  static constexpr std::size_t kMaxBodyLength = 65536;

  // Fills the buffer with up to `size` bytes; answers the count, 0 when the
  // server has closed the connection, or a negative number on failure.
  using Receive = std::function<long(char* buffer, std::size_t size)>;

  explicit HttpReplyReader(Receive receive) : receive_(std::move(receive)) {}

  HttpResult Read();

 private:
  struct Head {
    int status = -1;
    bool hasLocation = false;
    bool chunked = false;
    bool hasContentLength = false;
    long long contentLength = 0;
  };

  std::optional<Head> ReadHead();
  static std::optional<std::string> Refusal(const Head& head);
  HttpResult ReadBody(const Head& head);
  HttpResult ReadChunks();
  HttpResult ReadUntilClosed();

  static int StatusCode(const std::string& statusLine);
  static void TakeField(const std::string& line, Head& head);

  // A line without its line feed and a carriage return before it; nothing
  // when the line is too long or the connection failed. At the close, the
  // bytes after the last line feed make the last line.
  std::optional<std::string> ReadLine();
  bool ReadExactly(std::size_t count, std::string& out);
  bool Fill();

  Receive receive_;
  std::string buffer_;
  std::size_t position_ = 0;
  bool closed_ = false;
  bool failed_ = false;
};

}  // namespace talmeko::platform
