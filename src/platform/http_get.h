#pragma once
// One HTTP/1.1 GET of a small file, for the update check. The request is
// written byte for byte by us, so that a server sees exactly the lines the
// update check promises, and the reply is read by the rules of HttpReplyReader.

#include <memory>
#include <string>

namespace talmeko::platform {

struct HttpResult {
  bool ok = false;
  // The reply body, one character per byte, unchanged.
  std::string body;
  // Why the request failed; empty on success.
  std::string reason;

  static HttpResult Success(std::string text) { return {true, std::move(text), {}}; }
  static HttpResult Failure(std::string why) { return {false, {}, std::move(why)}; }
};

// The request fields besides the Host line, sent in this order after the
// request line: Content-Type, Host, Accept, User-Agent.
struct HttpRequestFields {
  std::string contentType;
  std::string accept;
  std::string userAgent;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Blocks until the reply has been read or the request has failed. There is
  // no read time-out; only the connection attempt is bounded.
  virtual HttpResult Get(const std::string& address) = 0;
};

// The client over libcurl.
std::unique_ptr<HttpClient> MakeHttpClient(HttpRequestFields fields);

// The bytes of the request for a path on a host: the request line, the four
// fields, and the empty line.
std::string HttpRequestText(const std::string& target, const std::string& host, const HttpRequestFields& fields);

}  // namespace talmeko::platform
