#include "htmlview/base/text_pool.h"

namespace talmeko::htmlview {

std::string_view TTextPool::StoreSlow(std::string_view text) {
  if (text.empty()) return {};
  // Long texts get a chunk of their own so the current chunk stays in use.
  if (text.size() > kChunkSize / 4) {
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
    std::memcpy(chunks_.back().get(), text.data(), text.size());
    used_ += text.size();
    return {chunks_.back().get(), text.size()};
  }
  // A new current chunk, which the text then fits. It is not cleared: only
  // the parts texts were copied to are ever read.
  chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunkSize));
  next_ = chunks_.back().get();
  chunkFree_ = kChunkSize;
  return Store(text);
}

}  // namespace talmeko::htmlview
