#include "app/main_window_logic.h"

#include <utility>

#include "app/settings_location.h"
#include "app/website.h"

namespace talmeko::app {

MainWindowLogic::MainWindowLogic(MainWindowPort& port, MainWindowOptions options)
    : port_(port),
      loadTables_(options.loadTables ? std::move(options.loadTables) : [] { return catalogue::LoadTables(); }),
      host_(port),
      builder_(tables_, host_),
      list_(port, builder_),
      settings_(port, builder_,
                options.settingsDirectory.empty() ? SettingsDirectory() : options.settingsDirectory),
      colourSets_(port, builder_),
      opener_(std::move(options.opener)),
      update_(port, options.updateAddress.empty() ? UpdateFileAddress() : std::move(options.updateAddress),
              std::move(options.makeHttpClient)) {}

// The settings are read before the catalogue exists: nothing converts a
// colour then, since the list is still empty.
void MainWindowLogic::FormCreate() {
  settings_.ReadSettings();
  list_.SetPaletteChanged(false);
  port_.SelectPaletteIndex(0);
  tables_ = loadTables_();
}

void MainWindowLogic::ComboBox1Change() {
  port_.FocusEntry();
  list_.SetPaletteChanged(true);
}

char MainWindowLogic::ComboBox1KeyPress(char key) { return key == '&' || key == '(' ? key : '\r'; }

void MainWindowLogic::cbColorFindClick() {
  WaitCursorGuard wait(port_);
  builder_.RebuildPage();
}

// A failure to open the website is not reported; the program ends anyway.
void MainWindowLogic::FormCloseQuery() {
  if (port_.ShowWelcome() && opener_) {
    opener_->ShellExecuteA("", WebsiteAddress(), platform::ShowState::SW_SHOW);
  }
}

void MainWindowLogic::sBitBtn1Click() {
  WaitCursorGuard wait(port_);
  colourSets_.LoadColorSet();
}

}  // namespace talmeko::app
