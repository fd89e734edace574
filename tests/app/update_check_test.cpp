#include "app/update_check.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "fake_main_window.h"
#include "support/loopback_server.h"

namespace talmeko::app {
namespace {

TEST(UpdateInteger, AcceptsOnlyTheWholeTextAsAnInteger) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  const struct {
    std::string text;
    std::optional<int> value;
  } cases[] = {
      {"201", 201},       {"200", 200},          {"0201", 201},          {"   250", 250},
      {"+201", 201},      {"-201", -201},        {"$C9", 201},           {"$c9", 201},
      {"xC9", 201},       {"XC9", 201},          {"0xC9", 201},          {"0XC9", 201},
      {"-$C9", -201},     {"+xC9", 201},         {"2147483647", kMax},   {"-2147483648", kMin},
      {"$7FFFFFFF", kMax}, {"", std::nullopt},   {" ", std::nullopt},    {"250\r\n", std::nullopt},
      {"250\n", std::nullopt}, {"250 ", std::nullopt}, {"\t250", std::nullopt}, {"\r\n250", std::nullopt},
      {"2 01", std::nullopt}, {"+ 201", std::nullopt}, {"--201", std::nullopt}, {"12a", std::nullopt},
      {"$", std::nullopt}, {"0x", std::nullopt},   {"x", std::nullopt},    {"$-C9", std::nullopt},
      {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}, {"$80000000", std::nullopt},
      {std::string("201\0", 4), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseUpdateInteger(c.text), c.value) << '"' << c.text << '"';
}

// What the fake server answers, and whether the request may end yet.
struct ServerScript {
  std::mutex mutex;
  std::condition_variable changed;
  platform::HttpResult reply;
  bool answer = true;
  std::string address;
  int requests = 0;
  bool clientGone = false;

  template <typename Predicate>
  bool WaitUntil(Predicate predicate) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), predicate);
  }
  void Answer() {
    const std::lock_guard lock(mutex);
    answer = true;
    changed.notify_all();
  }
};

class FakeHttpClient : public platform::HttpClient {
 public:
  explicit FakeHttpClient(std::shared_ptr<ServerScript> script) : script_(std::move(script)) {}
  ~FakeHttpClient() override {
    const std::lock_guard lock(script_->mutex);
    script_->clientGone = true;
    script_->changed.notify_all();
  }
  platform::HttpResult Get(const std::string& address) override {
    std::unique_lock lock(script_->mutex);
    script_->address = address;
    ++script_->requests;
    script_->changed.notify_all();
    script_->changed.wait(lock, [this] { return script_->answer; });
    return script_->reply;
  }

 private:
  std::shared_ptr<ServerScript> script_;
};

constexpr const char* kAddress = "http://127.0.0.1:8080/talmeko.update";

UpdateCheck::ClientFactory FactoryFor(const std::shared_ptr<ServerScript>& script) {
  return [script] { return std::make_unique<FakeHttpClient>(script); };
}

TEST(UpdateCheck, ShowsTheLabelOnlyForANewerVersion) {
  const struct {
    platform::HttpResult reply;
    bool shown;
  } cases[] = {
      {platform::HttpResult::Success("201"), true},    {platform::HttpResult::Success("$C9"), true},
      {platform::HttpResult::Success("200"), false},   {platform::HttpResult::Success("201\r\n"), false},
      {platform::HttpResult::Success(""), false},      {platform::HttpResult::Failure("refused"), false},
  };
  for (const auto& c : cases) {
    FakeMainWindow window;
    auto script = std::make_shared<ServerScript>();
    script->reply = c.reply;
    UpdateCheck check(window, kAddress, FactoryFor(script));
    check.Timer2Timer();
    check.Timer2Timer();
    if (c.shown) {
      ASSERT_TRUE(window.gui->RunNext()) << c.reply.body;
      EXPECT_TRUE(window.visible[Control::sWebLabel3]) << c.reply.body;
      EXPECT_FALSE(check.Finished()) << "the label comes before the end of the worker";
    }
    ASSERT_TRUE(window.gui->RunNext()) << c.reply.body;
    EXPECT_TRUE(check.Finished());
    EXPECT_EQ(window.visible.count(Control::sWebLabel3), c.shown ? 1u : 0u) << c.reply.body;
    EXPECT_TRUE(script->WaitUntil([&] { return script->clientGone; })) << "the worker frees itself";
    EXPECT_EQ(script->requests, 1);
    EXPECT_EQ(script->address, kAddress);
    EXPECT_EQ(window.gui->Pending(), 0u);
  }
}

TEST(UpdateCheck, WorkerThatOutlivesTheWindowNeverReachesIt) {
  FakeMainWindow window;
  auto script = std::make_shared<ServerScript>();
  script->reply = platform::HttpResult::Success("201");
  script->answer = false;
  auto check = std::make_unique<UpdateCheck>(window, kAddress, FactoryFor(script));
  check->Timer2Timer();
  ASSERT_TRUE(script->WaitUntil([&] { return script->requests == 1; }));
  check.reset();
  script->Answer();
  ASSERT_TRUE(script->WaitUntil([&] { return script->clientGone; }));
  EXPECT_EQ(window.gui->Pending(), 0u);
}

// The worker with the libcurl client, which starts a resolver thread of its own.
TEST(UpdateCheck, DefaultClientAsksTheServer) {
  FakeMainWindow window;
  testing::LoopbackServer server("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n201");
  UpdateCheck check(window, server.Address(), {});
  check.Timer2Timer();
  ASSERT_TRUE(window.gui->RunNext());
  ASSERT_TRUE(window.gui->RunNext());
  EXPECT_TRUE(window.visible[Control::sWebLabel3]);
  EXPECT_TRUE(check.Finished());
  EXPECT_TRUE(server.Request());
}

}  // namespace
}  // namespace talmeko::app
