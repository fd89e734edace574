#include "app/colour_list.h"

#include "app_test_support.h"
#include "platform/cp1251.h"

namespace talmeko::app {
namespace {

const std::string kDuplicate = "\xD2\xE0\xEA\xEE\xE9 \xF6\xE2\xE5\xF2 \xF3\xE6\xE5 \xE2\xE2\xE5\xE4\xB8\xED";
const std::string kNotFound =
    "\xD2\xE0\xEA\xEE\xE3\xEE \xF6\xE2\xE5\xF2\xE0 \xED\xE5\xF2 \xE2 \xEF\xE0\xEB\xE8\xF2\xF0\xE5";
const std::string kConfirm = "\xCF\xEE\xE4\xF2\xE2\xE5\xF0\xE6\xE4\xE0\xE5\xF2\xE5 \xEE\xF7\xE8\xF1\xF2\xEA\xF3?";

constexpr int kDmc = 0;
constexpr int kAnchor = 2;

using ColourList = AppTest;

TEST_F(ColourList, StartUpSelectsDmcAndLeavesTheButtonsDisabled) {
  Start();
  EXPECT_EQ(window.palette, kDmc);
  EXPECT_FALSE(logic->PaletteChanged());
  EXPECT_FALSE(logic->Creating());
  EXPECT_FALSE(window.enabled[Control::btnPrintPreview]);
  EXPECT_FALSE(window.enabled[Control::btnClear]);
}

TEST_F(ColourList, EnterAddsTheItemAndShowsThePageUnderTheWaitCursor) {
  Start();
  window.Enter(*logic, "310", kDmc);
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  ASSERT_EQ(window.pages.size(), 1u);
  EXPECT_NE(window.pages[0].find("<td>310</td>"), std::string::npos);
  EXPECT_EQ(window.waitDuringLoads[0], 1);
  EXPECT_EQ(window.wait, 0);
  EXPECT_EQ(window.entry, "");
  EXPECT_TRUE(window.enabled[Control::btnPrintPreview]);
  EXPECT_TRUE(window.enabled[Control::btnClear]);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(window.scrolls, 1);
}

TEST_F(ColourList, EmptyEntryAddsNothingButStillScrolls) {
  Start();
  window.Enter(*logic, "", kDmc);
  logic->sEdit1KeyPress('3');
  EXPECT_TRUE(window.items.empty());
  EXPECT_TRUE(window.pages.empty());
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(window.scrolls, 2);
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColourList, ButtonActsAsEnter) {
  Start();
  window.palette = kDmc;
  window.entry = "310";
  logic->Button1Click();
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  EXPECT_EQ(window.scrolls, 1);
}

TEST_F(ColourList, DuplicateIsRefusedAndTheEntryEmptied) {
  Start();
  window.Enter(*logic, "310", kDmc);
  window.Enter(*logic, "310", kDmc);
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  EXPECT_EQ(window.messages, std::vector<std::string>{kDuplicate});
  EXPECT_EQ(window.waitDuringMessages[0], 1);
  EXPECT_EQ(window.pages.size(), 1u);
  EXPECT_EQ(window.entry, "");
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColourList, SameNumberOfOtherBrandOrOtherSpellingIsNoDuplicate) {
  Start();
  window.Enter(*logic, "310", kDmc);
  window.Enter(*logic, "310", kAnchor);
  window.Enter(*logic, "0310", kDmc);
  EXPECT_EQ(window.items, (std::vector<std::string>{"310 (dmc)", "310 (anchor)", "0310 (dmc)"}));
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(ColourList, UnknownNumberIsTakenOffAgain) {
  Start();
  window.Enter(*logic, "310", kDmc);
  const std::string page = window.pages.back();
  const std::string body = logic->PageBody();
  window.Enter(*logic, "99999", kDmc);
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  EXPECT_EQ(window.messages, std::vector<std::string>{kNotFound});
  EXPECT_EQ(window.pages.size(), 1u);
  EXPECT_EQ(logic->PageBody(), body);
  EXPECT_EQ(window.entry, "");
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColourList, PaletteChangeRebuildsEveryRowOnTheNextEntry) {
  Start();
  window.Enter(*logic, "310", kDmc);
  window.checked[CheckBox::cbAnchor] = true;
  window.palette = kAnchor;
  logic->ComboBox1Change();
  EXPECT_TRUE(logic->PaletteChanged());
  window.Enter(*logic, "403", kAnchor);
  EXPECT_FALSE(logic->PaletteChanged());
  ASSERT_EQ(window.pages.size(), 2u) << "one page for the whole rebuild";
  const std::string page = window.pages.back();
  // Both rows now have the Anchor column that was switched on after the first.
  std::size_t cells = 0;
  for (std::size_t at = page.find("<td><table>"); at != std::string::npos; at = page.find("<td><table>", at + 1)) {
    ++cells;
  }
  EXPECT_EQ(cells, 6u);
  EXPECT_LT(page.find(">310</td>"), page.find(">403</td>"));
  logic->cbColorFindClick();
  EXPECT_EQ(window.pages.back(), page) << "the same page as a rebuild of the whole list";
}

TEST_F(ColourList, UnknownEntryAfterPaletteChangeKeepsTheRebuiltRows) {
  Start();
  window.Enter(*logic, "310", kDmc);
  logic->ComboBox1Change();
  window.Enter(*logic, "99999", kAnchor);
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  EXPECT_EQ(window.messages, std::vector<std::string>{kNotFound});
  EXPECT_FALSE(logic->PaletteChanged());
  EXPECT_EQ(window.pages.size(), 2u);
  EXPECT_EQ(window.pages[1], window.pages[0]);
}

TEST_F(ColourList, DuplicateAfterPaletteChangeKeepsTheFlag) {
  Start();
  window.Enter(*logic, "310", kDmc);
  logic->ComboBox1Change();
  window.Enter(*logic, "310", kDmc);
  EXPECT_TRUE(logic->PaletteChanged());
  EXPECT_EQ(window.messages, std::vector<std::string>{kDuplicate});
}

TEST_F(ColourList, DoubleClickRemovesTheSelectedItemAndRebuilds) {
  Start();
  window.Enter(*logic, "310", kDmc);
  window.Enter(*logic, "403", kAnchor);
  window.selected = 0;
  logic->clbMoulineIDDblClick();
  EXPECT_EQ(window.items, std::vector<std::string>{"403 (anchor)"});
  const std::string& page = window.pages.back();
  EXPECT_EQ(page.find("<tr><td><table>"), page.rfind("<tr><td><table>")) << "one row is left";
  EXPECT_TRUE(window.enabled[Control::btnClear]);
  window.selected = 0;
  logic->clbMoulineIDDblClick();
  EXPECT_EQ(window.pages.back(), "");
  EXPECT_FALSE(window.enabled[Control::btnClear]);
  EXPECT_FALSE(window.enabled[Control::btnPrintPreview]);
  EXPECT_EQ(window.wait, 0);
}

TEST_F(ColourList, DoubleClickWithoutSelectionOnlyRebuilds) {
  Start();
  window.Enter(*logic, "310", kDmc);
  const std::size_t loads = window.pages.size();
  logic->clbMoulineIDDblClick();
  EXPECT_EQ(window.items, std::vector<std::string>{"310 (dmc)"});
  EXPECT_EQ(window.pages.size(), loads + 1);
  EXPECT_EQ(window.pages.back(), window.pages[loads - 1]);
  EXPECT_TRUE(window.enabled[Control::btnClear]);
}

TEST_F(ColourList, ClearingAnsweredNoChangesNothing) {
  Start();
  window.Enter(*logic, "310", kDmc);
  window.confirmAnswer = false;
  logic->btnClearClick();
  EXPECT_EQ(window.confirmations, std::vector<std::string>{kConfirm});
  EXPECT_EQ(window.items.size(), 1u);
  EXPECT_EQ(window.pages.size(), 1u);
  EXPECT_TRUE(window.enabled[Control::btnClear]);
  EXPECT_FALSE(logic->PageBody().empty());
}

TEST_F(ColourList, ClearingAnsweredYesEmptiesListPageAndButtons) {
  Start();
  window.Enter(*logic, "310", kDmc);
  logic->ComboBox1Change();
  const int focuses = window.focuses;
  logic->btnClearClick();
  EXPECT_TRUE(window.items.empty());
  EXPECT_EQ(window.pages.back(), "");
  EXPECT_TRUE(logic->PageBody().empty());
  EXPECT_FALSE(window.enabled[Control::btnClear]);
  EXPECT_FALSE(window.enabled[Control::btnPrintPreview]);
  EXPECT_EQ(window.focuses, focuses + 1);
  EXPECT_TRUE(logic->PaletteChanged());
}

TEST_F(ColourList, NearestSwitchRebuildsUnderTheWaitCursor) {
  Start();
  window.Enter(*logic, "310", kDmc);
  window.checked[CheckBox::cbColorFind] = true;
  logic->cbColorFindClick();
  EXPECT_EQ(window.waitDuringLoads.back(), 2);
  EXPECT_EQ(window.wait, 0);
  EXPECT_EQ(window.pages.size(), 2u);
}

TEST_F(ColourList, WaitCursorIsRestoredWhenAnOperationFails) {
  struct ThrowingWindow : FakeMainWindow {
    void LoadDocument(std::string_view) override { throw std::runtime_error("view failed"); }
  } throwing;
  MainWindowLogic failing(throwing, MainWindowOptions{dir.string() + "/", [] { return ShippedTables(); }});
  failing.FormCreate();
  EXPECT_EQ(throwing.wait, 0);
  throwing.palette = kDmc;
  throwing.entry = "310";
  EXPECT_THROW(failing.sEdit1KeyPress('\r'), std::runtime_error);
  EXPECT_EQ(throwing.wait, 0);
  EXPECT_EQ(throwing.unbalancedWait, 0);
}

TEST(ComboBox1KeyPress, OnlyAmpersandAndOpeningParenthesisPass) {
  for (int c = 1; c < 256; ++c) {
    const char key = static_cast<char>(c);
    const char expected = key == '&' || key == '(' ? key : '\r';
    EXPECT_EQ(MainWindowLogic::ComboBox1KeyPress(key), expected) << c;
  }
}

}  // namespace
}  // namespace talmeko::app
