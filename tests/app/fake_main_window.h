#pragma once
// A main window that keeps in memory what the real one shows, and records
// the messages, loaded pages and the wait cursor's depth at each load.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_port.h"

namespace talmeko::app {

// The GUI thread's queue of tasks posted from other threads; the test runs
// them on its own thread.
class GuiQueue {
 public:
  void Post(std::function<void()> task) {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    posted_.notify_all();
  }
  // Runs the next task; false when none came in time.
  bool RunNext(std::chrono::milliseconds wait = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_for(lock, wait, [this] { return !tasks_.empty(); })) return false;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    return true;
  }
  std::size_t Pending() {
    const std::lock_guard lock(mutex_);
    return tasks_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

class FakeMainWindow : public MainWindowPort {
 public:
  int ColourCount() const override { return static_cast<int>(items.size()); }
  std::string ColourItem(int index) const override { return items.at(static_cast<std::size_t>(index)); }
  void AppendColour(std::string_view item) override { items.emplace_back(item); }
  void DeleteColour(int index) override { items.erase(items.begin() + index); }
  void DeleteSelectedColour() override {
    if (selected >= 0 && selected < ColourCount()) items.erase(items.begin() + selected);
    selected = -1;
  }
  void RemoveAllColours() override { items.clear(); }
  void ScrollColoursToTop() override { ++scrolls; }
  void RepaintColours() override { ++repaints; }

  std::string EntryText() const override { return entry; }
  void SetEntryText(std::string_view text) override { entry = text; }
  void FocusEntry() override { ++focuses; }

  int PaletteIndex() const override { return palette; }
  void SelectPaletteIndex(int index) override { palette = index; }

  void SetEnabled(Control control, bool on) override { enabled[control] = on; }
  void SetVisible(Control control, bool on) override { visible[control] = on; }
  bool IsChecked(CheckBox box) const override { return checked.at(box); }
  void SetChecked(CheckBox box, bool on) override { checked[box] = on; }

  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    waitDuringMessages.push_back(wait);
  }
  bool Confirm(std::string_view text) override {
    confirmations.emplace_back(text);
    return confirmAnswer;
  }
  void SetWaitCursor(bool on) override {
    wait += on ? 1 : -1;
    if (wait < 0) ++unbalancedWait;
  }
  void LoadDocument(std::string_view bytes) override {
    pages.emplace_back(bytes);
    waitDuringLoads.push_back(wait);
  }
  std::optional<std::string> ChooseSaveFile(std::string_view filter, std::string_view pattern) override {
    dialogFilters.emplace_back(std::string(filter) + "|" + std::string(pattern));
    return Next();
  }
  std::optional<std::string> ChooseOpenFile(std::string_view filter, std::string_view pattern) override {
    dialogFilters.emplace_back(std::string(filter) + "|" + std::string(pattern));
    waitDuringDialogs.push_back(wait);
    return Next();
  }

  bool ShowWelcome() override {
    ++welcomeShown;
    return welcomeAnswer;
  }
  void PostToGuiThread(std::function<void()> task) override { gui->Post(std::move(task)); }

  // Types a number with a palette chosen and presses Enter.
  void Enter(class MainWindowLogic& logic, const std::string& number, int paletteIndex);

  std::vector<std::string> items;
  int selected = -1;
  int scrolls = 0;
  int repaints = 0;
  std::string entry;
  int focuses = 0;
  int palette = -1;
  std::map<Control, bool> enabled{{Control::btnClear, false}, {Control::btnPrintPreview, false}};
  std::map<Control, bool> visible;
  std::map<CheckBox, bool> checked{{CheckBox::cbDMC, true},     {CheckBox::cbGamma, true},
                                   {CheckBox::cbAnchor, false}, {CheckBox::cbMadeira, false},
                                   {CheckBox::cbkirov, false},  {CheckBox::cbColorFind, false}};
  std::vector<std::string> messages;
  std::vector<int> waitDuringMessages;
  std::vector<std::string> confirmations;
  bool confirmAnswer = true;
  int wait = 0;
  int unbalancedWait = 0;
  std::vector<std::string> pages;
  std::vector<int> waitDuringLoads;
  std::vector<std::string> dialogFilters;
  std::vector<int> waitDuringDialogs;
  std::deque<std::optional<std::string>> dialogAnswers;
  int welcomeShown = 0;
  bool welcomeAnswer = false;
  std::shared_ptr<GuiQueue> gui = std::make_shared<GuiQueue>();

 private:
  std::optional<std::string> Next() {
    if (dialogAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }
};

}  // namespace talmeko::app
