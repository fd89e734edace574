#include "app/column_settings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace talmeko::app {
namespace {

constexpr std::string_view kSection = "palette";

struct Switch {
  CheckBox box;
  std::string_view key;
  bool byDefault;
};

constexpr std::array<Switch, 4> kSwitches = {{
    {CheckBox::cbGamma, "gamma", true},
    {CheckBox::cbAnchor, "anchor", false},
    {CheckBox::cbMadeira, "madeira", false},
    {CheckBox::cbkirov, "kirov", false},
}};

// Ends the creation step the same way however it is left.
class CreationEnd {
 public:
  explicit CreationEnd(ColumnSettings& settings, bool& creating) : settings_(settings), creating_(creating) {}
  ~CreationEnd() {
    settings_.UpdateListView();
    creating_ = false;
  }
  CreationEnd(const CreationEnd&) = delete;
  CreationEnd& operator=(const CreationEnd&) = delete;

 private:
  ColumnSettings& settings_;
  bool& creating_;
};

}  // namespace

void ColumnSettings::ReadSettings() {
  Creating = true;
  CreationEnd end(*this, Creating);
  path_ = directory_ + "talmeko.ini";
  port_.SetChecked(CheckBox::cbDMC, true);
  ReadSwitches();
}

// The four keys are read in one pass over the file.
void ColumnSettings::ReadSwitches() {
  platform::ProfileDocument document;
  document.Load(path_);
  std::vector<std::string_view> keys;
  for (const Switch& s : kSwitches) keys.push_back(s.key);
  const std::vector<std::optional<std::string>> values = document.ReadStrings(kSection, keys);
  for (std::size_t i = 0; i < kSwitches.size(); ++i) {
    int value = 0;
    const bool stored = values[i] && platform::ParseProfileInteger(*values[i], value);
    SetSwitch(kSwitches[i].box, stored ? value != 0 : kSwitches[i].byDefault);
  }
}

// A switch whose state changes runs its click handler, as a user's click would.
void ColumnSettings::SetSwitch(CheckBox box, bool checked) {
  if (port_.IsChecked(box) == checked) return;
  port_.SetChecked(box, checked);
  SwitchClick();
}

void ColumnSettings::UpdateListView() {
  try {
    builder_.RebuildPage();
    WriteSwitches();
  } catch (...) {
    // The settings are a convenience: neither a failed rebuild nor a failed
    // write may reach the user from here.
  }
}

// The four keys are written as one replacement of the file, so a failure
// leaves the file as it was instead of half updated.
void ColumnSettings::WriteSwitches() const {
  platform::ProfileDocument document;
  if (!document.Load(path_)) return;
  std::vector<platform::ProfileWrite> writes;
  for (const Switch& s : kSwitches) writes.push_back({std::string(s.key), port_.IsChecked(s.box) ? "1" : "0"});
  if (document.WriteStrings(kSection, writes)) document.Save(path_);
}

void ColumnSettings::SwitchClick() {
  WaitCursorGuard wait(port_);
  if (Creating) {
    builder_.RebuildPage();
  } else {
    UpdateListView();
  }
}

}  // namespace talmeko::app
