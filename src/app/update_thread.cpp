#include "app/update_thread.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

#include "platform/profile.h"

namespace talmeko::app {

// The profile functions read the same integers, except that they know no
// spaces in front and no bare "x" prefix.
std::optional<int> ParseUpdateInteger(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  std::string digits(text);
  const std::size_t prefix = !digits.empty() && (digits.front() == '+' || digits.front() == '-') ? 1 : 0;
  if (digits.size() > prefix && (digits[prefix] == 'x' || digits[prefix] == 'X')) digits[prefix] = '$';
  int value = 0;
  if (!platform::ParseProfileInteger(digits, value)) return std::nullopt;
  return value;
}

void UpdateMailbox::Send(UpdateMessage message) {
  const std::lock_guard lock(mutex_);
  if (!open_) return;
  post_([receive = receive_, message] { receive(message); });
}

void UpdateMailbox::Close() {
  const std::lock_guard lock(mutex_);
  open_ = false;
}

void TFooThread::Start(std::shared_ptr<std::mutex> updateMutex, std::unique_ptr<platform::HttpClient> client,
                       std::string address, std::shared_ptr<UpdateMailbox> mailbox) {
  std::unique_ptr<TFooThread> worker(
      new TFooThread(std::move(updateMutex), std::move(client), std::move(address), std::move(mailbox)));
  // Nobody joins the worker: the program must be able to end while it waits.
  std::thread([worker = std::move(worker)] { worker->Execute(); }).detach();
}

TFooThread::TFooThread(std::shared_ptr<std::mutex> updateMutex, std::unique_ptr<platform::HttpClient> client,
                       std::string address, std::shared_ptr<UpdateMailbox> mailbox)
    : UpdateMutex(std::move(updateMutex)),
      client_(std::move(client)),
      address_(std::move(address)),
      mailbox_(std::move(mailbox)) {}

// The mutex is held for the request and the decision. A lock that cannot be
// taken skips the request, and only a lock that was taken is released.
void TFooThread::Execute() {
  {
    std::unique_lock lock(*UpdateMutex, std::defer_lock);
    try {
      lock.lock();
    } catch (const std::system_error&) {
    }
    if (lock.owns_lock() && NewerVersionOffered()) mailbox_->Send(UpdateMessage::ShowUpdateLabel);
  }
  mailbox_->Send(UpdateMessage::ThreadDone);
}

// Every failure is silent and ends the check: nothing is reported or retried.
bool TFooThread::NewerVersionOffered() {
  try {
    const platform::HttpResult reply = client_->Get(address_);
    if (!reply.ok) return false;
    const std::optional<int> version = ParseUpdateInteger(reply.body);
    return version && *version > kUpdateThreshold;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace talmeko::app
