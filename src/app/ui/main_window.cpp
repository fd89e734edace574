#include "app/ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <limits>
#include <sstream>
#include <utility>

#include "app/settings_location.h"
#include "app/ui/form_helpers.h"
#include "app/ui/web_label.h"
#include "app/ui/welcome_window.h"
#include "app/website.h"
#include "htmlview/ui/html_view_widget.h"
#include "platform/qt/qt_address_opener.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window_services.h"
#include "preview/ui/preview_form.h"

namespace talmeko::app::ui {
namespace {

namespace pq = platform::qt;

QFont ArialFont(bool bold = false) { return PixelFont(QStringLiteral("Arial"), 11, bold); }

void BlackOnWhite(QWidget* widget) {
  QPalette palette = widget->palette();
  for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window}) {
    palette.setColor(role, Qt::white);
  }
  for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
    palette.setColor(role, Qt::black);
  }
  widget->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* utf8Text, int left, int top) {
  auto* label = new QLabel(QString::fromUtf8(utf8Text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(ArialFont(true));
  label->adjustSize();
  label->move(left, top);
  return label;
}

QToolButton* MakeIconButton(QWidget* parent, const char* name, const char* themeIcon, QStyle::StandardPixmap fallback,
                            const char* utf8Hint, int left) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(QIcon::fromTheme(QString::fromLatin1(themeIcon), parent->style()->standardIcon(fallback)));
  button->setIconSize(QSize(24, 24));
  button->setGeometry(left, 372, 32, 32);
  button->setToolTip(QString::fromUtf8(utf8Hint));
  return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* utf8Text, QRect geometry, bool checked) {
  auto* box = new QCheckBox(QString::fromUtf8(utf8Text), parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  box->setChecked(checked);
  return box;
}

bool IsEnterKey(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

// The Windows-1251 byte of the character a key press types; nothing for keys
// that type no character, such as the arrows.
std::optional<char> TypedCharacter(const QKeyEvent* key) {
  const QString text = key->text();
  if (text.size() != 1) return std::nullopt;
  const std::string bytes = pq::ToCp1251(text);
  if (bytes.size() != 1) return std::nullopt;
  return bytes.front();
}

std::optional<std::string> FileSystemName(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  return QFile::encodeName(name).toStdString();
}

// Both colour set dialogs open where a colour set can be saved: the working
// directory, or the home folder when the working directory is not writable.
void StartInUsersFolder(QFileDialog& dialog) {
  dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(DialogStartDirectory())));
}

}  // namespace

TfMain::TfMain(MainWindowOptions options, QWidget* parent) : QWidget(parent) {
  if (!options.opener) options.opener = std::make_shared<pq::QtAddressOpener>();
  opener_ = options.opener;
  setObjectName(QStringLiteral("TfMain"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8("Таблица перевода ниток мулине Talmeko"));
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));
  setFixedSize(kClientWidth, kClientHeight);
  CreateControls();
  // The update timer counts from the window's creation and ticks once.
  Timer2 = new QTimer(this);
  Timer2->setSingleShot(true);
  Timer2->setInterval(options.updateDelay);
  Timer2->start();
  logic_ = std::make_unique<MainWindowLogic>(static_cast<MainWindowPort&>(*this), std::move(options));
  ConnectHandlers();
  logic_->FormCreate();
  fWelcome = std::make_unique<TfWelcome>(*opener_);
}

TfMain::~TfMain() = default;

void TfMain::CreateControls() {
  Label1 = MakeLabel(this, "Label1", "Палитра мулине:", 16, 8);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(false);
  for (const char* item : {"DMC", "Гамма", "Anchor", "Madeira", "ПНК им. Кирова"}) {
    ComboBox1->addItem(QString::fromUtf8(item));
  }
  ComboBox1->setGeometry(16, 24, 153, 22);
  ComboBox1->setFont(ArialFont());
  BlackOnWhite(ComboBox1);
  ComboBox1->setToolTip(QString::fromUtf8("Выберите палитру"));
  ComboBox1->setCurrentIndex(0);

  Label2 = MakeLabel(this, "Label2", "Список цветов:", 16, 56);

  sEdit1 = new QLineEdit(this);
  sEdit1->setObjectName(QStringLiteral("sEdit1"));
  sEdit1->setGeometry(16, 72, 121, 22);
  sEdit1->setFont(ArialFont());
  BlackOnWhite(sEdit1);
  sEdit1->setToolTip(QString::fromUtf8("Введите номер цвета"));
  sEdit1->setMaxLength(std::numeric_limits<int>::max());

  Button1 = new QPushButton(QString::fromUtf8("ОК"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(136, 72, 33, 22);
  Button1->setAutoDefault(false);

  clbMoulineID = new QListWidget(this);
  clbMoulineID->setObjectName(QStringLiteral("clbMoulineID"));
  clbMoulineID->setGeometry(16, 104, 153, 269);
  clbMoulineID->setSelectionMode(QAbstractItemView::SingleSelection);
  clbMoulineID->setUniformItemSizes(true);
  // The list box scrolls by lines only; a long item is cut at its edge.
  clbMoulineID->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  sBitBtn1 = MakeIconButton(this, "sBitBtn1", "document-open", QStyle::SP_DialogOpenButton, "Открыть", 16);
  sBitBtn2 = MakeIconButton(this, "sBitBtn2", "document-save", QStyle::SP_DialogSaveButton, "Сохранить", 48);
  btnClear = MakeIconButton(this, "btnClear", "edit-clear", QStyle::SP_DialogResetButton, "Очистить", 137);
  btnClear->setEnabled(false);
  btnPrintPreview = MakeIconButton(this, "btnPrintPreview", "document-print-preview",
                                   QStyle::SP_FileDialogContentsView, "Предпросмотр печати", 193);
  btnPrintPreview->setEnabled(false);

  Label3 = MakeLabel(this, "Label3", "Отображать палитры", 192, 8);

  HTMLView = new htmlview::ui::THtmlViewWidget(this);
  HTMLView->setObjectName(QStringLiteral("HTMLView"));
  HTMLView->setGeometry(192, 24, 546, 348);

  cbColorFind = MakeCheckBox(this, "cbColorFind", "Искать наиболее похожий цвет", {556, 378, 185, 19}, false);

  cbDMC = MakeCheckBox(this, "cbDMC", "DMC", {322, 7, 52, 17}, true);
  cbDMC->setEnabled(false);
  cbGamma = MakeCheckBox(this, "cbGamma", "Гамма", {376, 7, 73, 17}, true);
  cbAnchor = MakeCheckBox(this, "cbAnchor", "Anchor", {442, 7, 73, 17}, false);
  cbMadeira = MakeCheckBox(this, "cbMadeira", "Madeira", {506, 7, 97, 17}, false);
  cbkirov = MakeCheckBox(this, "cbkirov", "ПНК им. Кирова", {573, 7, 113, 17}, false);

  CreateWebLabels();
}

void TfMain::CreateWebLabels() {
  const QString site = QString::fromStdString(WebsiteAddress());
  const QString arial = QStringLiteral("Arial");
  const TsWebLabel::Look siteLook{PixelFont(arial, 13, true, true), Qt::blue};
  const TsWebLabel::Look siteHover{CellHeightFont(arial, 16, true, true), Qt::blue};
  wl_talmeko = new TsWebLabel(this,
                              {"wl_talmeko", site + QString::fromUtf8(" - Talmeko — таблица соответствия мулине"),
                               QString::fromUtf8("Перейти на сайт ") + site, WebsiteAddress() + "/",
                               {16, 413, 454, 16}, siteLook, siteHover},
                              *opener_);
  const TsWebLabel::Look feedbackLook{PixelFont(arial, 11, true, true), Qt::blue};
  sWebLabel1 = new TsWebLabel(this,
                              {"sWebLabel1", QString::fromUtf8("Отзыв о программе"),
                               QString::fromUtf8("Оставить отзыв о программе на сайте ") + site,
                               WebsiteAddress() + "/forum/5-432", {629, 415, 109, 14}, feedbackLook, feedbackLook},
                              *opener_);
  // The update link, which only the update check reveals.
  const TsWebLabel::Look updateLook{PixelFont(arial, 11, false, true), Qt::blue};
  const TsWebLabel::Look updateHover{PixelFont(QStringLiteral("MS Sans Serif"), 11, true),
                                     QApplication::palette().color(QPalette::WindowText)};
  sWebLabel3 = new TsWebLabel(this,
                              {"sWebLabel3", QString::fromUtf8("Доступно обновление"), QString(),
                               WebsiteAddress() + "/index/0-7/", {480, 415, 114, 14}, updateLook, updateHover},
                              *opener_);
  sWebLabel3->hide();
}

void TfMain::ConnectHandlers() {
  MainWindowLogic* logic = logic_.get();
  sEdit1->installEventFilter(this);
  Button1->installEventFilter(this);
  ComboBox1->installEventFilter(this);
  ComboBox1->view()->installEventFilter(this);
  clbMoulineID->viewport()->installEventFilter(this);

  connect(Button1, &QPushButton::clicked, this, [logic] { logic->Button1Click(); });
  // Only user changes arrive here: SelectPaletteIndex blocks the signal.
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, [logic] { logic->ComboBox1Change(); });
  connect(btnClear, &QToolButton::clicked, this, [logic] { logic->btnClearClick(); });
  connect(btnPrintPreview, &QToolButton::clicked, this, [this] { btnPrintPreviewClick(); });
  connect(sBitBtn1, &QToolButton::clicked, this, [logic] { logic->sBitBtn1Click(); });
  connect(sBitBtn2, &QToolButton::clicked, this, [logic] { logic->sBitBtn2Click(); });
  // clicked, unlike toggled, comes only from the user: the logic runs the
  // handlers itself when it changes a switch.
  connect(cbColorFind, &QCheckBox::clicked, this, [logic] { logic->cbColorFindClick(); });
  connect(cbGamma, &QCheckBox::clicked, this, [logic] { logic->cbGammaClick(); });
  connect(cbAnchor, &QCheckBox::clicked, this, [logic] { logic->cbAnchorClick(); });
  connect(cbMadeira, &QCheckBox::clicked, this, [logic] { logic->cbMadeiraClick(); });
  connect(cbkirov, &QCheckBox::clicked, this, [logic] { logic->cbkirovClick(); });
  connect(Timer2, &QTimer::timeout, this, &TfMain::Timer2Timer);
}

void TfMain::Timer2Timer() {
  Timer2->stop();
  logic_->Timer2Timer();
}

void TfMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(*this);
  }
  logic_->FormShow();
  update();
}

// A second close while the prompt is up would show it inside itself; the
// first close is still being answered.
void TfMain::closeEvent(QCloseEvent* event) {
  if (fWelcome->isVisible()) {
    event->ignore();
    return;
  }
  logic_->FormCloseQuery();
  event->accept();
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == sEdit1) {
      if (IsEnterKey(key)) {
        logic_->sEdit1KeyPress('\r');
        return true;
      }
      if (const std::optional<char> typed = TypedCharacter(key)) logic_->sEdit1KeyPress(*typed);
      return false;
    }
    if (watched == Button1 && IsEnterKey(key)) {
      logic_->Button1Click();
      return true;
    }
    if (watched == ComboBox1 || watched == ComboBox1->view()) {
      const std::optional<char> typed = TypedCharacter(key);
      // A carriage return in place of the typed character does nothing in
      // the chooser, so the key press is dropped.
      return typed && MainWindowLogic::ComboBox1KeyPress(*typed) != *typed;
    }
  }
  if (watched == clbMoulineID->viewport()) {
    if (event->type() == QEvent::MouseButtonDblClick) {
      logic_->clbMoulineIDDblClick();
      return true;
    }
    // A press below the last item would clear the selection, and the
    // double-click it begins would then remove nothing.
    if (event->type() == QEvent::MouseButtonPress &&
        clbMoulineID->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr) {
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

QString TfMain::FileFilter(std::string_view filterDescription, std::string_view pattern) {
  return pq::FromCp1251(filterDescription) + QStringLiteral(" (") + pq::FromCp1251(pattern) + QStringLiteral(")");
}

// The one place where page bytes reach the view. The view reads the stream
// from its first byte, as a page of the kind HTML with no name.
void TfMain::HandPageToView() {
  std::stringstream stream(loadedPage_);
  HTMLView->LoadFromStream(&stream, "", htmlview::TDocType::HTMLType);
}

QWidget* TfMain::ControlWidget(Control control) const {
  switch (control) {
    case Control::Button1: return Button1;
    case Control::sBitBtn1: return sBitBtn1;
    case Control::sBitBtn2: return sBitBtn2;
    case Control::btnClear: return btnClear;
    case Control::btnPrintPreview: return btnPrintPreview;
    case Control::sWebLabel3: return sWebLabel3;
  }
  return nullptr;
}

QCheckBox* TfMain::CheckBoxWidget(CheckBox box) const {
  switch (box) {
    case CheckBox::cbDMC: return cbDMC;
    case CheckBox::cbGamma: return cbGamma;
    case CheckBox::cbAnchor: return cbAnchor;
    case CheckBox::cbMadeira: return cbMadeira;
    case CheckBox::cbkirov: return cbkirov;
    case CheckBox::cbColorFind: return cbColorFind;
  }
  return nullptr;
}

int TfMain::ColourCount() const { return clbMoulineID->count(); }

std::string TfMain::ColourItem(int index) const {
  const QListWidgetItem* item = clbMoulineID->item(index);
  return item ? pq::ToCp1251(item->text()) : std::string();
}

void TfMain::AppendColour(std::string_view text) {
  auto* item = new QListWidgetItem(pq::FromCp1251(text));
  item->setSizeHint(QSize(clbMoulineID->viewport()->width(), 13));
  clbMoulineID->addItem(item);
}

void TfMain::DeleteColour(int index) { delete clbMoulineID->takeItem(index); }

void TfMain::DeleteSelectedColour() {
  const QList<QListWidgetItem*> selected = clbMoulineID->selectedItems();
  if (selected.isEmpty()) return;
  delete clbMoulineID->takeItem(clbMoulineID->row(selected.front()));
  // Qt would select the next item, and a second double-click would then
  // silently delete a colour the user never chose.
  clbMoulineID->setCurrentItem(nullptr);
  clbMoulineID->clearSelection();
}

void TfMain::RemoveAllColours() { clbMoulineID->clear(); }

void TfMain::ScrollColoursToTop() { clbMoulineID->scrollToTop(); }

void TfMain::RepaintColours() { clbMoulineID->viewport()->update(); }

std::string TfMain::EntryText() const { return pq::ToCp1251(sEdit1->text()); }

void TfMain::SetEntryText(std::string_view text) { sEdit1->setText(pq::FromCp1251(text)); }

void TfMain::FocusEntry() { sEdit1->setFocus(Qt::OtherFocusReason); }

int TfMain::PaletteIndex() const { return ComboBox1->currentIndex(); }

void TfMain::SelectPaletteIndex(int index) {
  const QSignalBlocker blocker(ComboBox1);
  ComboBox1->setCurrentIndex(index);
}

void TfMain::SetEnabled(Control control, bool enabled) { ControlWidget(control)->setEnabled(enabled); }

void TfMain::SetVisible(Control control, bool visible) { ControlWidget(control)->setVisible(visible); }

bool TfMain::IsChecked(CheckBox box) const { return CheckBoxWidget(box)->isChecked(); }

void TfMain::SetChecked(CheckBox box, bool checked) { CheckBoxWidget(box)->setChecked(checked); }

// The preview records its pages while it is created; an error there (no
// printer, a page that cannot be cut) is told to the user and the main window
// goes on. A cancelled recording shows nothing.
void TfMain::btnPrintPreviewClick() {
  std::unique_ptr<preview::ui::TPreviewForm> preview;
  try {
    bool aborted = false;
    preview = std::make_unique<preview::ui::TPreviewForm>(this, *HTMLView, aborted);
    if (aborted) return;
  } catch (const std::exception& error) {
    ShowMessage(error.what());
    return;
  }
  preview->setWindowState(Qt::WindowMaximized);
  preview->exec();
}

void TfMain::ShowMessage(std::string_view text) {
  if (messageHook_) {
    messageHook_(text);
    return;
  }
  pq::ShowMessage(this, text);
}

bool TfMain::Confirm(std::string_view text) {
  if (confirmHook_) return confirmHook_(text);
  return pq::Confirm(this, text);
}

void TfMain::SetWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void TfMain::LoadDocument(std::string_view bytes) {
  loadedPage_.assign(bytes);
  HandPageToView();
}

// Both colour set dialogs are the same apart from their mode. The save
// dialog completes a name typed without the extension: the name is saved
// with it, so the question before overwriting must be about that file
// ("set" asks about set.talmeko).
std::optional<std::string> TfMain::RunFileDialog(bool save, std::string_view filterDescription,
                                                 std::string_view pattern) {
  QFileDialog dialog(this);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  StartInUsersFolder(dialog);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(FileFilter(filterDescription, pattern));
  if (save && pattern.starts_with("*.")) dialog.setDefaultSuffix(QString::fromStdString(std::string(pattern.substr(2))));
  // The desktop's own dialog would speak the machine's language, not the program's.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FileSystemName(dialog.selectedFiles().front());
}

std::optional<std::string> TfMain::ChooseSaveFile(std::string_view filterDescription, std::string_view pattern) {
  if (saveFileHook_) return saveFileHook_(filterDescription, pattern);
  return RunFileDialog(true, filterDescription, pattern);
}

std::optional<std::string> TfMain::ChooseOpenFile(std::string_view filterDescription, std::string_view pattern) {
  if (openFileHook_) return openFileHook_(filterDescription, pattern);
  return RunFileDialog(false, filterDescription, pattern);
}

bool TfMain::ShowWelcome() { return fWelcome->exec() == QDialog::Accepted; }

// Qt drops the task if the window is gone by the time it would run; the
// update check stops posting before that.
void TfMain::PostToGuiThread(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

}  // namespace talmeko::app::ui
