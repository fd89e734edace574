#include "preview/ui/preview_form.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "htmlview/ui/html_view_widget.h"
#include "platform/qt/qt_screen_info.h"
#include "preview/ui/page_box.h"
#include "preview/ui/prn_status_form.h"

// The images live in this static library; Qt has to be told of them once.
static void InitPreviewImages() { Q_INIT_RESOURCE(preview_images); }

namespace talmeko::preview::ui {
namespace {

const char kPageHint[] =
    "Page View.  With Zoom Tool, left or right click to zoom in/out.  Click && drag with Hand Tool to pan.";

// The hint line shows this property of the control under the mouse.
constexpr char kHintProperty[] = "previewHint";

void SetHint(QWidget* widget, const char* hint, bool tip) {
  widget->setProperty(kHintProperty, QString::fromUtf8(hint));
  if (tip) widget->setToolTip(QString::fromUtf8(hint));
}

QToolButton* MakeButton(QWidget* parent, const char* name, QRect geometry, const char* image, const char* caption,
                        const char* hint, bool tip) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  if (image != nullptr) button->setIcon(QIcon(QString(":/preview/") + image + ".png"));
  if (caption != nullptr) {
    button->setText(QString::fromUtf8(caption));
    button->setToolButtonStyle(image != nullptr ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextOnly);
  }
  SetHint(button, hint, tip);
  return button;
}

QToolButton* MakeToggle(QWidget* parent, const char* name, int x, const char* image, const char* caption,
                        const char* hint) {
  QToolButton* button = MakeButton(parent, name, {x, 4, 25, 25}, image, caption, hint, true);
  button->setCheckable(true);
  return button;
}

QComboBox* MakeList(QWidget* parent, const char* name, int x, int width, const QStringList& items) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->move(x, 6);
  list->resize(width, list->sizeHint().height());
  list->addItems(items);
  return list;
}

void MakeSeparator(QWidget* parent, const char* name, int x) {
  auto* bevel = new QFrame(parent);
  bevel->setObjectName(name);
  bevel->setFrameStyle(QFrame::VLine | QFrame::Sunken);
  bevel->setGeometry(x, 4, 2, 27);
}

QLabel* MakeSunkenPanel(QWidget* parent, const char* name, int x, int width, const char* hint) {
  auto* panel = new QLabel(parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setGeometry(x, 1, width, 25);
  SetHint(panel, hint, false);
  return panel;
}

QCursor LoadCursor(const char* image, int hotX, int hotY) {
  return QCursor(QPixmap(QString(":/preview/") + image + ".png"), hotX, hotY);
}

}  // namespace

TPreviewForm::TPreviewForm(QWidget* owner, htmlview::ui::THtmlViewWidget& view, bool& aborted)
    : QDialog(owner), Viewer(view.Engine()) {
  InitPreviewImages();
  setObjectName("PreviewForm");
  setWindowTitle("Preview Form");
  setFont(QFont("Tahoma", 8));
  resize(997, 545);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  CreateToolBar();
  CreatePageArea();
  CreateStatusBar();
  column->addWidget(ToolBarPanel);
  column->addWidget(ScrollBox1, 1);
  column->addWidget(StatBarPanel);
  ConnectControls();
  ZoomBox->setCurrentIndex(ziFitToPage);
  UnitsBox->setCurrentIndex(0);
  zoomCursor_ = LoadCursor("zoom_cursor", 10, 10);
  handCursor_ = LoadCursor("hand_cursor", 7, 14);
  SetPageCursor(zoomCursor_);
  RunPrintDialog = [](QPrintDialog& dialog) { return dialog.exec(); };
  SelectChosenPrinter = SelectDialogPrinter;
  Record(aborted);
}

TPreviewForm::~TPreviewForm() {
  if (hintInstalled_) qApp->removeEventFilter(this);
}

void TPreviewForm::CreateToolBar() {
  ToolBarPanel = new QWidget(this);
  ToolBarPanel->setObjectName("ToolBarPanel");
  ToolBarPanel->setFixedHeight(35);
  QWidget* bar = ToolBarPanel;
  PrintBut = MakeButton(bar, "PrintBut", {5, 4, 76, 25}, "print", "&Печать", "Print the Current Document", false);
  PrevPageBut = MakeButton(bar, "PrevPageBut", {81, 4, 103, 25}, "prev", "&Предыдущая",
                           "Move to Previous Page in Document", false);
  NextPageBut = MakeButton(bar, "NextPageBut", {183, 4, 101, 25}, "next", "&Следующая",
                           "Advance to Next Page in Document", false);
  NextPageBut->setLayoutDirection(Qt::RightToLeft);
  ZoomBox = MakeList(bar, "ZoomBox", 300, 97,
                     {"Fit To Page", "Fit To Width", "Custom", "25%", "50%", "75%", "100%", "125%", "150%", "200%",
                      "300%", "400%"});
  FitPageBut = MakeToggle(bar, "FitPageBut", 412, "fit_page", nullptr, "Fit to Page");
  FitWidthBut = MakeToggle(bar, "FitWidthBut", 437, "fit_width", nullptr, "Fit to Width");
  GridBut = MakeToggle(bar, "GridBut", 463, "grid", nullptr, "Show/Hide Grid");
  UnitsBox = MakeList(bar, "UnitsBox", 503, 81, {"Inches", "Centimeters"});
  ZoomCursorBut = MakeToggle(bar, "ZoomCursorBut", 604, "zoom", nullptr, "Selects the Zoom Tool to zoom in or out");
  HandCursorBut = MakeToggle(bar, "HandCursorBut", 630, "hand", nullptr, "Selects the Hand Tool to pan across the Page");
  OnePageBut = MakeToggle(bar, "OnePageBut", 667, nullptr, "&1", "Display One page at a time");
  TwoPageBut = MakeToggle(bar, "TwoPageBut", 693, nullptr, "&2", "Display Two pages side by side");
  CloseBut = MakeButton(bar, "CloseBut", {732, 4, 77, 25}, "close", "&Закрыть", "Close the Print Preview window", false);
  // The tools are one group and the page counts another, each with one button down.
  for (auto [first, second] : {std::pair{ZoomCursorBut, HandCursorBut}, std::pair{OnePageBut, TwoPageBut}}) {
    auto* group = new QButtonGroup(bar);
    group->addButton(first);
    group->addButton(second);
  }
  ZoomCursorBut->setChecked(true);
  OnePageBut->setChecked(true);
  PrevPageBut->setEnabled(false);
  auto* bevel1 = new QFrame(bar);
  bevel1->setObjectName("Bevel1");
  bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  bevel1->setGeometry(0, 33, 4000, 2);
  const std::pair<const char*, int> separators[] = {{"Bevel2", 292}, {"Bevel3", 404}, {"Bevel7", 495},
                                                    {"Bevel4", 592}, {"Bevel5", 660}, {"Bevel6", 724}};
  for (const auto& [name, x] : separators) MakeSeparator(bar, name, x);
}

void TPreviewForm::CreatePageArea() {
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setObjectName("ScrollBox1");
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  ScrollBox1->setWidgetResizable(false);
  ScrollBox1->viewport()->installEventFilter(this);
  ContainPanel = new QWidget;
  ContainPanel->setObjectName("ContainPanel");
  ContainPanel->setAutoFillBackground(true);
  ContainPanel->setBackgroundRole(QPalette::Dark);
  ScrollBox1->setWidget(ContainPanel);
  const auto makePage = [this](const char* panelName, const char* boxName, TPageBox*& box) {
    auto* panel = new QWidget(ContainPanel);
    panel->setObjectName(panelName);
    box = new TPageBox(panel);
    box->setObjectName(boxName);
    SetHint(box, kPageHint, false);
    box->OnPaint = [this](TPageBox& b, QPainter& p) { PBPaint(b, p); };
    return panel;
  };
  PagePanel = makePage("PagePanel", "PB1", PB1);
  PagePanel2 = makePage("PagePanel2", "PB2", PB2);
  PagePanel2->hide();
  PB1->OnMouseDown = [this](QMouseEvent* e) { PB1MouseDown(e); };
  PB1->OnMouseMove = [this](QMouseEvent* e) { PB1MouseMove(e); };
  PB1->OnMouseUp = [this](QMouseEvent* e) { PB1MouseUp(e); };
}

void TPreviewForm::CreateStatusBar() {
  StatBarPanel = new QWidget(this);
  StatBarPanel->setObjectName("StatBarPanel");
  StatBarPanel->setFixedHeight(27);
  StatBarPanel->setFont(QFont("Arial", 8));
  auto* moveButtons = new QWidget(StatBarPanel);
  moveButtons->setObjectName("MoveButPanel");
  moveButtons->setGeometry(0, 1, 133, 25);
  moveButtons->setFont(QFont("Times New Roman", 10));
  const auto speed = [moveButtons](const char* name, int x, const char* image, const char* hint) {
    return MakeButton(moveButtons, name, {x, 0, 25, 25}, image, nullptr, hint, true);
  };
  FirstPageSpeed = speed("FirstPageSpeed", 1, "first", "Go to First Page in Document");
  PrevPageSpeed = speed("PrevPageSpeed", 26, "prev", "Move to Previous Page in Document");
  NextPageSpeed = speed("NextPageSpeed", 51, "next", "Advance to Next Page in Document");
  LastPageSpeed = speed("LastPageSpeed", 76, "last", "Go to Last Page in Document");
  PageNumSpeed = speed("PageNumSpeed", 101, "page_number", "Go to Page by Page Number");
  CurPageLabel = MakeSunkenPanel(StatBarPanel, "CurPageLabel", 133, 101, "Displays the Current Page of the Document");
  ZoomLabel = MakeSunkenPanel(StatBarPanel, "ZoomLabel", 234, 88, "Displays the Current Zoom Level (100% = normal)");
  QLabel* panel1 = MakeSunkenPanel(StatBarPanel, "Panel1", 322, 4000, "Displays Help for the object beneath the mouse");
  HintLabel = new QLabel(panel1);
  HintLabel->setObjectName("HintLabel");
  HintLabel->setGeometry(8, 4, 3990, 17);
  for (QWidget* w : {static_cast<QWidget*>(StatBarPanel), static_cast<QWidget*>(moveButtons)}) {
    QPalette black = w->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(black);
  }
}

void TPreviewForm::Record(bool& aborted) {
  Recorder_ = std::make_unique<TMetaFilePrinter>(platform::qt::CurrentScreenInfo(this));
  TPrnStatusForm status(this);
  status.DoPreview(Viewer, *Recorder_, aborted);
}

void TPreviewForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowPage(0);
  if (!hintInstalled_) qApp->installEventFilter(this);
  hintInstalled_ = true;
  UpdateNavButtons();
  PagePanel->setAutoFillBackground(false);
  PagePanel2->setAutoFillBackground(false);
  ScrollBox1Resize();
}

void TPreviewForm::done(int result) {
  if (hintInstalled_) qApp->removeEventFilter(this);
  hintInstalled_ = false;
  Recorder_.reset();
  QDialog::done(result);
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize) ScrollBox1Resize();
  if (event->type() == QEvent::Enter && watched->isWidgetType()) AppHint(static_cast<QWidget*>(watched));
  return QDialog::eventFilter(watched, event);
}

void TPreviewForm::AppHint(QWidget* under) {
  if (!isAncestorOf(under)) return;
  QString hint;
  for (QWidget* w = under; w != nullptr && w != this && hint.isEmpty(); w = w->parentWidget()) {
    hint = w->property(kHintProperty).toString();
  }
  // The label shows "&&" as one ampersand, as a caption would.
  HintLabel->setText(hint.replace("&&", "&"));
}

}  // namespace talmeko::preview::ui
