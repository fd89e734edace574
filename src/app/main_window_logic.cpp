#include "app/main_window_logic.h"

#include <utility>

#include "platform/executable_path.h"

namespace talmeko::app {

MainWindowLogic::MainWindowLogic(MainWindowPort& port, MainWindowOptions options)
    : port_(port),
      loadTables_(options.loadTables ? std::move(options.loadTables) : [] { return catalogue::LoadTables(); }),
      host_(port),
      builder_(tables_, host_),
      list_(port, builder_),
      settings_(port, builder_,
                options.settingsDirectory.empty() ? platform::ExecutableDirectory() : options.settingsDirectory),
      colourSets_(port, builder_) {}

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

// The button and the switches take the keyboard when clicked; it goes back to
// the entry field so that the next number typed is not lost.
void MainWindowLogic::Button1Click() {
  list_.KeyPress('\r');
  port_.FocusEntry();
}

void MainWindowLogic::cbColorFindClick() {
  {
    WaitCursorGuard wait(port_);
    builder_.RebuildPage();
  }
  port_.FocusEntry();
}

void MainWindowLogic::ColumnSwitchClick() {
  settings_.SwitchClick();
  port_.FocusEntry();
}

void MainWindowLogic::sBitBtn1Click() {
  WaitCursorGuard wait(port_);
  colourSets_.LoadColorSet();
}

}  // namespace talmeko::app
