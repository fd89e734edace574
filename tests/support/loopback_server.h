#pragma once
// Runs tests/support/loopback_http_server.py for one test: one scripted
// reply on 127.0.0.1, and the request bytes the server received.

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace talmeko::testing {

class LoopbackServer {
 public:
  enum class Mode { Reply, Silent, Endless };

  explicit LoopbackServer(const std::string& reply, Mode mode = Mode::Reply) {
    static std::atomic<int> serial{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("talmeko-http-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "reply", std::ios::binary) << reply;
    Spawn(mode);
  }

  ~LoopbackServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::filesystem::remove_all(dir_);
  }

  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }
  std::string Address(const std::string& path = "/talmeko.update") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  // The bytes of the request, once the server has recorded them; nothing
  // when no request arrived in time.
  std::optional<std::string> Request(std::chrono::milliseconds wait = std::chrono::seconds(5)) const {
    const auto until = std::chrono::steady_clock::now() + wait;
    const std::filesystem::path record = dir_ / "request";
    while (!std::filesystem::exists(record)) {
      if (std::chrono::steady_clock::now() > until) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::ifstream in(record, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // A loopback port on which nothing listens, so connecting is refused.
  static int ClosedPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
  }

 private:
  void Spawn(Mode mode) {
    const char* modeName = mode == Mode::Reply ? "reply" : mode == Mode::Silent ? "silent" : "endless";
    std::vector<std::string> args = {TALMEKO_PYTHON,
                                     TALMEKO_LOOPBACK_SERVER,
                                     "--mode",
                                     modeName,
                                     "--reply-file",
                                     (dir_ / "reply").string(),
                                     "--record",
                                     (dir_ / "request").string()};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ASSERT_EQ(spawned, 0) << "cannot start " << argv[0];
    FILE* portLine = ::fdopen(out[0], "r");
    ASSERT_EQ(std::fscanf(portLine, "%d", &port_), 1) << "the loopback server did not start";
    std::fclose(portLine);
  }

  std::filesystem::path dir_;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace talmeko::testing
