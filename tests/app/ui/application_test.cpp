#include "app/ui/application.h"
#include "app/ui/main_window.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "htmlview/base/exceptions.h"
#include "platform/qt/qt_window_services.h"

namespace talmeko::app::ui {
namespace {

// The program's own application object, made once for the executable, with
// the machine's locale set to one that is not Russian.
TApplication& Application() {
  static int argc = 1;
  static char name[] = "talmeko";
  static char* argv[] = {name, nullptr};
  static TApplication* app = [] {
    ::setenv("LANG", "C", 1);
    ::setenv("LC_ALL", "C", 1);
    return new TApplication(argc, argv);
  }();
  return *app;
}

// Runs the action on the next turn of the event loop, as soon as a modal
// window of the type is up; the modal loops of the code under test drive it.
template <typename T>
void WhenModal(std::function<void(T&)> action) {
  QTimer::singleShot(10, [action] {
    if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
      action(*window);
    } else {
      WhenModal<T>(action);
    }
  });
}

class Thrower : public QPushButton {
 public:
  Thrower() { setObjectName(QStringLiteral("Thrower")); }
  int keys = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override {
    ++keys;
    if (keys == 1) throw htmlview::EhtException("Out of Resources");
  }
};

TEST(Application, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
  Application();
  Thrower widget;
  QObject::connect(&widget, &QPushButton::clicked, [] { throw std::runtime_error("Handler failed"); });
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  struct Shown {
    QString title, text;
    bool critical = false;
  };
  std::vector<Shown> shown;
  const auto record = [&shown](QMessageBox& box) {
    shown.push_back({box.windowTitle(), box.text(), box.icon() == QMessageBox::Critical});
    box.accept();
  };
  WhenModal<QMessageBox>(record);
  QTest::keyClick(&widget, Qt::Key_A);
  WhenModal<QMessageBox>(record);
  QTest::mouseClick(&widget, Qt::LeftButton);
  QTest::keyClick(&widget, Qt::Key_B);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].title, platform::qt::ApplicationTitle());
  EXPECT_EQ(shown[0].text, QStringLiteral("Out of Resources"));
  EXPECT_TRUE(shown[0].critical);
  EXPECT_EQ(shown[1].text, QStringLiteral("Handler failed"));
  EXPECT_EQ(widget.keys, 2) << "events after the errors are still handled";
}

TEST(Application, QtTextsAreRussianWhateverTheLocale) {
  Application();
  EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy"), QString::fromUtf8("&Копировать"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QString::fromUtf8("&Имя файла:"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("&Да"));
}

// The save dialog of the colour sets and its question before overwriting,
// grabbed for a look at their texts. The question comes for the file that
// would be written, whether the extension is typed or not.
TEST(Application, SaveDialogAndItsOverwriteQuestionAreGrabbed) {
  Application();
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("talmeko-app-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "set.talmeko") << "[Mouline]\r\nCount=0\r\n";
  TfMain window(MainWindowOptions{dir.string() + "/", {}});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  for (const char* typed : {"set.talmeko", "set"}) {
    QString question;
    WhenModal<QFileDialog>([&](QFileDialog& dialog) {
      dialog.setDirectory(QString::fromStdString(dir.string()));
      dialog.grab().save(QStringLiteral(TALMEKO_TEST_OUTPUT "/save_dialog.png"));
      dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromUtf8(typed));
      WhenModal<QMessageBox>([&](QMessageBox& box) {
        question = box.text();
        box.grab().save(QStringLiteral(TALMEKO_TEST_OUTPUT "/save_overwrite_question.png"));
        box.button(QMessageBox::No)->click();
        QTimer::singleShot(10, &dialog, &QDialog::reject);
      });
      static_cast<QDialog&>(dialog).accept();
    });
    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("sBitBtn2")), Qt::LeftButton);
    EXPECT_TRUE(question.contains(QString::fromUtf8("уже существует"))) << typed << ": " << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("set.talmeko"))) << typed << ": " << question.toStdString();
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "set.talmeko.talmeko"));
  EXPECT_EQ(std::filesystem::file_size(dir / "set.talmeko"), 20U) << "answered No: the file is kept";
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace talmeko::app::ui
