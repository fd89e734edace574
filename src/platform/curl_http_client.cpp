// The HTTP GET over libcurl. Curl only resolves the name and connects: it
// puts its own Host line right after the request line, wherever ours is
// given, so the request is written by us and the reply read by our reader.

#include <poll.h>

#include <cerrno>
#include <memory>
#include <optional>

#include <curl/curl.h>

#include "platform/http_get.h"
#include "platform/http_reply_reader.h"

namespace talmeko::platform {
namespace {

constexpr long kConnectTimeoutMilliseconds = 10000;

// Set up once and never torn down: a worker still waiting for a server when
// the program ends must not find curl gone beneath it.
void InitialiseCurl() {
  static const CURLcode once = curl_global_init(CURL_GLOBAL_DEFAULT);
  static_cast<void>(once);
}

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::optional<std::string> UrlPart(CURLU* url, CURLUPart which) {
  char* part = nullptr;
  if (curl_url_get(url, which, &part, 0) != CURLUE_OK) return std::nullopt;
  std::string text(part);
  curl_free(part);
  return text;
}

struct RequestTarget {
  std::string host;
  std::string target;
};

// The host without its port, and the path with its query.
std::optional<RequestTarget> SplitAddress(const std::string& address) {
  const std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, address.c_str(), 0) != CURLUE_OK) return std::nullopt;
  std::optional<std::string> host = UrlPart(url.get(), CURLUPART_HOST);
  std::optional<std::string> path = UrlPart(url.get(), CURLUPART_PATH);
  if (!host || !path) return std::nullopt;
  if (const std::optional<std::string> query = UrlPart(url.get(), CURLUPART_QUERY)) *path += "?" + *query;
  return RequestTarget{std::move(*host), std::move(*path)};
}

// Waits without a time-out: the update check has no read time-out.
bool WaitFor(curl_socket_t socket, short events) {
  pollfd watched{socket, events, 0};
  for (;;) {
    const int ready = ::poll(&watched, 1, -1);
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
}

class CurlHttpClient : public HttpClient {
 public:
  explicit CurlHttpClient(HttpRequestFields fields) : fields_(std::move(fields)) { InitialiseCurl(); }

  HttpResult Get(const std::string& address) override {
    const std::optional<RequestTarget> target = SplitAddress(address);
    if (!target) return HttpResult::Failure("the address is not an HTTP address");
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) return HttpResult::Failure("curl could not be set up");
    const CURLcode connected = Connect(easy.get(), address);
    if (connected != CURLE_OK) return HttpResult::Failure(curl_easy_strerror(connected));
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(easy.get(), CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK || socket == CURL_SOCKET_BAD) {
      return HttpResult::Failure("the connection is gone");
    }
    if (!Send(easy.get(), socket, HttpRequestText(target->target, target->host, fields_))) {
      return HttpResult::Failure("the request could not be sent");
    }
    HttpReplyReader reader([&](char* buffer, std::size_t size) { return Receive(easy.get(), socket, buffer, size); });
    return reader.Read();
  }

 private:
  // No proxy and no other scheme: the request goes straight to the host.
  static CURLcode Connect(CURL* easy, const std::string& address) {
    curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy, CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMilliseconds);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    return curl_easy_perform(easy);
  }

  static bool Send(CURL* easy, curl_socket_t socket, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      std::size_t sent = 0;
      const CURLcode code = curl_easy_send(easy, bytes.data() + done, bytes.size() - done, &sent);
      if (code == CURLE_AGAIN) {
        if (!WaitFor(socket, POLLOUT)) return false;
      } else if (code != CURLE_OK) {
        return false;
      }
      done += sent;
    }
    return true;
  }

  static long Receive(CURL* easy, curl_socket_t socket, char* buffer, std::size_t size) {
    for (;;) {
      std::size_t got = 0;
      const CURLcode code = curl_easy_recv(easy, buffer, size, &got);
      if (code == CURLE_OK) return static_cast<long>(got);
      if (code != CURLE_AGAIN || !WaitFor(socket, POLLIN)) return -1;
    }
  }

  HttpRequestFields fields_;
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient(HttpRequestFields fields) {
  return std::make_unique<CurlHttpClient>(std::move(fields));
}

std::string HttpRequestText(const std::string& target, const std::string& host, const HttpRequestFields& fields) {
  return "GET " + target + " HTTP/1.1\r\n" + "Content-Type: " + fields.contentType + "\r\n" + "Host: " + host +
         "\r\n" + "Accept: " + fields.accept + "\r\n" + "User-Agent: " + fields.userAgent + "\r\n\r\n";
}

}  // namespace talmeko::platform
