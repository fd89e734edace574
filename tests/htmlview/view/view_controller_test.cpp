#include "htmlview/view/view_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <ostream>
#include <vector>

#include "support/fake_canvas.h"
#include "view_test_doubles.h"

namespace talmeko::htmlview {
namespace {

using testing::FakeViewDocument;
using testing::FakeViewHost;

// A 400 x 300 control showing a document 1000 pixels tall: drawing area
// 383 x 300, vertical positions 0..700, large change 284.
struct ControllerFixture : ::testing::Test {
  ViewDefaults defaults;
  platform::ScreenInfo screen;
  TLayoutTally tally;
  talmeko::testing::FakeCanvas canvas;
  FakeViewDocument document;
  FakeViewHost host;
  std::unique_ptr<THtmlViewController> view;

  void SetUp() override {
    document.heightForWidth = [](int) { return 1000; };
    Make();
  }
  void Make() {
    view = std::make_unique<THtmlViewController>(host, defaults, screen, tally);
    view->SetDocument(&document);
    view->Resize(canvas, {400, 300});
    view->DocumentLoaded(canvas);
  }
};

TEST_F(ControllerFixture, LoadShowsTheTopAgain) {
  view->SetVerticalPosition(500);
  view->SetHorizontalPosition(10);
  view->DocumentLoaded(canvas);
  EXPECT_EQ(view->VerticalPosition(), 0);
  EXPECT_EQ(view->HorizontalPosition(), 0);
}

TEST_F(ControllerFixture, ResizeKeepsThePositionWhereItStillFits) {
  view->SetVerticalPosition(650);
  view->Resize(canvas, {400, 320});
  EXPECT_EQ(view->VerticalPosition(), 650);
  view->Resize(canvas, {400, 500});
  EXPECT_EQ(view->VerticalPosition(), 500);
  document.heightForWidth = [](int) { return 200; };
  view->Resize(canvas, {400, 500});
  EXPECT_EQ(view->VerticalPosition(), 0);
}

TEST_F(ControllerFixture, ResizeClampsTheHorizontalPosition) {
  document.scrollWidth = 1000;
  view->Resize(canvas, {400, 300});
  view->SetHorizontalPosition(5000);
  EXPECT_EQ(view->HorizontalPosition(), 1000 - 383);
  view->Resize(canvas, {800, 300});
  EXPECT_EQ(view->HorizontalPosition(), 1000 - 783);
}

TEST_F(ControllerFixture, ScrollBarPositionsAreClamped) {
  view->SetVerticalPosition(-5);
  EXPECT_EQ(view->VerticalPosition(), 0);
  view->SetVerticalPosition(5000);
  EXPECT_EQ(view->VerticalPosition(), 700);
}

struct KeyCase {
  const char* name;
  int start;
  TViewKey key;
  TKeyModifiers modifiers;
  bool handled;
  int expected;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class ControllerKeys : public ControllerFixture, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ControllerKeys, MoveTheVerticalPosition) {
  const KeyCase& c = GetParam();
  view->SetVerticalPosition(c.start);
  EXPECT_EQ(view->KeyDown(c.key, c.modifiers), c.handled);
  EXPECT_EQ(view->VerticalPosition(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    HtmlViewController, ControllerKeys,
    ::testing::Values(KeyCase{"Down", 100, TViewKey::Down, {}, true, 116},
                      KeyCase{"Up", 100, TViewKey::Up, {}, true, 84},
                      KeyCase{"UpAtTop", 5, TViewKey::Up, {}, true, 0},
                      KeyCase{"PageDown", 100, TViewKey::PageDown, {}, true, 384},
                      KeyCase{"PageUp", 300, TViewKey::PageUp, {}, true, 16},
                      KeyCase{"PageDownAtBottom", 600, TViewKey::PageDown, {}, true, 700},
                      KeyCase{"Space", 100, TViewKey::Space, {}, true, 384},
                      KeyCase{"ShiftSpace", 300, TViewKey::Space, {true, false}, true, 16},
                      KeyCase{"CtrlEnd", 100, TViewKey::End, {false, true}, true, 700},
                      KeyCase{"CtrlHome", 400, TViewKey::Home, {false, true}, true, 0},
                      KeyCase{"HomeAlone", 400, TViewKey::Home, {}, false, 400},
                      KeyCase{"EndAlone", 400, TViewKey::End, {}, false, 400}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ControllerFixture, LeftAndRightMoveTheHorizontalPositionBy15) {
  document.scrollWidth = 1000;
  view->Resize(canvas, {400, 300});
  view->KeyDown(TViewKey::Right, {});
  view->KeyDown(TViewKey::Right, {});
  EXPECT_EQ(view->HorizontalPosition(), 30);
  view->KeyDown(TViewKey::Left, {});
  EXPECT_EQ(view->HorizontalPosition(), 15);
  view->KeyDown(TViewKey::Left, {});
  view->KeyDown(TViewKey::Left, {});
  EXPECT_EQ(view->HorizontalPosition(), 0);
}

TEST_F(ControllerFixture, OnlyAOneLineKeyMoveShiftsTheImage) {
  host.invalidations = 0;
  view->KeyDown(TViewKey::Down, {});
  EXPECT_EQ(host.scrolls, std::vector<std::string>{"0,-16"});
  EXPECT_EQ(host.invalidations, 0);
  view->KeyDown(TViewKey::PageDown, {});
  EXPECT_EQ(host.scrolls.size(), 1u);
  EXPECT_EQ(host.invalidations, 1);
  view->SetVerticalPosition(695);
  host.scrolls.clear();
  view->KeyDown(TViewKey::Down, {});
  EXPECT_TRUE(host.scrolls.empty()) << "a move cut short at the bottom repaints everything";
}

TEST_F(ControllerFixture, WheelMovesSixteenPixelsPerLineTowardsTheTopForPositiveNotches) {
  view->SetVerticalPosition(200);
  EXPECT_TRUE(view->Wheel(120));
  EXPECT_EQ(view->VerticalPosition(), 200 - 48);
  view->Wheel(-240);
  EXPECT_EQ(view->VerticalPosition(), 152 + 96);
}

TEST_F(ControllerFixture, WheelWithoutLineSettingMovesHalfTheDelta) {
  for (int lines : {0, -1}) {
    screen.wheelScrollLines = lines;
    view->SetScreenInfo(screen);
    view->SetVerticalPosition(200);
    view->Wheel(-120);
    EXPECT_EQ(view->VerticalPosition(), 260) << lines;
  }
}

TEST_F(ControllerFixture, NoWheelMouseIgnoresTheWheelAndTheMiddleButton) {
  defaults.HtOptions |= htNoWheelMouse;
  Make();
  view->SetVerticalPosition(200);
  EXPECT_FALSE(view->Wheel(120));
  EXPECT_EQ(view->VerticalPosition(), 200);
  view->MousePress(TMouseButton::Middle, {100, 100}, {}, false);
  EXPECT_FALSE(view->Panning());
}

TEST_F(ControllerFixture, PanningStepsTowardsThePointerOutsideTheDeadZone) {
  view->SetVerticalPosition(300);
  view->MousePress(TMouseButton::Middle, {100, 100}, {}, false);
  view->MouseRelease(TMouseButton::Middle, {100, 100});
  ASSERT_TRUE(view->Panning());
  EXPECT_TRUE(host.timerActive);
  struct Step {
    int pointerY;
    int move;
  };
  for (const Step s : {Step{120, 0}, Step{80, 0}, Step{121, 1}, Step{130, 3}, Step{200, 21}, Step{79, -1},
                       Step{50, -8}}) {
    const int before = view->VerticalPosition();
    view->MouseMove({100, s.pointerY});
    view->Tick();
    EXPECT_EQ(view->VerticalPosition() - before, s.move) << "pointer at " << s.pointerY;
  }
  view->MousePress(TMouseButton::Left, {100, 50}, {}, false);
  EXPECT_FALSE(view->Panning());
  EXPECT_FALSE(host.timerActive);
  EXPECT_TRUE(view->Selection().IsEmpty()) << "the press that ends panning selects nothing";
}

TEST_F(ControllerFixture, DragSelectsFromTheAnchorAndShiftExtends) {
  view->MousePress(TMouseButton::Left, {10, 55}, {}, false);
  view->MouseMove({10, 125});
  EXPECT_EQ(view->Selection().Start(), 5);
  EXPECT_EQ(view->Selection().End(), 12);
  view->MouseMove({10, 15});
  EXPECT_EQ(view->Selection().Start(), 1);
  EXPECT_EQ(view->Selection().End(), 5);
  view->MouseRelease(TMouseButton::Left, {10, 15});
  view->MouseMove({10, 200});
  EXPECT_EQ(view->Selection().End(), 5) << "moving without the button changes nothing";
  view->MousePress(TMouseButton::Left, {10, 205}, {true, false}, false);
  EXPECT_EQ(view->Selection().Start(), 5);
  EXPECT_EQ(view->Selection().End(), 20);
}

TEST_F(ControllerFixture, SelectionUsesDocumentCoordinates) {
  view->SetVerticalPosition(100);
  view->MousePress(TMouseButton::Left, {0, 0}, {}, false);
  view->MouseMove({0, 50});
  EXPECT_EQ(view->Selection().Start(), 10);
  EXPECT_EQ(view->Selection().End(), 15);
}

TEST_F(ControllerFixture, DoubleClickSelectsTheWord) {
  view->MousePress(TMouseButton::Left, {10, 72}, {}, false);
  view->MousePress(TMouseButton::Left, {10, 72}, {}, true);
  EXPECT_EQ(view->Selection().Start(), 5);
  EXPECT_EQ(view->Selection().End(), 10);
}

TEST_F(ControllerFixture, DraggingOutsideScrollsEveryTick) {
  view->SetVerticalPosition(300);
  view->MousePress(TMouseButton::Left, {10, 150}, {}, false);
  ASSERT_TRUE(host.timerActive);
  struct Step {
    int pointerY;
    int move;
  };
  for (const Step s : {Step{299, 0}, Step{300, 16}, Step{314, 16}, Step{315, 128}, Step{0, 0}, Step{-1, -16},
                       Step{-15, -16}, Step{-16, -128}}) {
    const int before = view->VerticalPosition();
    view->MouseMove({10, s.pointerY});
    view->Tick();
    EXPECT_EQ(view->VerticalPosition() - before, s.move) << "pointer at " << s.pointerY;
  }
  view->MouseMove({10, 400});
  view->Tick();
  EXPECT_EQ(view->Selection().End(), (view->VerticalPosition() + 400) / 10) << "the selection follows the scroll";
  view->MouseRelease(TMouseButton::Left, {10, 400});
  EXPECT_FALSE(host.timerActive);
}

TEST_F(ControllerFixture, NoSelectClearsAndPreventsTheSelection) {
  view->MousePress(TMouseButton::Left, {10, 10}, {}, false);
  view->MouseMove({10, 100});
  ASSERT_FALSE(view->Selection().IsEmpty());
  host.invalidations = 0;
  view->SetNoSelect(true);
  EXPECT_TRUE(view->Selection().IsEmpty());
  EXPECT_EQ(host.invalidations, 1);
  view->MousePress(TMouseButton::Left, {10, 10}, {}, false);
  view->MouseMove({10, 100});
  EXPECT_TRUE(view->Selection().IsEmpty());
}

TEST_F(ControllerFixture, PaintFillsTheClipWithTheBackgroundThenDrawsTheDocument) {
  document.scrollWidth = 1000;
  view->Resize(canvas, {400, 300});
  view->SetVerticalPosition(7);
  view->SetHorizontalPosition(20);
  screen.windowColor = platform::Rgb(0xF0, 0xF0, 0xE0);
  view->SetScreenInfo(screen);
  talmeko::testing::RecordingCanvas recorder;
  view->Paint(recorder, {0, 10, 200, 60});
  EXPECT_EQ(recorder.Dump({"fill", "clip"}),
            "fill 0,10,200,60 #F0F0E0\n"
            "clip 0,10,200,60\n"
            "fill -20,-2,20,18 #FF8800\n");
  EXPECT_EQ(recorder.SaveDepth(), 0);
  ASSERT_EQ(document.paints.size(), 1u);
  EXPECT_EQ(document.paints[0].xOffset, -20);
  EXPECT_EQ(document.paints[0].yTop, 7);
  EXPECT_EQ(document.paints[0].clip, (platform::Rect{0, 10, 200, 60})) << "what the clip shows of the 6000 pixels";
  EXPECT_EQ(document.paints[0].background, platform::Rgb(0xF0, 0xF0, 0xE0));
}

TEST_F(ControllerFixture, EmptyDocumentPaintsOnlyTheBackground) {
  document.content = false;
  talmeko::testing::RecordingCanvas recorder;
  view->Paint(recorder, {0, 0, 50, 50});
  EXPECT_EQ(recorder.Dump({"fill", "text", "clip"}), "fill 0,0,50,50 #FFFFFF\n");
}

}  // namespace
}  // namespace talmeko::htmlview
