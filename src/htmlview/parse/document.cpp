#include "htmlview/parse/document.h"

namespace talmeko::htmlview {

const TBodyBlock* ThtDocument::Body() const {
  for (const auto& item : Content) {
    if (item->Kind() == TSectionKind::BodyBlock) return static_cast<const TBodyBlock*>(item);
  }
  return nullptr;
}

bool ThtDocument::IsEmpty() const {
  const TBodyBlock* body = Body();
  return body == nullptr || body->Content.Empty();
}

}  // namespace talmeko::htmlview
