#pragma once
// Colour set files "*.talmeko": the colour list as INI text, section
// "Mouline", key "Count" and one key "c0", "c1", ... per item.

#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_port.h"
#include "platform/profile.h"
#include "report/result_page_builder.h"

namespace talmeko::app {

class ColourSetFile {
 public:
  ColourSetFile(MainWindowPort& port, report::ResultPageBuilder& builder) : port_(port), builder_(builder) {}

  // Asks for a name and writes the list; a failure is shown with the file's
  // name and the system's reason, and leaves an earlier file as it was.
  void SaveColorSet();
  // Asks for an existing file, replaces the list with its items and rebuilds
  // the page. A file that cannot be read is shown with its name and the
  // reason, and the list and the page stay as they were.
  void LoadColorSet();

 private:
  MainWindowPort& port_;
  report::ResultPageBuilder& builder_;
};

// "Набор цветов для " followed by the website address, in Windows-1251.
std::string ColourSetFilterDescription();
inline constexpr std::string_view kColourSetPattern = "*.talmeko";

// The name with ".talmeko" appended unless it already ends so, in any case.
std::string ColourSetPath(std::string_view chosenName);

// The items a colour set document holds: the keys c0 to c(count - 1) in that
// order, those missing or holding exactly "-" left out. The work grows with
// the document, not with count.
std::vector<std::string> ColourSetItems(const platform::ProfileDocument& document, int count);

// The document a list of items is saved as, built over the file's earlier content.
platform::ProfileResult WriteColourSet(platform::ProfileDocument& document, const std::vector<std::string>& items);

// The messages shown when a colour set cannot be saved or loaded, in Windows-1251.
std::string SaveFailureMessage(std::string_view path, const platform::ProfileResult& failure);
std::string LoadFailureMessage(std::string_view path, const platform::ProfileResult& failure);

}  // namespace talmeko::app
