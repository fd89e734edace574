#pragma once
// Everything the main window TfMain does apart from drawing itself: it owns
// the catalogue, the page body and the list logic, and its handlers are the
// window's event handlers, called by the window with the same names.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/colour_list.h"
#include "app/colour_set_file.h"
#include "app/column_settings.h"
#include "app/main_window_port.h"
#include "app/page_host_adapter.h"
#include "app/update_check.h"
#include "catalogue/tables.h"
#include "platform/address_opener.h"
#include "report/result_page_builder.h"

namespace talmeko::app {

struct MainWindowOptions {
  // Where talmeko.ini lives, with its trailing separator; empty means the
  // directory of the executable, or the user's configuration folder when
  // that directory cannot be written.
  std::string settingsDirectory;
  // Builds the catalogue; empty means the one compiled into the program.
  std::function<catalogue::Tables()> loadTables;
  // Opens the website's pages; the window supplies the desktop's opener
  // when this is empty.
  std::shared_ptr<platform::AddressOpener> opener{};
  // The update file's address; empty means UpdateFileAddress(), read once
  // as the window is created.
  std::string updateAddress{};
  // Makes the update worker's HTTP client; empty means the libcurl one.
  UpdateCheck::ClientFactory makeHttpClient{};
  // How long after the window's creation Timer2 ticks. Only tests shorten it.
  std::chrono::milliseconds updateDelay{15000};
};

class MainWindowLogic {
 public:
  explicit MainWindowLogic(MainWindowPort& port, MainWindowOptions options = {});

  void FormCreate();
  void FormShow() { port_.FocusEntry(); }
  void sEdit1KeyPress(char key) { list_.KeyPress(key); }
  void Button1Click() { list_.KeyPress('\r'); }
  void ComboBox1Change();
  // The character the chooser is to see instead of the typed one: letters
  // must never select a palette.
  static char ComboBox1KeyPress(char key);
  void clbMoulineIDDblClick() { list_.RemoveSelected(); }
  void btnClearClick() { list_.ClearColorList(); }
  void cbColorFindClick();
  void cbGammaClick() { settings_.SwitchClick(); }
  void cbAnchorClick() { settings_.SwitchClick(); }
  void cbMadeiraClick() { settings_.SwitchClick(); }
  void cbkirovClick() { settings_.SwitchClick(); }
  void sBitBtn1Click();
  void sBitBtn2Click() { colourSets_.SaveColorSet(); }
  void UpdateListView() { settings_.UpdateListView(); }
  // The window is closing: the exit prompt, and the website's root on OK.
  // The close is never refused.
  void FormCloseQuery();
  // The first tick of Timer2, which the window has stopped.
  void Timer2Timer() { update_.Timer2Timer(); }

  bool PaletteChanged() const { return list_.IsPaletteChanged(); }
  bool Creating() const { return settings_.IsCreating(); }
  const std::string& PageBody() const { return builder_.Body(); }
  const std::string& SettingsPath() const { return settings_.Path(); }
  const catalogue::Tables& Tables() const { return tables_; }
  const UpdateCheck& Update() const { return update_; }

 private:
  MainWindowPort& port_;
  std::function<catalogue::Tables()> loadTables_;
  catalogue::Tables tables_;
  PageHostAdapter host_;
  report::ResultPageBuilder builder_;
  ColourList list_;
  ColumnSettings settings_;
  ColourSetFile colourSets_;
  std::shared_ptr<platform::AddressOpener> opener_;
  // Last, so that it goes first: its worker must stop reaching the window
  // before anything else of the window is gone.
  UpdateCheck update_;
};

}  // namespace talmeko::app
