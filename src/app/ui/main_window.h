#pragma once
// The main window TfMain: the controls of the conversion table, laid out at
// fixed pixel positions, over the list logic, which reaches them through
// MainWindowPort.

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/main_window_logic.h"
#include "app/main_window_port.h"
#include "platform/address_opener.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;

namespace talmeko::htmlview::ui {
class THtmlViewWidget;
}

namespace talmeko::app::ui {

class TfWelcome;
class TsWebLabel;

class TfMain : public QWidget, private MainWindowPort {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 759;
  static constexpr int kClientHeight = 448;

  explicit TfMain(MainWindowOptions options = {}, QWidget* parent = nullptr);
  ~TfMain() override;

  MainWindowLogic& Logic() { return *logic_; }
  // The exit prompt, created hidden with the window.
  TfWelcome& Welcome() { return *fWelcome; }

  // The bytes last handed to the view by the list logic.
  const std::string& LoadedPage() const { return loadedPage_; }

  // Replacements for the modal dialogs, so that the window can be driven
  // without a user; an empty function restores the real dialog.
  using MessageHook = std::function<void(std::string_view text)>;
  using ConfirmHook = std::function<bool(std::string_view text)>;
  using FileHook = std::function<std::optional<std::string>(std::string_view filterDescription,
                                                            std::string_view pattern)>;
  void SetMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
  void SetConfirmHook(ConfirmHook hook) { confirmHook_ = std::move(hook); }
  void SetSaveFileHook(FileHook hook) { saveFileHook_ = std::move(hook); }
  void SetOpenFileHook(FileHook hook) { openFileHook_ = std::move(hook); }

  // The filter line the colour set dialogs show: "description (pattern)".
  static QString FileFilter(std::string_view filterDescription, std::string_view pattern);

 protected:
  void showEvent(QShowEvent* event) override;
  // FormCloseQuery: the close is never refused.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateWebLabels();
  void Timer2Timer();
  void ConnectHandlers();
  void HandPageToView();
  std::optional<std::string> RunFileDialog(bool save, std::string_view filterDescription, std::string_view pattern);
  void btnPrintPreviewClick();
  QWidget* ControlWidget(Control control) const;
  QCheckBox* CheckBoxWidget(CheckBox box) const;

  int ColourCount() const override;
  std::string ColourItem(int index) const override;
  void AppendColour(std::string_view item) override;
  void DeleteColour(int index) override;
  void DeleteSelectedColour() override;
  void RemoveAllColours() override;
  void ScrollColoursToTop() override;
  void RepaintColours() override;
  std::string EntryText() const override;
  void SetEntryText(std::string_view text) override;
  void FocusEntry() override;
  int PaletteIndex() const override;
  void SelectPaletteIndex(int index) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetVisible(Control control, bool visible) override;
  bool IsChecked(CheckBox box) const override;
  void SetChecked(CheckBox box, bool checked) override;
  void ShowMessage(std::string_view text) override;
  bool Confirm(std::string_view text) override;
  void SetWaitCursor(bool on) override;
  void LoadDocument(std::string_view bytes) override;
  std::optional<std::string> ChooseSaveFile(std::string_view filterDescription, std::string_view pattern) override;
  std::optional<std::string> ChooseOpenFile(std::string_view filterDescription, std::string_view pattern) override;
  bool ShowWelcome() override;
  void PostToGuiThread(std::function<void()> task) override;

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* sEdit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QListWidget* clbMoulineID = nullptr;
  QToolButton* sBitBtn1 = nullptr;
  QToolButton* sBitBtn2 = nullptr;
  QToolButton* btnClear = nullptr;
  QToolButton* btnPrintPreview = nullptr;
  QLabel* Label3 = nullptr;
  htmlview::ui::THtmlViewWidget* HTMLView = nullptr;
  QCheckBox* cbColorFind = nullptr;
  QCheckBox* cbDMC = nullptr;
  QCheckBox* cbGamma = nullptr;
  QCheckBox* cbAnchor = nullptr;
  QCheckBox* cbMadeira = nullptr;
  QCheckBox* cbkirov = nullptr;
  TsWebLabel* wl_talmeko = nullptr;
  TsWebLabel* sWebLabel1 = nullptr;
  TsWebLabel* sWebLabel3 = nullptr;
  QTimer* Timer2 = nullptr;

  std::string loadedPage_;
  MessageHook messageHook_;
  ConfirmHook confirmHook_;
  FileHook saveFileHook_;
  FileHook openFileHook_;
  bool centred_ = false;
  std::shared_ptr<platform::AddressOpener> opener_;
  std::unique_ptr<TfWelcome> fWelcome;
  std::unique_ptr<MainWindowLogic> logic_;
};

}  // namespace talmeko::app::ui
