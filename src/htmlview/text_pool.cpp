#include "htmlview/text_pool.h"

namespace talmeko::htmlview {

std::string_view TTextPool::StoreSlow(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > chunkFree_) {
    // Long texts get a chunk of their own so the current chunk stays in use.
    const std::size_t size = text.size() > kChunkSize / 4 ? text.size() : kChunkSize;
    chunks_.push_back(std::make_unique<char[]>(size));
    if (size == kChunkSize) {
      next_ = chunks_.back().get();
      chunkFree_ = size;
    } else {
      std::memcpy(chunks_.back().get(), text.data(), text.size());
      used_ += text.size();
      return {chunks_.back().get(), text.size()};
    }
  }
  char* place = next_;
  std::memcpy(place, text.data(), text.size());
  next_ += text.size();
  chunkFree_ -= text.size();
  used_ += text.size();
  return {place, text.size()};
}

}  // namespace talmeko::htmlview
