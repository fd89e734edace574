#include "app/colour_set_file.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <functional>

#include "app_test_support.h"
#include "platform/cp1251.h"

namespace talmeko::app {
namespace {

using ColourSetFiles = AppTest;

const std::string kFilter =
    "\xCD\xE0\xE1\xEE\xF0 \xF6\xE2\xE5\xF2\xEE\xE2 \xE4\xEB\xFF http://talmeko.example|*.talmeko";

TEST_F(ColourSetFiles, SaveWritesCountAndItemsToANewFile) {
  Start();
  window.items = {"310 (dmc)", "403 (anchor)"};
  window.dialogAnswers = {File("abc")};
  logic->sBitBtn2Click();
  EXPECT_EQ(Get("abc.talmeko"), "[Mouline]\r\nCount=2\r\nc0=310 (dmc)\r\nc1=403 (anchor)\r\n");
  EXPECT_EQ(window.dialogFilters, std::vector<std::string>{kFilter});
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(ColourSetFiles, ExistingTalmekoNameIsOverwrittenInAnyCase) {
  EXPECT_EQ(ColourSetPath("abc"), "abc.talmeko");
  EXPECT_EQ(ColourSetPath("abc.talmeko"), "abc.talmeko");
  EXPECT_EQ(ColourSetPath("abc.TALMEKO"), "abc.TALMEKO");
  EXPECT_EQ(ColourSetPath("abc.talmek"), "abc.talmek.talmeko");
  EXPECT_EQ(ColourSetPath(".talmeko"), ".talmeko");
  EXPECT_EQ(ColourSetPath("talmeko"), "talmeko.talmeko");
  Start();
  Put("abc.talmeko", "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
  window.items = {"310 (dmc)"};
  window.dialogAnswers = {File("abc.talmeko")};
  logic->sBitBtn2Click();
  EXPECT_EQ(Get("abc.talmeko"), "[Mouline]\r\nCount=1\r\nc0=310 (dmc)\r\n");
  EXPECT_FALSE(std::filesystem::exists(File("abc.talmeko.talmeko")));
}

TEST_F(ColourSetFiles, CancelledDialogsChangeNothing) {
  Start();
  window.items = {"310 (dmc)"};
  logic->sBitBtn2Click();
  logic->sBitBtn1Click();
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  EXPECT_TRUE(window.pages.empty());
  EXPECT_EQ(window.wait, 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "only talmeko.ini";
}

TEST_F(ColourSetFiles, RoundTripRebuildsThePageUnderTheWaitCursor) {
  Start();
  window.Enter(*logic, "310", 0);
  window.Enter(*logic, "403", 2);
  const std::string page = window.pages.back();
  window.dialogAnswers = {File("set")};
  logic->sBitBtn2Click();
  window.items.clear();
  window.dialogAnswers = {File("set.talmeko")};
  logic->sBitBtn1Click();
  EXPECT_EQ(window.items, (std::vector<std::string>{"310 (dmc)", "403 (anchor)"}));
  EXPECT_EQ(window.pages.back(), page);
  EXPECT_EQ(window.waitDuringDialogs.back(), 1);
  EXPECT_EQ(window.waitDuringLoads.back(), 2);
  EXPECT_EQ(window.wait, 0);
  EXPECT_GT(window.repaints, 0);
}

TEST_F(ColourSetFiles, EmptyListSavesCountZeroAndLoadsAnEmptyPage) {
  Start();
  window.dialogAnswers = {File("empty")};
  logic->sBitBtn2Click();
  EXPECT_EQ(Get("empty.talmeko"), "[Mouline]\r\nCount=0\r\n");
  window.items = {"310 (dmc)"};
  window.dialogAnswers = {File("empty.talmeko")};
  logic->sBitBtn1Click();
  EXPECT_TRUE(window.items.empty());
  EXPECT_EQ(window.pages.back(), "");
}

TEST_F(ColourSetFiles, ShorterSaveOverALongerOneLoadsOnlyItsOwnItems) {
  Start();
  window.items = {"1 (anchor)", "2 (anchor)", "3 (anchor)", "4 (anchor)", "5 (anchor)"};
  window.dialogAnswers = {File("five")};
  logic->sBitBtn2Click();
  window.items = {"310 (dmc)", "403 (anchor)", "0420 (gamma)"};
  window.dialogAnswers = {File("five")};
  logic->sBitBtn2Click();
  EXPECT_EQ(Get("five.talmeko"),
            "[Mouline]\r\nCount=3\r\nc0=310 (dmc)\r\nc1=403 (anchor)\r\nc2=0420 (gamma)\r\nc3=4 (anchor)\r\nc4=5 "
            "(anchor)\r\n");
  window.dialogAnswers = {File("five.talmeko")};
  logic->sBitBtn1Click();
  EXPECT_EQ(window.items, (std::vector<std::string>{"310 (dmc)", "403 (anchor)", "0420 (gamma)"}));
}

TEST_F(ColourSetFiles, ItemKeysAreReadFromZeroToCountLessOne) {
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> items;
  } cases[] = {
      {"count below the keys", "[Mouline]\r\nCount=2\r\nc0=a\r\nc1=b\r\nc2=c\r\n", {"a", "b"}},
      {"negative count", "[Mouline]\r\nCount=-1\r\nc0=a\r\n", {}},
      {"missing key skipped", "[Mouline]\r\nCount=3\r\nc0=a\r\nc2=c\r\n", {"a", "c"}},
      {"dash skipped, empty kept", "[Mouline]\r\nCount=3\r\nc0=-\r\nc1=\r\nc2= - x \r\n", {"", "- x"}},
      {"keys in any order and case", "[mouline]\r\ncount=$3\r\nC2=c\r\nc0=a\r\nc1=b\r\n", {"a", "b", "c"}},
      {"leading zeros are other keys", "[Mouline]\r\nCount=2\r\nc00=x\r\nc01=y\r\nc1=b\r\n", {"b"}},
      {"first of duplicate keys", "[Mouline]\r\nCount=1\r\nc0=first\r\nC0=second\r\n", {"first"}},
      {"same item twice", "[Mouline]\r\nCount=2\r\nc0=310 (dmc)\r\nc1=310 (dmc)\r\n", {"310 (dmc)", "310 (dmc)"}},
      {"blanks trimmed", "[Mouline]\r\nCount=1\r\nc0=  310 (dmc)\t\r\n", {"310 (dmc)"}},
      {"count not an integer", "[Mouline]\r\nCount=two\r\nc0=a\r\n", {}},
      {"no section", "[Other]\r\nCount=1\r\nc0=a\r\n", {}},
      {"LF and CR ends", "[Mouline]\nCount=2\rc0=a\nc1=b", {"a", "b"}},
      {"largest count", "[Mouline]\r\nCount=2147483647\r\nc0=a\r\nc2147483646=z\r\nc2147483647=no\r\n", {"a", "z"}},
      {"smallest count", "[Mouline]\r\nCount=-2147483648\r\nc0=a\r\n", {}},
      {"count beyond int", "[Mouline]\r\nCount=99999999999\r\nc0=a\r\n", {}},
  };
  for (const auto& c : cases) {
    platform::ProfileDocument document;
    document.Parse(c.file);
    EXPECT_EQ(ColourSetItems(document, document.ReadInteger("Mouline", "Count", 0)), c.items) << c.name;
  }
}

TEST_F(ColourSetFiles, HugeCountLoadsInTimeOfTheFile) {
  Start();
  Put("huge.talmeko", "[Mouline]\r\nCount=2147483647\r\nc0=310 (dmc)\r\nc1=junk\r\n");
  window.dialogAnswers = {File("huge.talmeko")};
  const auto start = std::chrono::steady_clock::now();
  logic->sBitBtn1Click();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << "a loop over Count would hang";
  EXPECT_EQ(window.items, (std::vector<std::string>{"310 (dmc)", "junk"}));
}

TEST_F(ColourSetFiles, MissingGarbageAndBinaryFilesGiveWhatTheyHold) {
  Start();
  const char garbage[] = "\0\xFF\x01garbage\r\n===\r\n[Mouline]\r\n[other\r\nCount=1\r\nc0=\x80\x81\0z\r\n";
  Put("garbage.talmeko", std::string(garbage, sizeof garbage - 1));
  Put("long.talmeko", "[Mouline]\r\nCount=1\r\nc0=" + std::string(10 << 20, 'x') + "\r\n");
  window.dialogAnswers = {File("absent.talmeko"), File("garbage.talmeko"), File("long.talmeko")};
  window.items = {"310 (dmc)"};
  logic->sBitBtn1Click();
  EXPECT_TRUE(window.items.empty());
  logic->sBitBtn1Click();
  EXPECT_EQ(window.items, std::vector<std::string>{"\x80\x81"});
  logic->sBitBtn1Click();
  EXPECT_EQ(window.items, std::vector<std::string>{std::string(2047, 'x')});
  EXPECT_EQ(window.wait, 0);
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(ColourSetFiles, UnplacedItemsStayWithoutARowOrMessage) {
  Start();
  window.Enter(*logic, "310", 0);
  const std::string page = window.pages.back();
  Put("odd.talmeko", "[Mouline]\r\nCount=2\r\nc0=99999 (dmc)\r\nc1=zz (dmc)\r\n");
  window.dialogAnswers = {File("odd.talmeko")};
  logic->sBitBtn1Click();
  EXPECT_EQ(window.items, (std::vector<std::string>{"99999 (dmc)", "zz (dmc)"}));
  EXPECT_NE(page, "");
  EXPECT_EQ(window.pages.back(), "") << "the page of the replaced list is not kept";
  EXPECT_TRUE(window.enabled[Control::btnClear]);
  EXPECT_TRUE(window.messages.empty());
  window.Enter(*logic, "310", 0);
  EXPECT_EQ(window.items.size(), 3u);
}

TEST_F(ColourSetFiles, LoadedDuplicateRefusesTheSameEntryByHand) {
  Start();
  Put("twice.talmeko", "[Mouline]\r\nCount=2\r\nc0=310 (dmc)\r\nc1=310 (dmc)\r\n");
  window.dialogAnswers = {File("twice.talmeko")};
  logic->sBitBtn1Click();
  window.Enter(*logic, "310", 0);
  EXPECT_EQ(window.items.size(), 2u);
  EXPECT_EQ(window.messages.size(), 1u);
}

TEST_F(ColourSetFiles, FailedSaveNamesTheFileAndKeepsTheEarlierOne) {
  Start();
  Put("blocker", "x");
  window.items = {"310 (dmc)"};
  window.dialogAnswers = {File("blocker") + "/set"};
  logic->sBitBtn2Click();
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0], platform::Utf8ToCp1251("Не удалось сохранить набор цветов в файл \"" + File("blocker") +
                                                       "/set.talmeko\": такой папки нет."));
  Put("kept.talmeko", "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
  window.items = {"310 (dmc)", "bad\r\nCount=9"};
  window.dialogAnswers = {File("kept.talmeko")};
  logic->sBitBtn2Click();
  EXPECT_EQ(window.messages.size(), 2u);
  EXPECT_EQ(Get("kept.talmeko"), "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
}

// Each of these once emptied the list without a word, or hung the window.
TEST_F(ColourSetFiles, UnreadableFileKeepsTheListAndSaysWhy) {
  Start();
  window.Enter(*logic, "310", 0);
  const std::vector<std::string> items = window.items;
  const std::size_t pages = window.pages.size();
  const std::string path = File("bad.talmeko");
  const struct {
    std::function<void()> make;
    const char* reason;
  } cases[] = {
      {[&] { std::filesystem::create_directory(path); }, "под этим именем уже есть папка"},
      {[&] { ::mkfifo(path.c_str(), 0600); }, "под этим именем устройство или канал, а не файл"},
      {[&] { std::filesystem::create_symlink("/dev/zero", path); }, "под этим именем устройство или канал, а не файл"},
      {[&] { std::filesystem::create_symlink("bad.talmeko", path); }, "ссылки на этот файл замыкаются в кольцо"},
      {[&] { std::filesystem::create_symlink("gone.talmeko", path); }, "ссылка указывает на файл, которого нет"},
      {[&] {
         Put("bad.talmeko", "");
         std::filesystem::resize_file(path, std::uintmax_t{1} << 30);
       },
       "файл больше 16 МБ"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(path);
    c.make();
    window.messages.clear();
    window.dialogAnswers = {path};
    logic->sBitBtn1Click();
    EXPECT_EQ(window.messages, std::vector<std::string>{platform::Utf8ToCp1251(
                                   "Не удалось загрузить набор цветов из файла \"" + path + "\": " + c.reason + ".")});
    EXPECT_EQ(window.items, items) << c.reason;
    EXPECT_EQ(window.pages.size(), pages) << c.reason;
    EXPECT_EQ(window.wait, 0);
  }
}

TEST_F(ColourSetFiles, ReadOnlyFileIsKeptAndTheSaveSaysWhy) {
  Put("kept.talmeko", "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
  ::chmod(File("kept.talmeko").c_str(), 0444);
  Start();
  window.items = {"310 (dmc)"};
  window.dialogAnswers = {File("kept")};
  logic->sBitBtn2Click();
  EXPECT_EQ(window.messages, std::vector<std::string>{platform::Utf8ToCp1251(
                                 "Не удалось сохранить набор цветов в файл \"" + File("kept.talmeko") +
                                 "\": нет прав на запись в эту папку или в этот файл.")});
  EXPECT_EQ(Get("kept.talmeko"), "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
}

// File modes bind an ordinary user only; the test command runs this as one in CI.
TEST_F(ColourSetFiles, ReadOnlyFolderTakesChangesToItsWritableFiles) {
  if (::geteuid() == 0) GTEST_SKIP() << "the administrator is not bound by file modes";
  Put("shared.talmeko", "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
  Put("secret.talmeko", "[Mouline]\r\nCount=1\r\nc0=1 (anchor)\r\n");
  ::chmod(File("secret.talmeko").c_str(), 0200);
  Start();
  ::chmod(dir.c_str(), 0555);
  window.items = {"310 (dmc)"};
  window.dialogAnswers = {File("shared"), File("new"), File("secret")};
  logic->sBitBtn2Click();
  EXPECT_EQ(Get("shared.talmeko"), "[Mouline]\r\nCount=1\r\nc0=310 (dmc)\r\n");
  logic->sBitBtn2Click();
  logic->sBitBtn2Click();
  const std::string prefix = "Не удалось сохранить набор цветов в файл \"";
  EXPECT_EQ(window.messages,
            (std::vector<std::string>{
                platform::Utf8ToCp1251(prefix + File("new.talmeko") + "\": нет прав на запись в эту папку или в этот файл."),
                platform::Utf8ToCp1251(prefix + File("secret.talmeko") + "\": нет прав на чтение этого файла.")}));
  window.dialogAnswers = {File("secret.talmeko")};
  logic->sBitBtn1Click();
  EXPECT_EQ(window.messages.back(), platform::Utf8ToCp1251("Не удалось загрузить набор цветов из файла \"" +
                                                           File("secret.talmeko") + "\": нет прав на чтение этого файла."));
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
}

TEST(SaveFailureMessage, FallsBackToTheSystemText) {
  const platform::ProfileResult failure = platform::ProfileResult::Failure(EIO, "Input/output error");
  EXPECT_EQ(SaveFailureMessage("/x/\xD0\xB0.talmeko", failure),
            platform::Utf8ToCp1251("Не удалось сохранить набор цветов в файл \"/x/а.talmeko\": Input/output error."));
}

}  // namespace
}  // namespace talmeko::app
