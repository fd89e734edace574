#pragma once
// The window-system operations the list logic needs of the main window. The
// Qt window implements them; tests use a fake. All text is Windows-1251;
// file names are the file system's own bytes.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace talmeko::app {

enum class Control { Button1, sBitBtn1, sBitBtn2, btnClear, btnPrintPreview, sWebLabel3 };
enum class CheckBox { cbDMC, cbGamma, cbAnchor, cbMadeira, cbkirov, cbColorFind };

class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;

  // The colour list clbMoulineID.
  virtual int ColourCount() const = 0;
  virtual std::string ColourItem(int index) const = 0;
  virtual void AppendColour(std::string_view item) = 0;
  virtual void DeleteColour(int index) = 0;
  // Does nothing when no item is selected.
  virtual void DeleteSelectedColour() = 0;
  virtual void RemoveAllColours() = 0;
  virtual void ScrollColoursToTop() = 0;
  virtual void RepaintColours() = 0;

  // The entry field sEdit1.
  virtual std::string EntryText() const = 0;
  virtual void SetEntryText(std::string_view text) = 0;
  virtual void FocusEntry() = 0;

  // The palette chooser ComboBox1: the selected index, -1 for none.
  virtual int PaletteIndex() const = 0;
  // Selects without raising the change handler.
  virtual void SelectPaletteIndex(int index) = 0;

  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void SetVisible(Control control, bool visible) = 0;

  virtual bool IsChecked(CheckBox box) const = 0;
  // Changes the state only. The window raises no click handler for it: the
  // logic runs the handler itself when the state changes, as a programmatic
  // change of these check boxes always does.
  virtual void SetChecked(CheckBox box, bool checked) = 0;

  // A modal message box captioned with the application title, one OK button.
  virtual void ShowMessage(std::string_view text) = 0;
  // A modal Yes/No confirmation; true only for Yes.
  virtual bool Confirm(std::string_view text) = 0;

  // The application-wide wait cursor. Calls come in pairs and nest: the
  // normal cursor returns only after the last "off".
  virtual void SetWaitCursor(bool on) = 0;

  // Loads the bytes into the HTML view with an empty name and the HTML kind.
  virtual void LoadDocument(std::string_view bytes) = 0;

  // The standard file dialogs with one filter entry; nothing when cancelled.
  // The open dialog accepts only names of existing files.
  virtual std::optional<std::string> ChooseSaveFile(std::string_view filterDescription,
                                                    std::string_view pattern) = 0;
  virtual std::optional<std::string> ChooseOpenFile(std::string_view filterDescription,
                                                    std::string_view pattern) = 0;

  // Shows the exit prompt fWelcome modally; true when it ended with OK.
  virtual bool ShowWelcome() = 0;

  // The one operation called from another thread, the update worker's: runs
  // the task on the GUI thread later. The update check calls it only while
  // the window is there.
  virtual void PostToGuiThread(std::function<void()> task) = 0;
};

// Keeps the wait cursor on for a scope, also when it is left by an exception.
class WaitCursorGuard {
 public:
  explicit WaitCursorGuard(MainWindowPort& port) : port_(port) { port_.SetWaitCursor(true); }
  ~WaitCursorGuard() { port_.SetWaitCursor(false); }
  WaitCursorGuard(const WaitCursorGuard&) = delete;
  WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;

 private:
  MainWindowPort& port_;
};

}  // namespace talmeko::app
