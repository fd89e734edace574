#include "app/column_settings.h"

#include <sys/stat.h>

#include "app_test_support.h"

namespace talmeko::app {
namespace {

using ColumnSettings = AppTest;

TEST_F(ColumnSettings, FirstStartWritesTheDefaultsByteForByte) {
  Start();
  EXPECT_EQ(logic->SettingsPath(), File("talmeko.ini"));
  EXPECT_EQ(Get("talmeko.ini"), "[palette]\r\ngamma=1\r\nanchor=0\r\nmadeira=0\r\nkirov=0\r\n");
  EXPECT_TRUE(window.checked[CheckBox::cbDMC]);
  EXPECT_TRUE(window.checked[CheckBox::cbGamma]);
  EXPECT_FALSE(window.checked[CheckBox::cbAnchor]);
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColumnSettings, StoredStatesAreTakenAndWrittenBack) {
  Put("talmeko.ini", "[palette]\r\ngamma=0\r\nkirov=1\r\n");
  Start();
  EXPECT_FALSE(window.checked[CheckBox::cbGamma]);
  EXPECT_TRUE(window.checked[CheckBox::cbkirov]);
  EXPECT_EQ(Get("talmeko.ini"), "[palette]\r\ngamma=0\r\nkirov=1\r\nanchor=0\r\nmadeira=0\r\n");
}

TEST_F(ColumnSettings, ValuesThatAreNoIntegerCountAsMissing) {
  const struct {
    const char* value;
    bool anchor;
  } cases[] = {{"yes", false}, {"", false}, {"2", true}, {"-1", true}, {"$1", true}, {"0x0", false}, {"1.0", false}};
  for (const auto& c : cases) {
    Put("talmeko.ini", std::string("[PALETTE]\r\nAnchor = ") + c.value + "\r\n");
    window = FakeMainWindow();
    Start();
    EXPECT_EQ(window.checked[CheckBox::cbAnchor], c.anchor) << c.value;
    EXPECT_TRUE(window.checked[CheckBox::cbGamma]) << c.value;
  }
}

TEST_F(ColumnSettings, OtherContentOfTheFileIsKept) {
  const std::string before = "; mine\n[other]\rkey=\x01\xFF value\r\n[palette]\ngamma=0\nmadeira=1\n";
  Put("talmeko.ini", before);
  Start();
  EXPECT_EQ(Get("talmeko.ini"),
            "; mine\n[other]\rkey=\x01\xFF value\r\n[palette]\ngamma=0\r\nmadeira=1\r\nanchor=0\r\nkirov=0\r\n");
}

TEST_F(ColumnSettings, UserClickRebuildsAndSaves) {
  Start();
  window.Enter(*logic, "310", 0);
  window.checked[CheckBox::cbAnchor] = true;
  logic->cbAnchorClick();
  EXPECT_EQ(window.waitDuringLoads.back(), 2);
  EXPECT_NE(window.pages.back().find("<td>Anchor</td>"), std::string::npos);
  EXPECT_EQ(Get("talmeko.ini"), "[palette]\r\ngamma=1\r\nanchor=1\r\nmadeira=0\r\nkirov=0\r\n");
  for (CheckBox box : {CheckBox::cbGamma, CheckBox::cbAnchor, CheckBox::cbMadeira, CheckBox::cbkirov}) {
    window.checked[box] = false;
  }
  logic->cbGammaClick();
  logic->cbMadeiraClick();
  logic->cbkirovClick();
  EXPECT_EQ(Get("talmeko.ini"), "[palette]\r\ngamma=0\r\nanchor=0\r\nmadeira=0\r\nkirov=0\r\n");
  EXPECT_EQ(window.pages.back().find("<td>Anchor</td>"), std::string::npos);
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColumnSettings, ChangedSwitchRunsItsHandlerDuringCreation) {
  Put("talmeko.ini", "[palette]\r\nmadeira=1\r\n");
  struct CountingWindow : FakeMainWindow {
    void SetWaitCursor(bool on) override {
      if (on) ++waitsOn;
      FakeMainWindow::SetWaitCursor(on);
    }
    int waitsOn = 0;
  } counting;
  MainWindowLogic created(counting, MainWindowOptions{dir.string() + "/", [] { return ShippedTables(); }});
  created.FormCreate();
  // One handler for madeira (wait cursor and rebuild), one rebuild by UpdateListView.
  EXPECT_EQ(counting.waitsOn, 3);
  EXPECT_EQ(counting.pages, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(counting.palette, 0);
}

TEST_F(ColumnSettings, UnwritableDirectoryFailsSilentlyWithDefaults) {
  Put("blocker", "a file, not a directory");
  window = FakeMainWindow();
  logic = std::make_unique<MainWindowLogic>(
      window, MainWindowOptions{File("blocker") + "/", [] { return ShippedTables(); }});
  logic->FormCreate();
  window.checked[CheckBox::cbkirov] = true;
  logic->cbkirovClick();
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(window.checked[CheckBox::cbGamma]);
  EXPECT_TRUE(window.checked[CheckBox::cbkirov]);
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColumnSettings, ReadOnlyDirectoryKeepsTheFileThatIsThere) {
  Put("talmeko.ini", "[palette]\r\ngamma=0\r\n");
  ::chmod(dir.c_str(), 0555);
  if (::access(dir.c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes to read-only directories";
  Start();
  window.checked[CheckBox::cbAnchor] = true;
  logic->cbAnchorClick();
  EXPECT_TRUE(window.messages.empty());
  EXPECT_FALSE(window.checked[CheckBox::cbGamma]);
  EXPECT_EQ(Get("talmeko.ini"), "[palette]\r\ngamma=0\r\n");
}

TEST_F(ColumnSettings, HugeBinaryOrOddlyEndedFilesDoNotStopTheStart) {
  const std::string cases[] = {
      "[palette]\rgamma=0\rkirov=1\r",
      "[palette]\ngamma=0\nkirov=1",
      "[palette]\r\ngamma=0\r\nkirov=1\r\nkirov=0\r\n",
      std::string("\0\x01\xFF\r\n[palette]\r\ngamma=0\r\nkirov=1\r\n", 34) + "junk=" + std::string(10 << 20, '\xFF'),
  };
  for (const std::string& file : cases) {
    Put("talmeko.ini", file);
    window = FakeMainWindow();
    Start();
    EXPECT_FALSE(window.checked[CheckBox::cbGamma]);
    EXPECT_TRUE(window.checked[CheckBox::cbkirov]);
    EXPECT_EQ(logic->Tables().PaletteTable().empty(), false);
  }
}

}  // namespace
}  // namespace talmeko::app
