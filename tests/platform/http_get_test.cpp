#include "platform/http_get.h"

#include <gtest/gtest.h>

#include <string>

#include "support/loopback_server.h"

namespace talmeko::platform {
namespace {

using testing::LoopbackServer;

const HttpRequestFields kFields{"text/html", "text/html, */*", "Mozilla/3.0 (compatible; Talmeko)"};

HttpResult Fetch(const std::string& reply, LoopbackServer::Mode mode = LoopbackServer::Mode::Reply) {
  LoopbackServer server(reply, mode);
  return MakeHttpClient(kFields)->Get(server.Address());
}

TEST(HttpGet, SendsExactlyTheSixLines) {
  LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n201");
  const HttpResult result = MakeHttpClient(kFields)->Get(server.Address());
  EXPECT_TRUE(result.ok) << result.reason;
  EXPECT_EQ(server.Request(),
            "GET /talmeko.update HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: 127.0.0.1\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Talmeko)\r\n"
            "\r\n");
}

TEST(HttpGet, RepliesGiveTheBodyOrFail) {
  const std::string longField(20000, 'a');
  const std::string fittingField = "X-Pad: " + std::string(16384 - 7, 'b');
  const std::string tooLongBody(65537, '7');
  struct Case {
    const char* what;
    std::string reply;
    bool ok;
    std::string body;
  };
  const Case cases[] = {
      {"by length", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n201", true, "201"},
      {"body byte for byte", std::string("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n201\r\n\xC9\x00", 45), true,
       std::string("201\r\n\xC9\x00", 7)},
      {"length ends the body", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n201", true, "20"},
      {"chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n20\r\n1\r\n1\r\n0\r\n\r\n", true, "201"},
      {"up to the close", "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n201", true, "201"},
      {"continue first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n201", true, "201"},
      {"bare line feeds", "HTTP/1.1 200 OK\nContent-Length: 3\n\n201", true, "201"},
      {"no content", "HTTP/1.1 204 No Content\r\n\r\n", true, ""},
      {"length zero", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n201", true, ""},
      {"longest field", "HTTP/1.1 200 OK\r\n" + fittingField + "\r\nContent-Length: 3\r\n\r\n201", true, "201"},
      {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"server error", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"not modified", "HTTP/1.1 304 Not Modified\r\n\r\n", false, ""},
      {"moved", "HTTP/1.1 301 Moved\r\nLocation: /new.update\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"found without location", "HTTP/1.1 302 Found\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"location on a 200", "HTTP/1.1 200 OK\r\nLocation: /new.update\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"field too long", "HTTP/1.1 200 OK\r\nX-Pad: " + longField + "\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"status line too long", "HTTP/1.1 200 " + longField + "\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"no status number", "HTTP/1.1 OK\r\nContent-Length: 3\r\n\r\n201", false, ""},
      {"nothing at all", "", false, ""},
      {"closed inside the body", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n201", false, ""},
      {"closed inside the chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n20\r\n", false, ""},
      {"length over the limit", "HTTP/1.1 200 OK\r\nContent-Length: 65537\r\n\r\n201", false, ""},
      {"closed body over the limit", "HTTP/1.1 200 OK\r\n\r\n" + tooLongBody, false, ""},
  };
  for (const Case& c : cases) {
    const HttpResult result = Fetch(c.reply);
    EXPECT_EQ(result.ok, c.ok) << c.what << ": " << result.reason;
    if (c.ok) {
      EXPECT_EQ(result.body, c.body) << c.what;
    }
  }
}

TEST(HttpGet, EndlessBodyStopsAtTheLimit) {
  const HttpResult result = Fetch("HTTP/1.1 200 OK\r\n\r\n", LoopbackServer::Mode::Endless);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.body.empty());
}

TEST(HttpGet, UnreachableHostsFail) {
  const std::unique_ptr<HttpClient> client = MakeHttpClient(kFields);
  const std::string refused = "http://127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()) + "/talmeko.update";
  for (const std::string& address : {refused, std::string("http://no-such-host.invalid/talmeko.update"),
                                     std::string("ftp://127.0.0.1/talmeko.update"), std::string("not an address")}) {
    const HttpResult result = client->Get(address);
    EXPECT_FALSE(result.ok) << address;
    EXPECT_FALSE(result.reason.empty()) << address;
  }
}

}  // namespace
}  // namespace talmeko::platform
