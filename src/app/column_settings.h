#pragma once
// The four remembered column switches and the settings file talmeko.ini
// beside the executable, section "palette".

#include <string>
#include <utility>

#include "app/main_window_port.h"
#include "report/result_page_builder.h"

namespace talmeko::app {

class ColumnSettings {
 public:
  // The directory ends in its separator; the file is named inside it.
  ColumnSettings(MainWindowPort& port, report::ResultPageBuilder& builder, std::string directory)
      : port_(port), builder_(builder), directory_(std::move(directory)) {}

  // Sets the switches from the file while creating the window, then writes
  // them back, also when the reading failed.
  void ReadSettings();
  // Rebuilds the page and saves the four switches; failures stay silent.
  void UpdateListView();
  // The click handler shared by the four switches.
  void SwitchClick();

  bool IsCreating() const { return Creating; }
  const std::string& Path() const { return path_; }

 private:
  void ReadSwitches();
  void SetSwitch(CheckBox box, bool checked);
  void WriteSwitches() const;

  MainWindowPort& port_;
  report::ResultPageBuilder& builder_;
  std::string directory_;
  std::string path_;
  bool Creating = false;
};

}  // namespace talmeko::app
