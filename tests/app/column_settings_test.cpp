#include "app/column_settings.h"

#include <sys/stat.h>

#include <cstdint>
#include <functional>

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

// A system-wide install: the program's folder is read-only, its settings file
// is not. File modes bind an ordinary user only; CI runs this as one.
TEST_F(ColumnSettings, ReadOnlyDirectoryStillUpdatesAWritableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "the administrator is not bound by file modes";
  Put("talmeko.ini", "[palette]\r\ngamma=0\r\n");
  ::chmod(dir.c_str(), 0555);
  Start();
  window.checked[CheckBox::cbAnchor] = true;
  logic->cbAnchorClick();
  EXPECT_TRUE(window.messages.empty());
  EXPECT_FALSE(window.checked[CheckBox::cbGamma]);
  EXPECT_EQ(Get("talmeko.ini"), "[palette]\r\ngamma=0\r\nanchor=1\r\nmadeira=0\r\nkirov=0\r\n");
}

// A settings file that cannot be read counts as absent and is never written:
// the start-up neither blocks nor reads endlessly, and the file stays as it is.
TEST_F(ColumnSettings, UnreadableFileGivesTheDefaultsAndIsLeftAlone) {
  const std::string path = File("talmeko.ini");
  const std::function<void()> makers[] = {
      [&] { ::mkfifo(path.c_str(), 0600); },
      [&] { std::filesystem::create_directory(path); },
      [&] {
        Put("talmeko.ini", "[palette]\r\ngamma=0\r\n");
        std::filesystem::resize_file(path, (std::uintmax_t{16} << 20) + 1);
      },
      [&] {
        Put("talmeko.ini", "[palette]\r\ngamma=0\r\n");
        ::chmod(path.c_str(), 0444);
      },
  };
  for (const auto& make : makers) {
    std::filesystem::remove_all(path);
    make();
    const auto before = std::filesystem::symlink_status(path).type();
    const std::uintmax_t size = before == std::filesystem::file_type::regular ? std::filesystem::file_size(path) : 0;
    window = FakeMainWindow();
    Start();
    window.checked[CheckBox::cbAnchor] = true;
    logic->cbAnchorClick();
    EXPECT_EQ(std::filesystem::symlink_status(path).type(), before);
    if (before == std::filesystem::file_type::regular) {
      EXPECT_EQ(std::filesystem::file_size(path), size);
    }
    EXPECT_TRUE(window.messages.empty());
  }
  EXPECT_FALSE(window.checked[CheckBox::cbGamma]) << "a read-only file is still read";
}

// Files saved by Windows editors: the switches are read from them, and the
// next write neither loses their form nor adds a second section.
TEST_F(ColumnSettings, FilesOfWindowsEditorsAreReadAndKeepTheirForm) {
  const auto utf16 = [](std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) bytes.append({c, '\0'});
    return bytes;
  };
  const struct {
    std::string before;
    std::string after;
  } cases[] = {
      {"\xEF\xBB\xBF[palette]\r\ngamma=0\r\nkirov=1\r\n",
       "\xEF\xBB\xBF[palette]\r\ngamma=0\r\nkirov=1\r\nanchor=0\r\nmadeira=0\r\n"},
      {utf16("[palette]\r\ngamma=0\r\nkirov=1\r\n"), utf16("[palette]\r\ngamma=0\r\nkirov=1\r\nanchor=0\r\nmadeira=0\r\n")},
      {"[palette]\r\ngamma=\"0\"\r\nkirov='1'\x1A\r\n", "[palette]\r\ngamma=0\r\nkirov=1\r\nanchor=0\r\nmadeira=0\r\n"},
  };
  for (const auto& c : cases) {
    Put("talmeko.ini", c.before);
    window = FakeMainWindow();
    Start();
    EXPECT_FALSE(window.checked[CheckBox::cbGamma]) << c.before;
    EXPECT_TRUE(window.checked[CheckBox::cbkirov]) << c.before;
    EXPECT_EQ(Get("talmeko.ini"), c.after);
  }
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
