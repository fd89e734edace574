#pragma once
// Everything the main window TfMain does apart from drawing itself: it owns
// the catalogue, the page body and the list logic, and its handlers are the
// window's event handlers, called by the window with the same names.

#include <functional>
#include <string>

#include "app/colour_list.h"
#include "app/colour_set_file.h"
#include "app/column_settings.h"
#include "app/main_window_port.h"
#include "app/page_host_adapter.h"
#include "catalogue/tables.h"
#include "report/result_page_builder.h"

namespace talmeko::app {

struct MainWindowOptions {
  // Where talmeko.ini lives, with its trailing separator; empty means the
  // directory of the executable.
  std::string settingsDirectory;
  // Builds the catalogue; empty means the one compiled into the program.
  std::function<catalogue::Tables()> loadTables;
};

class MainWindowLogic {
 public:
  explicit MainWindowLogic(MainWindowPort& port, MainWindowOptions options = {});

  void FormCreate();
  void FormShow() { port_.FocusEntry(); }
  void sEdit1KeyPress(char key) { list_.KeyPress(key); }
  void Button1Click();
  void ComboBox1Change();
  // The character the chooser is to see instead of the typed one: letters
  // must never select a palette.
  static char ComboBox1KeyPress(char key);
  void clbMoulineIDDblClick() { list_.RemoveSelected(); }
  void btnClearClick() { list_.ClearColorList(); }
  void cbColorFindClick();
  void cbGammaClick() { ColumnSwitchClick(); }
  void cbAnchorClick() { ColumnSwitchClick(); }
  void cbMadeiraClick() { ColumnSwitchClick(); }
  void cbkirovClick() { ColumnSwitchClick(); }
  void sBitBtn1Click();
  void sBitBtn2Click() { colourSets_.SaveColorSet(); }
  void UpdateListView() { settings_.UpdateListView(); }

  bool PaletteChanged() const { return list_.IsPaletteChanged(); }
  bool Creating() const { return settings_.IsCreating(); }
  const std::string& PageBody() const { return builder_.Body(); }
  const std::string& SettingsPath() const { return settings_.Path(); }
  const catalogue::Tables& Tables() const { return tables_; }

 private:
  void ColumnSwitchClick();

  MainWindowPort& port_;
  std::function<catalogue::Tables()> loadTables_;
  catalogue::Tables tables_;
  PageHostAdapter host_;
  report::ResultPageBuilder builder_;
  ColourList list_;
  ColumnSettings settings_;
  ColourSetFile colourSets_;
};

}  // namespace talmeko::app
