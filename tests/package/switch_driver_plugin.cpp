// Drives the installed program from outside, for the package check. Qt loads
// this plugin into the unchanged program when QT_PLUGIN_PATH names the folder
// above generic/ and QT_QPA_GENERIC_PLUGINS is "talmekoswitchdriver" or
// "talmekoswitchdriver:<check box name>". It waits until the main window is on
// the screen, clicks the named check box with the mouse as a user would, and
// ends the program: status 0 when the box changed its state, 3 when it did
// not, 4 when no main window appeared in time.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kPatienceMilliseconds = 30000;

class SwitchDriver : public QObject {
 public:
  explicit SwitchDriver(QString switchName) : switchName_(std::move(switchName)) {
    waited_.start();
    QTimer::singleShot(0, this, [this] { Poll(); });
  }

 private:
  // Every main window has the DMC switch; no other window does.
  static QWidget* ShownMainWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      const bool shown = top->isVisible() && top->windowHandle() != nullptr && top->windowHandle()->isExposed();
      if (shown && top->findChild<QCheckBox*>(QStringLiteral("cbDMC")) != nullptr) return top;
    }
    return nullptr;
  }

  void Poll() {
    QWidget* window = ShownMainWindow();
    if (window == nullptr) {
      if (waited_.elapsed() > kPatienceMilliseconds) {
        QCoreApplication::exit(4);
      } else {
        QTimer::singleShot(kPollMilliseconds, this, [this] { Poll(); });
      }
      return;
    }
    QCoreApplication::exit(ClickSwitch(*window) ? 0 : 3);
  }

  bool ClickSwitch(QWidget& window) const {
    if (switchName_.isEmpty()) return true;
    auto* box = window.findChild<QCheckBox*>(switchName_);
    if (box == nullptr) return false;
    const bool before = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton);
    return box->isChecked() != before;
  }

  QString switchName_;
  QElapsedTimer waited_;
};

}  // namespace

class SwitchDriverPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "switch_driver.json")

 public:
  QObject* create(const QString& key, const QString& arguments) override {
    if (key.compare(QStringLiteral("talmekoswitchdriver"), Qt::CaseInsensitive) != 0) return nullptr;
    return new SwitchDriver(arguments);
  }
};

#include "switch_driver_plugin.moc"
