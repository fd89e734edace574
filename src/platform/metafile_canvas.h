#pragma once
// The recording canvas: a page drawn on it is kept as a compact list of canvas
// commands that can be replayed onto any canvas, scaled into any rectangle.
// Text is measured on a reference canvas (the printer's), so a recorded page
// breaks its lines exactly where the printed page does.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace talmeko::platform {

enum class BrushStyle : std::uint8_t { Solid, Clear };

// One recorded call. The meaning of the four numbers depends on the kind:
//   Font, Mapping: a = index into the page's fonts or mappings
//   Text:          a, b = top-left corner, c, d = offset and length in the text pool,
//                  color, extra = text and background colour
//   Fill, Frame:   a, b, c, d = left, top, right, bottom, color
//   Line:          a, b = from, c, d = to, color, extra = width
//   Clip, DeviceClip: a, b, c, d = the rectangle
//   Brush:         a = the BrushStyle
struct RecordedCommand {
  enum class Kind : std::uint8_t { Font, Text, Fill, Frame, Line, Clip, DeviceClip, Mapping, Save, Restore, Brush };
  Kind kind;
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::int32_t c = 0;
  std::int32_t d = 0;
  Color color = 0;
  std::uint32_t extra = 0;
};

// A page's recording. Its unit is the reference device's pixel; (0, 0) to
// Extent() is the area the page was recorded for.
class RecordedPage {
 public:
  RecordedPage() = default;
  explicit RecordedPage(Size extent) : extent_(extent) {}

  Size Extent() const { return extent_; }
  std::span<const RecordedCommand> Commands() const { return commands_; }
  std::u16string_view TextOf(const RecordedCommand& text) const;
  const FontDesc& FontOf(const RecordedCommand& font) const { return fonts_[static_cast<std::size_t>(font.a)]; }
  const Mapping& MappingOf(const RecordedCommand& m) const { return mappings_[static_cast<std::size_t>(m.a)]; }
  // Bytes held by the recording, the object itself included.
  std::size_t MemoryBytes() const;

 private:
  friend class MetafileCanvas;

  void Add(const RecordedCommand& command) { commands_.push_back(command); }
  std::int32_t FontIndex(const FontDesc& font);
  // Gives back the slack of the growing buffers once nothing more is recorded.
  void Complete();

  Size extent_;
  std::vector<RecordedCommand> commands_;
  std::u16string texts_;
  std::vector<FontDesc> fonts_;
  std::vector<Mapping> mappings_;
};

// Records every drawing and state call into a page and answers measurements
// from the reference canvas. Font, mapping and saved states are passed on to
// the reference too, so it measures in the state the page is drawn in; the
// reference gets its own state back when the recording canvas goes.
class MetafileCanvas final : public Canvas {
 public:
  MetafileCanvas(RecordedPage& page, Canvas& reference);
  ~MetafileCanvas() override;
  MetafileCanvas(const MetafileCanvas&) = delete;
  MetafileCanvas& operator=(const MetafileCanvas&) = delete;

  void SelectFont(const FontDesc& font) override;
  FontMetrics GetFontMetrics() override { return reference_.GetFontMetrics(); }
  int TextWidth(std::u16string_view text) override { return reference_.TextWidth(text); }
  bool WidthsAdd() const override { return reference_.WidthsAdd(); }
  void DrawText(int x, int y, std::u16string_view text, Color color, Color background = kNoColor) override;

  void FillRect(const Rect& rect, Color color) override;
  void FrameRect(const Rect& rect, Color color) override;
  void DrawLine(Point from, Point to, Color color, int width = 1) override;

  void IntersectClip(const Rect& rect) override;
  void SelectDeviceClip(const Rect& deviceRect) override;
  void SetMapping(const Mapping& mapping) override;

  void Save() override;
  void Restore() override;

  // The brush of a page canvas. The canvas interface draws text without a
  // background and fills with the colour it is given, so the style changes
  // no drawing; it is kept as part of the page's recorded state.
  void SetBrushStyle(BrushStyle style);
  BrushStyle GetBrushStyle() const { return brush_; }

 private:
  void AddRect(RecordedCommand::Kind kind, const Rect& r, Color color = 0);

  RecordedPage& page_;
  Canvas& reference_;
  int depth_ = 0;  // saves not yet restored, on the reference as well
  BrushStyle brush_ = BrushStyle::Solid;
};

// Composes two mappings into one: the result maps as `outer` applied after
// `inner`. A text-mode mapping counts as one to one; so does a mapping with a
// zero window extent, as the Qt canvas treats it.
Mapping ComposeMappings(const Mapping& outer, const Mapping& inner);

// Plays a complete page onto the target so that its extent lands on `into`,
// a rectangle in the target's logical units under `targetMapping` (the
// mapping the target is in at the call; text mode means device pixels).
// The replay runs in a saved state of the target, clipped to `into`, and
// leaves the target's state as it found it.
void ReplayPage(const RecordedPage& page, Canvas& target, const Rect& into, const Mapping& targetMapping = {});

}  // namespace talmeko::platform
