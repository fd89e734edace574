#include "platform/http_reply_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace talmeko::platform {
namespace {

constexpr std::size_t kReceiveSize = 16384;

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The whole text as a number of the base, or nothing.
template <typename Number>
std::optional<Number> WholeNumber(std::string_view text, int base) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

HttpResult HttpReplyReader::Read() {
  std::optional<Head> head = ReadHead();
  while (head && head->status == 100) head = ReadHead();
  if (!head) return HttpResult::Failure("the head of the reply could not be read");
  if (std::optional<std::string> refusal = Refusal(*head)) return HttpResult::Failure(*refusal);
  return ReadBody(*head);
}

// The status line and the fields up to the empty line, or up to the close.
std::optional<HttpReplyReader::Head> HttpReplyReader::ReadHead() {
  Head head;
  const std::optional<std::string> statusLine = ReadLine();
  if (!statusLine) return std::nullopt;
  head.status = StatusCode(*statusLine);
  for (;;) {
    const std::optional<std::string> line = ReadLine();
    if (!line) return std::nullopt;
    if (line->empty()) return head;
    TakeField(*line, head);
  }
}

// Redirects are never followed, and only a 2xx reply carries the answer.
std::optional<std::string> HttpReplyReader::Refusal(const Head& head) {
  if (head.hasLocation || (head.status >= 300 && head.status < 400 && head.status != 304)) {
    return "the reply is a redirect";
  }
  if (head.status < 200 || head.status >= 300) return "the reply has the status " + std::to_string(head.status);
  return std::nullopt;
}

HttpResult HttpReplyReader::ReadBody(const Head& head) {
  if (head.status == 204) return HttpResult::Success({});
  if (head.hasContentLength && head.contentLength > 0) {
    if (static_cast<unsigned long long>(head.contentLength) > kMaxBodyLength) {
      return HttpResult::Failure("the body is too long");
    }
    std::string body;
    if (!ReadExactly(static_cast<std::size_t>(head.contentLength), body)) {
      return HttpResult::Failure("the connection ended inside the body");
    }
    return HttpResult::Success(std::move(body));
  }
  if (head.chunked) return ReadChunks();
  if (!head.hasContentLength) return ReadUntilClosed();
  return HttpResult::Success({});
}

// Hexadecimal sizes, each chunk followed by a line end, up to the chunk of
// size 0 and the line after it.
HttpResult HttpReplyReader::ReadChunks() {
  std::string body;
  for (;;) {
    const std::optional<std::string> sizeLine = ReadLine();
    if (!sizeLine) return HttpResult::Failure("a chunk size could not be read");
    const std::string_view digits = Trimmed(std::string_view(*sizeLine).substr(0, sizeLine->find(';')));
    const std::optional<std::size_t> size = WholeNumber<std::size_t>(digits, 16);
    if (!size) return HttpResult::Failure("a chunk size is not a number");
    if (*size == 0) {
      if (!ReadLine()) return HttpResult::Failure("the end of the chunks could not be read");
      return HttpResult::Success(std::move(body));
    }
    if (*size > kMaxBodyLength - body.size()) return HttpResult::Failure("the body is too long");
    if (!ReadExactly(*size, body) || !ReadLine()) return HttpResult::Failure("the connection ended inside a chunk");
  }
}

HttpResult HttpReplyReader::ReadUntilClosed() {
  std::string body;
  for (;;) {
    body.append(buffer_, position_);
    position_ = buffer_.size();
    if (body.size() > kMaxBodyLength) return HttpResult::Failure("the body is too long");
    if (!Fill()) break;
  }
  if (failed_) return HttpResult::Failure("the connection failed inside the body");
  return HttpResult::Success(std::move(body));
}

// The text between the first space and the next one, as a decimal number.
int HttpReplyReader::StatusCode(const std::string& statusLine) {
  const std::size_t first = statusLine.find(' ');
  if (first == std::string::npos) return -1;
  const std::size_t next = statusLine.find(' ', first + 1);
  const std::string_view code = std::string_view(statusLine).substr(first + 1, next - first - 1);
  if (!std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) return -1;
  return WholeNumber<int>(code, 10).value_or(-1);
}

void HttpReplyReader::TakeField(const std::string& line, Head& head) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) return;
  const std::string name = Lower(Trimmed(std::string_view(line).substr(0, colon)));
  const std::string_view value = Trimmed(std::string_view(line).substr(colon + 1));
  if (name == "location") {
    head.hasLocation = true;
  } else if (name == "transfer-encoding") {
    head.chunked = head.chunked || Lower(value).find("chunked") != std::string::npos;
  } else if (name == "content-length") {
    head.hasContentLength = true;
    head.contentLength = WholeNumber<long long>(value, 10).value_or(-1);
  }
}

std::optional<std::string> HttpReplyReader::ReadLine() {
  std::string line;
  for (;;) {
    const std::size_t end = buffer_.find('\n', position_);
    const std::size_t stop = end == std::string::npos ? buffer_.size() : end;
    line.append(buffer_, position_, stop - position_);
    position_ = end == std::string::npos ? stop : end + 1;
    if (end != std::string::npos) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      break;
    }
    // One character more than the limit may still be the carriage return
    // of a line that fits.
    if (line.size() > kMaxLineLength + 1 || !Fill()) break;
  }
  if (failed_ || line.size() > kMaxLineLength) return std::nullopt;
  return line;
}

bool HttpReplyReader::ReadExactly(std::size_t count, std::string& out) {
  while (count > 0) {
    const std::size_t take = std::min(count, buffer_.size() - position_);
    out.append(buffer_, position_, take);
    position_ += take;
    count -= take;
    if (count > 0 && !Fill()) return false;
  }
  return true;
}

// Replaces the consumed bytes by the next ones from the connection; false
// at the close or on failure.
bool HttpReplyReader::Fill() {
  if (closed_ || failed_) return false;
  buffer_.erase(0, position_);
  position_ = 0;
  const std::size_t kept = buffer_.size();
  buffer_.resize(kept + kReceiveSize);
  const long got = receive_(buffer_.data() + kept, kReceiveSize);
  buffer_.resize(kept + static_cast<std::size_t>(std::max(got, 0L)));
  if (got < 0) failed_ = true;
  if (got == 0) closed_ = true;
  return got > 0;
}

}  // namespace talmeko::platform
