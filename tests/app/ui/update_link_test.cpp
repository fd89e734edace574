#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/ui/web_label.h"
#include "main_window_fixture.h"
#include "support/loopback_server.h"

extern char** environ;

namespace talmeko::app::ui {
namespace {

using testing::LoopbackServer;

constexpr const char* kRequest =
    "GET /talmeko.update HTTP/1.1\r\n"
    "Content-Type: text/html\r\n"
    "Host: 127.0.0.1\r\n"
    "Accept: text/html, */*\r\n"
    "User-Agent: Mozilla/3.0 (compatible; Talmeko)\r\n"
    "\r\n";

std::string Reply(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class UpdateLinkTest : public MainWindowTest {
 protected:
  // Starts the window against the address, with the real timer ticking at
  // once, and waits until the update check has ended.
  void RunCheck(const std::string& address) {
    updateAddress = address;
    updateDelay = std::chrono::milliseconds(1);
    Start();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Logic().Update().Finished(); }, 10000)) << address;
  }
  bool LabelShown() { return Child<TsWebLabel>("sWebLabel3")->isVisible(); }
};

TEST_F(UpdateLinkTest, NewerVersionRevealsTheLabelThatOpensTheUpdatePage) {
  LoopbackServer server(Reply("201"));
  RunCheck(server.Address());
  EXPECT_EQ(server.Request(), kRequest);
  ASSERT_TRUE(LabelShown());
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_TRUE(window->grab().toImage().save(OutputPath("main_window_update.png")));
  QTest::mousePress(Child<TsWebLabel>("sWebLabel3"), Qt::LeftButton);
  EXPECT_EQ(opener->opened, (std::vector<OpenedAddress>{{"open", "http://talmeko.example/index/0-7/",
                                                         platform::ShowState::SW_SHOWDEFAULT}}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(UpdateLinkTest, OnlyAnAcceptedReplyWithANewerVersionShowsTheLabel) {
  const std::string longField = "X-Pad: " + std::string(20000, 'a') + "\r\n";
  const struct {
    const char* what;
    std::string reply;
    bool shown;
    LoopbackServer::Mode mode = LoopbackServer::Mode::Reply;
  } cases[] = {
      {"200", Reply("200"), false},
      {"201 and a line break", Reply("201\r\n"), false},
      {"empty", Reply(""), false},
      {"spaces before", Reply("   250"), true},
      {"hexadecimal", Reply("$C9"), true},
      {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\n201", false},
      {"server error", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 3\r\n\r\n201", false},
      {"not modified", "HTTP/1.1 304 Not Modified\r\n\r\n", false},
      {"moved", "HTTP/1.1 301 Moved Permanently\r\nLocation: /talmeko-201.update\r\nContent-Length: 3\r\n\r\n201",
       false},
      {"location on a 200", "HTTP/1.1 200 OK\r\nLocation: /talmeko-201.update\r\nContent-Length: 3\r\n\r\n201", false},
      {"chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n20\r\n1\r\n1\r\n0\r\n\r\n", true},
      {"up to the close", "HTTP/1.1 200 OK\r\n\r\n201", true},
      {"continue first", "HTTP/1.1 100 Continue\r\n\r\n" + Reply("201"), true},
      {"field too long", "HTTP/1.1 200 OK\r\n" + longField + "Content-Length: 3\r\n\r\n201", false},
      {"endless body", "HTTP/1.1 200 OK\r\n\r\n201", false, LoopbackServer::Mode::Endless},
  };
  for (const auto& c : cases) {
    LoopbackServer server(c.reply, c.mode);
    RunCheck(server.Address());
    EXPECT_EQ(LabelShown(), c.shown) << c.what;
  }
  for (const std::string& address :
       {"http://127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()) + "/talmeko.update",
        std::string("http://no-such-host.invalid/talmeko.update")}) {
    RunCheck(address);
    EXPECT_FALSE(LabelShown()) << address;
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(UpdateLinkTest, SilentServerLeavesTheWindowUsable) {
  LoopbackServer server("", LoopbackServer::Mode::Silent);
  updateAddress = server.Address();
  updateDelay = std::chrono::milliseconds(1);
  Start();
  ASSERT_TRUE(server.Request());
  Enter(QStringLiteral("310"));
  EXPECT_EQ(Items(), std::vector<QString>{QStringLiteral("310 (dmc)")});
  QTest::qWait(50);
  EXPECT_FALSE(window->Logic().Update().Finished());
  EXPECT_FALSE(LabelShown());
}

// The program is started as a process of its own, so that its end can be
// timed: closing it while the worker still waits must end it at once.
TEST_F(UpdateLinkTest, ClosingWhileTheWorkerWaitsEndsTheProgramAtOnce) {
  LoopbackServer server("", LoopbackServer::Mode::Silent);
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  environment.push_back("TALMEKO_UPDATE_URL=" + server.Address());
  environment.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = TALMEKO_PROGRAM_PROBE;
  std::string settings = dir.string();
  char* argv[] = {program.data(), settings.data(), nullptr};

  int input[2];
  ASSERT_EQ(::pipe(input), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, input[1]);
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);

  ASSERT_TRUE(server.Request(std::chrono::seconds(20))) << "the program made no request";
  const auto closed = std::chrono::steady_clock::now();
  ASSERT_EQ(::write(input[1], "close\n", 6), 6);
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() - closed < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const auto took = std::chrono::steady_clock::now() - closed;
  ::close(input[1]);
  if (ended == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  ASSERT_EQ(ended, pid) << "the program did not end";
  EXPECT_LT(took, std::chrono::seconds(1));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
}  // namespace talmeko::app::ui
