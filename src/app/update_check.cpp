#include "app/update_check.h"

#include <system_error>
#include <utility>

namespace talmeko::app {

const platform::HttpRequestFields& UpdateRequestFields() {
  static const platform::HttpRequestFields fields{"text/html", "text/html, */*", "Mozilla/3.0 (compatible; Talmeko)"};
  return fields;
}

UpdateCheck::UpdateCheck(MainWindowPort& port, std::string address, ClientFactory makeClient)
    : port_(port),
      address_(std::move(address)),
      makeClient_(makeClient ? std::move(makeClient) : [] { return platform::MakeHttpClient(UpdateRequestFields()); }),
      mailbox_(std::make_shared<UpdateMailbox>(
          [&port](std::function<void()> task) { port.PostToGuiThread(std::move(task)); },
          [this](UpdateMessage message) { Receive(message); })) {}

UpdateCheck::~UpdateCheck() { mailbox_->Close(); }

void UpdateCheck::Timer2Timer() {
  if (started_) return;
  started_ = true;
  UpdateMutex = std::make_shared<std::mutex>();
  try {
    TFooThread::Start(UpdateMutex, makeClient_(), address_, mailbox_);
  } catch (const std::system_error&) {
    // No thread to be had: the check fails silently, like any other failure.
    UpdateThreadDone();
  }
}

void UpdateCheck::UpdateThreadDone() {
  UpdateMutex.reset();
  finished_ = true;
}

// The label is shown on the GUI thread and never hidden again.
void UpdateCheck::Receive(UpdateMessage message) {
  switch (message) {
    case UpdateMessage::ShowUpdateLabel: port_.SetVisible(Control::sWebLabel3, true); break;
    case UpdateMessage::ThreadDone: UpdateThreadDone(); break;
  }
}

}  // namespace talmeko::app
