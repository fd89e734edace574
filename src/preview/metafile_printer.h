#pragma once
// The page recorder: a page canvas that keeps every page as a recording
// instead of printing it, for the preview window to replay at any zoom. Its
// sheet metrics and its text measurements come from the current printer, so
// the pages look as that printer would print them.

#include <memory>
#include <vector>

#include "platform/font_catalogue.h"
#include "platform/metafile_canvas.h"
#include "preview/ht_printer.h"

namespace talmeko::preview {

enum class TUnits { unInches = 0, unCentimeters = 1 };

class TMetaFilePrinter : public ThtPrinter {
 public:
  // The screen's pixels per inch size the font that page 1 starts with.
  explicit TMetaFilePrinter(const platform::ScreenInfo& screen = {}) : screen_(screen) {}
  ~TMetaFilePrinter() override;

  // Marks the current page as used; null when no document is open.
  platform::MetafileCanvas* GetPageCanvas() override;
  int GetCurrentPage() override { return PageCount(); }
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Page 1 is index 0; the recorder keeps ownership. Out of range throws std::out_of_range.
  const platform::RecordedPage& Pages(int index) const;

  void StartDocument() override;
  void StartNextPage() override;
  void FinishDocument() override;
  void AbortDocument() override;
  // Destroys every recorded page and the page canvas.
  void ClearPages();

  const char* ClassName() const override { return "TMetaFilePrinter"; }

  // Stored for whoever wants it; nothing in the recorder depends on it.
  TUnits Units() const { return units_; }
  void SetUnits(TUnits units) { units_ = units; }
  bool PageTouched() const { return pageTouched_; }

  TPageEvent OnPageEvent;

 private:
  platform::Canvas& ReferenceCanvas() const;
  void PaintPageWhite(platform::MetafileCanvas& canvas) const;
  void SetFirstPageDefaults(platform::MetafileCanvas& canvas) const;
  void RaisePageEvent();

  platform::ScreenInfo screen_;
  std::vector<std::unique_ptr<platform::RecordedPage>> pages_;
  std::unique_ptr<platform::MetafileCanvas> canvas_;
  TUnits units_ = TUnits::unInches;
  bool pageTouched_ = false;
};

}  // namespace talmeko::preview
