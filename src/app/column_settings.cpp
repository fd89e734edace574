#include "app/column_settings.h"

#include <array>
#include <string_view>

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

void ColumnSettings::ReadSwitches() {
  platform::ProfileDocument document;
  document.Load(path_);
  for (const Switch& s : kSwitches) SetSwitch(s.box, document.ReadBool(kSection, s.key, s.byDefault));
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
  for (const Switch& s : kSwitches) document.WriteBool(kSection, s.key, port_.IsChecked(s.box));
  document.Save(path_);
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
