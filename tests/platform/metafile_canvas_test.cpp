#include "platform/metafile_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/fake_canvas.h"

namespace talmeko::platform {
namespace {

using testing::RecordingCanvas;

Mapping Aniso(Point windowOrg, Size windowExt, Point viewportOrg, Size viewportExt) {
  return {true, windowOrg, windowExt, viewportOrg, viewportExt};
}

// A page of 900 x 1300 with a mapping, a device clip reaching past the page,
// a balanced save, a return to device units and a save left open.
RecordedPage RecordSamplePage() {
  RecordedPage page({900, 1300});
  testing::FakeCanvas reference;
  MetafileCanvas canvas(page, reference);
  canvas.FillRect({0, 0, 900, 1300}, Rgb(255, 255, 255));
  canvas.DrawText(5, 6, u"Ab", Rgb(0, 0, 0));
  canvas.SetMapping(Aniso({0, 0}, {100, 100}, {50, 60}, {600, 600}));
  canvas.DrawLine({0, 0}, {10, 10}, Rgb(255, 0, 0), 2);
  canvas.SelectDeviceClip({-100, 200, 1000, 1200});
  canvas.Save();
  canvas.IntersectClip({1, 2, 3, 4});
  canvas.Restore();
  canvas.SetMapping(Mapping{});
  canvas.Save();
  canvas.FrameRect({0, 0, 2, 2}, Rgb(0, 0, 255));
  return page;
}

struct ReplayCase {
  const char* name;
  Mapping targetMapping;
  Rect into;
  std::string expected;
};

// Worked out by hand. Plain target, page halved into (10, 20)-(460, 670):
// page to device x / 2 + 10, y / 2 + 20; the page's own mapping (x * 6 + 50,
// y * 6 + 60) becomes x * 3 + 35, y * 3 + 50. Preview-like target (sheet of
// 1000 x 1400 with the printable area at (50, 40), shown at half size), page
// into its own extent: page to device x / 2 + 25, y / 2 + 20.
const ReplayCase kReplayCases[] = {
    {"PlainTargetHalfSize", Mapping{}, {10, 20, 460, 670},
     "save\nclip 10,20,460,670\nmap aniso win 0,0 2x2 view 10,20 1x1\nfont  16 w400\n"
     "fill 0,0,900,1300 #FFFFFF\ntext 5,6 'Ab' #000000\nmap aniso win 0,0 1x1 view 35,50 3x3\n"
     "line 0,0 10,10 #FF0000 w2\ndclip 10,120,460,620\nsave\nclip 1,2,3,4\nrestore\n"
     "map aniso win 0,0 2x2 view 10,20 1x1\nsave\nframe 0,0,2,2 #0000FF\nrestore\nrestore\n"},
    {"MappedTargetPageExtent", Aniso({-50, -40}, {1000, 1400}, {0, 0}, {500, 700}), {0, 0, 900, 1300},
     "save\nclip 0,0,900,1300\nmap aniso win 0,0 2x2 view 25,20 1x1\nfont  16 w400\n"
     "fill 0,0,900,1300 #FFFFFF\ntext 5,6 'Ab' #000000\nmap aniso win 0,0 1x1 view 50,50 3x3\n"
     "line 0,0 10,10 #FF0000 w2\ndclip 25,120,475,620\nsave\nclip 1,2,3,4\nrestore\n"
     "map aniso win 0,0 2x2 view 25,20 1x1\nsave\nframe 0,0,2,2 #0000FF\nrestore\nrestore\n"},
};

TEST(MetafileCanvas, ReplayMapsThePageIntoTheRectangleAndBalancesItsSaves) {
  const RecordedPage page = RecordSamplePage();
  for (const ReplayCase& c : kReplayCases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas target;
    target.SetMapping(c.targetMapping);
    target.ClearCommands();
    ReplayPage(page, target, c.into, c.targetMapping);
    EXPECT_EQ(target.Dump(), c.expected);
    EXPECT_EQ(target.SaveDepth(), 0);
    EXPECT_EQ(target.UnbalancedRestores(), 0);
    EXPECT_EQ(target.CurrentMapping(), c.targetMapping);
  }
}

TEST(MetafileCanvas, ReplayOfAnEmptyPageOrIntoAnEmptyRectangleLeavesTheTargetAlone) {
  const RecordedPage sample = RecordSamplePage();
  const RecordedPage empty({0, 1300});
  RecordingCanvas target;
  ReplayPage(sample, target, {10, 10, 10, 500});
  ReplayPage(empty, target, {0, 0, 100, 100});
  EXPECT_EQ(target.Dump(), "");
}

TEST(MetafileCanvas, ComposedMappingsMapAsTheTwoInTurn) {
  struct Case {
    const char* name;
    Mapping outer;
    Mapping inner;
    Mapping expected;
  };
  const Case cases[] = {
      {"TextModeInnerIsTheOuterAlone", Aniso({3, 4}, {10, 10}, {5, 6}, {20, 20}), Mapping{},
       Aniso({0, 0}, {1, 1}, {-1, -2}, {2, 2})},
      {"ZeroWindowExtentCountsAsOneToOne", Aniso({3, 4}, {10, 10}, {5, 6}, {20, 20}),
       Aniso({7, 7}, {0, 5}, {9, 9}, {3, 3}), Aniso({0, 0}, {1, 1}, {-1, -2}, {2, 2})},
      {"FlippedOuter", Aniso({0, 0}, {100, 100}, {0, 100}, {100, -100}), Aniso({0, 0}, {1, 1}, {10, 10}, {2, 2}),
       Aniso({0, 0}, {1, 1}, {10, 90}, {2, -2})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ComposeMappings(c.outer, c.inner), c.expected);
  }
}

// Extents whose products overflow the canvas's integers still give a
// mapping that scales as the two do, to within a pixel.
TEST(MetafileCanvas, ComposingLargeCoprimeExtentsKeepsTheScale) {
  const Mapping inner = Aniso({0, 0}, {100003, 100003}, {0, 0}, {100019, 100019});
  const Mapping outer = Aniso({0, 0}, {100043, 100043}, {0, 0}, {99991, 99991});
  const Mapping m = ComposeMappings(outer, inner);
  const double exact = 1e6 * (100019.0 / 100003.0) * (99991.0 / 100043.0);
  const double mapped = 1e6 * m.viewportExt.width / m.windowExt.width;
  EXPECT_NEAR(mapped, exact, 1.0);
  EXPECT_GT(m.windowExt.width, 0);
}

// The reference measures in the state the page is drawn in, and gets its own
// state back when the recording ends, even after unbalanced saves and restores.
TEST(MetafileCanvas, MeasuresOnTheReferenceInThePageStateAndRestoresIt) {
  RecordingCanvas reference;
  FontDesc before;
  before.family = "Courier New";
  before.height = 40;
  reference.SelectFont(before);
  reference.SetMapping(Aniso({0, 0}, {2, 2}, {0, 0}, {1, 1}));
  const Mapping referenceMapping = reference.CurrentMapping();
  RecordedPage page({100, 100});
  {
    MetafileCanvas canvas(page, reference);
    EXPECT_EQ(reference.CurrentFont(), FontDesc{});
    EXPECT_EQ(reference.CurrentMapping(), Mapping{});
    FontDesc font;
    font.family = "Arial";
    font.height = 20;
    canvas.Restore();
    canvas.Save();
    canvas.SelectFont(font);
    EXPECT_EQ(canvas.TextWidth(u"abc"), 30);
    EXPECT_EQ(canvas.GetFontMetrics().height, 22);
    canvas.Save();
  }
  EXPECT_EQ(reference.CurrentFont(), before);
  EXPECT_EQ(reference.CurrentMapping(), referenceMapping);
  EXPECT_EQ(reference.SaveDepth(), 0);
  EXPECT_EQ(reference.UnbalancedRestores(), 0);
  // The restore without a save was left out of the recording.
  RecordingCanvas target;
  ReplayPage(page, target, {0, 0, 100, 100});
  EXPECT_EQ(target.Dump({"save", "restore", "font"}), "save\nfont  16 w400\nsave\nfont Arial 20 w400\nsave\nrestore\nrestore\nrestore\n");
}

}  // namespace
}  // namespace talmeko::platform
