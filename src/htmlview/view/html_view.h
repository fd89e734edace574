#pragma once
// The view's engine: its published properties, the document it shows and the
// loading operations. Laying out, scrolling and painting are the job of
// whoever shows the view; it learns of a new document through the events.

#include <functional>
#include <istream>
#include <memory>
#include <string>

#include "htmlview/base/buffer.h"
#include "htmlview/parse/document.h"
#include "htmlview/style/fonts.h"
#include "htmlview/style/view_defaults.h"
#include "platform/font_catalogue.h"
#include "preview/ht_printer.h"

namespace talmeko::htmlview {

enum class TDocType { HTMLType, TextType, ImgType, OtherType };

class THtmlViewEvents {
 public:
  virtual ~THtmlViewEvents() = default;
  // The hourglass while a page is processed; calls come in pairs.
  virtual void SetBusy(bool busy) = 0;
  // A new document is in place: lay it out, show its top-left corner and
  // repaint.
  virtual void DocumentChanged() = 0;
};

class THtmlView {
 public:
  THtmlView(const platform::FontCatalogue& fonts, const platform::ScreenInfo& screen);

  // The published properties; changes apply from the next load.
  ViewDefaults& Defaults() { return defaults_; }
  const ViewDefaults& Defaults() const { return defaults_; }
  void SetEvents(THtmlViewEvents* events) { events_ = events; }

  // Reads the whole stream from its first byte. Nothing happens without a stream.
  void LoadFromStream(std::istream* stream, const std::string& name, TDocType type);
  // Replaces the document by the one parsed from the buffer. Raises
  // EhtException for a missing buffer and for the image kind.
  void LoadDocument(std::unique_ptr<TBuffer> document, const std::string& name, TDocType type);

  const ThtDocument& Document() const { return *document_; }
  const TBuffer* Buffer() const { return buffer_.get(); }
  const std::string& DocumentName() const { return name_; }
  bool Processing() const { return processing_; }
  TFontResolver& Fonts() { return fonts_; }

  // Printing, with the print settings of Defaults(). OnPageEvent is raised
  // with 0 when a run starts, 1 once the document is laid out for the page
  // and then after every page; the progress dialog sets it while it runs.
  preview::TPageEvent OnPageEvent;
  std::function<void(void* sender, bool& stopPrinting)> OnPrinting;
  std::function<void(void* sender)> OnPrinted;
  // Records the pages into a page recorder (or only counts them); returns how many there are.
  int RenderPreview(preview::ThtPrinter* recorder, bool countOnly, int firstPage, int lastPage);
  // Prints a page range on the given page canvas, leaving its document open,
  // or as one job on the system printer when none is given.
  int PrintPages(int firstPage, int lastPage, preview::ThtPrinter* printer = nullptr);
  // The page counter of the last run.
  int PrintPageCounter() const { return printPageCounter_; }

 private:
  bool DecideQuirks(TBuffer& buffer) const;
  int Paginate(preview::ThtPrinter* printer, int firstPage, int lastPage, int mode);

  ViewDefaults defaults_;
  platform::ScreenInfo screen_;
  TFontResolver fonts_;
  THtmlViewEvents* events_ = nullptr;
  std::unique_ptr<ThtDocument> document_;
  // Shared by the pages shown one after the other, which mostly repeat the
  // same style attributes.
  std::shared_ptr<TStyleAttributeCache> styleAttributes_;
  std::unique_ptr<TBuffer> buffer_;
  std::string name_;
  bool processing_ = false;
  int printPageCounter_ = 0;
};

}  // namespace talmeko::htmlview
