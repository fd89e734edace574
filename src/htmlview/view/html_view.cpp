#include "htmlview/view/html_view.h"

#include <iterator>
#include <sstream>

#include "htmlview/base/exceptions.h"
#include "htmlview/parse/html_parser.h"

namespace talmeko::htmlview {
namespace {

// Marks the view as processing, with the hourglass, on every way out too.
class TProcessingGuard {
 public:
  TProcessingGuard(bool& flag, THtmlViewEvents* events) : flag_(flag), events_(events) {
    flag_ = true;
    if (events_) events_->SetBusy(true);
  }
  ~TProcessingGuard() {
    if (events_) events_->SetBusy(false);
    flag_ = false;
  }
  TProcessingGuard(const TProcessingGuard&) = delete;
  TProcessingGuard& operator=(const TProcessingGuard&) = delete;

 private:
  bool& flag_;
  THtmlViewEvents* events_;
};

}  // namespace

THtmlView::THtmlView(const platform::FontCatalogue& fonts, const platform::ScreenInfo& screen)
    : screen_(screen), fonts_(fonts, screen.pixelsPerInch), document_(std::make_unique<ThtDocument>()) {}

void THtmlView::LoadFromStream(std::istream* stream, const std::string& name, TDocType type) {
  if (!stream) return;
  // The caller has just written the page and left the position at its end.
  stream->clear();
  std::string bytes;
  stream->seekg(0, std::ios::end);
  const std::streamoff size = stream->tellg();
  stream->seekg(0);
  auto* const inMemory = dynamic_cast<std::stringbuf*>(stream->rdbuf());
  const bool pageType = type == TDocType::HTMLType || type == TDocType::TextType;
  if (pageType && size > 0 && stream->good() && inMemory &&
      inMemory->view().size() == static_cast<std::size_t>(size)) {
    // A page written into a string stream, as the main window hands it:
    // decoded straight from the stream's own string, without a copy.
    auto buffer = TBuffer::Decoding(inMemory->view(), name, defaults_.CharSet);
    stream->seekg(0, std::ios::end);
    LoadDocument(std::move(buffer), name, type);
    return;
  }
  if (size > 0 && stream->good()) {
    bytes.resize(static_cast<std::size_t>(size));
    stream->read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(stream->gcount()));
  } else {
    // A stream that cannot tell its size is read to its end.
    stream->clear();
    stream->seekg(0);
    bytes.assign(std::istreambuf_iterator<char>(*stream), std::istreambuf_iterator<char>());
  }
  if (type != TDocType::HTMLType && type != TDocType::TextType) {
    // Other kinds are shown as an image of the stream; the engine shows no
    // images, so the page stays empty.
    bytes = "<img src=\"" + name + "\">";
    type = TDocType::HTMLType;
  }
  LoadDocument(std::make_unique<TBuffer>(std::move(bytes), name, defaults_.CharSet), name, type);
}

void THtmlView::LoadDocument(std::unique_ptr<TBuffer> document, const std::string& name, TDocType type) {
  if (!document) {
    throw EhtException("LoadDocument requires document to load. Parameter 'Document' must not be nil.");
  }
  if (type == TDocType::ImgType) throw EhtException("LoadDocument with DocType = 'ImgType' not supported.");
  TProcessingGuard guard(processing_, events_);
  const bool quirks = DecideQuirks(*document);
  // The previous page goes first, with its style list and buffer.
  document_ = std::make_unique<ThtDocument>();
  buffer_.reset();
  document_->UseQuirksMode = quirks;
  // A cache filled by earlier pages is left to the documents that use it;
  // the new page starts a fresh one rather than parsing every new text.
  if (!styleAttributes_ || styleAttributes_->Full()) styleAttributes_ = std::make_shared<TStyleAttributeCache>();
  document_->PropStack.ShareStyleAttributes(styleAttributes_);
  document_->Styles.Initialize(defaults_, quirks, *document_->Pool, screen_.pixelsPerInch);
  buffer_ = std::move(document);
  name_ = name;
  buffer_->SetPosition(0);
  THtmlParser parser(*buffer_, *document_, defaults_, fonts_);
  if (type == TDocType::TextType) parser.ParseText();
  else parser.ParseHtml();
  if (events_) events_->DocumentChanged();
}

bool THtmlView::DecideQuirks(TBuffer& buffer) const {
  switch (defaults_.QuirksMode) {
    case TQuirksMode::qmStandards: return false;
    case TQuirksMode::qmQuirks: return true;
    case TQuirksMode::qmDetect: break;
  }
  return IsQuirksDocument(buffer);
}

}  // namespace talmeko::htmlview
