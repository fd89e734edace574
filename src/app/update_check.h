#pragma once
// The update check of the main window: started by the first tick of Timer2,
// it creates UpdateMutex and starts the worker, shows the update label when
// the worker says so, and closes the mutex when the worker is done.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/main_window_port.h"
#include "app/update_thread.h"
#include "platform/http_get.h"

namespace talmeko::app {

class UpdateCheck {
 public:
  using ClientFactory = std::function<std::unique_ptr<platform::HttpClient>()>;

  // An empty factory gives the libcurl client.
  UpdateCheck(MainWindowPort& port, std::string address, ClientFactory makeClient);
  // Closes the mailbox, so that a worker still waiting never reaches the window.
  ~UpdateCheck();
  UpdateCheck(const UpdateCheck&) = delete;
  UpdateCheck& operator=(const UpdateCheck&) = delete;

  // The first tick, once per run; the window has stopped the timer.
  void Timer2Timer();
  // On the GUI thread, after the worker has released the mutex.
  void UpdateThreadDone();

  bool Finished() const { return finished_; }

 private:
  void Receive(UpdateMessage message);

  MainWindowPort& port_;
  std::string address_;
  ClientFactory makeClient_;
  std::shared_ptr<UpdateMailbox> mailbox_;
  std::shared_ptr<std::mutex> UpdateMutex;
  bool started_ = false;
  bool finished_ = false;
};

// The request fields of the update check's GET.
const platform::HttpRequestFields& UpdateRequestFields();

}  // namespace talmeko::app
