#pragma once
// The worker of the update check, TFooThread: one GET of the update file,
// and the decision whether it offers a newer version. It owns everything it
// touches, so the program may end while it still waits for the server; the
// GUI thread hears from it only through an UpdateMailbox.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/http_get.h"

namespace talmeko::app {

// The update file names a newer version when its number is greater than this.
inline constexpr int kUpdateThreshold = 200;

// The whole text as an integer: spaces (and nothing else) before it, an
// optional sign, decimal digits or hexadecimal ones after "$", "x", "X", "0x"
// or "0X", nothing after the digits, and a value within the signed 32 bits.
std::optional<int> ParseUpdateInteger(std::string_view text);

enum class UpdateMessage { ShowUpdateLabel, ThreadDone };

// Carries the worker's messages to the GUI thread for as long as the window
// is there. The window closes it before it goes; later messages are dropped.
class UpdateMailbox {
 public:
  // Post runs on the worker thread and must run its task on the GUI thread
  // later; Receive then runs there with the message.
  using Post = std::function<void(std::function<void()> task)>;
  using Receive = std::function<void(UpdateMessage message)>;

  UpdateMailbox(Post post, Receive receive) : post_(std::move(post)), receive_(std::move(receive)) {}

  void Send(UpdateMessage message);
  void Close();

 private:
  std::mutex mutex_;
  Post post_;
  Receive receive_;
  bool open_ = true;
};

class TFooThread {
 public:
  // Starts the worker at once; it frees itself when its body has ended.
  static void Start(std::shared_ptr<std::mutex> updateMutex, std::unique_ptr<platform::HttpClient> client,
                    std::string address, std::shared_ptr<UpdateMailbox> mailbox);

 private:
  TFooThread(std::shared_ptr<std::mutex> updateMutex, std::unique_ptr<platform::HttpClient> client,
             std::string address, std::shared_ptr<UpdateMailbox> mailbox);

  void Execute();
  bool NewerVersionOffered();

  std::shared_ptr<std::mutex> UpdateMutex;
  std::unique_ptr<platform::HttpClient> client_;
  std::string address_;
  std::shared_ptr<UpdateMailbox> mailbox_;
};

}  // namespace talmeko::app
