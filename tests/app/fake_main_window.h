#pragma once
// A main window that keeps in memory what the real one shows, and records
// the messages, loaded pages and the wait cursor's depth at each load.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_port.h"

namespace talmeko::app {

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

 private:
  std::optional<std::string> Next() {
    if (dialogAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }
};

}  // namespace talmeko::app
