#pragma once
// Storage for the texts that property sets refer to. Property sets are copied
// for every element, so they hold only views of texts kept here; the pool
// belongs to the document and lives as long as any of its property sets.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace talmeko::htmlview {

class TTextPool {
 public:
  TTextPool() = default;
  TTextPool(const TTextPool&) = delete;
  TTextPool& operator=(const TTextPool&) = delete;

  // Returns a view of a copy of the text that stays valid as long as the pool.
  std::string_view Store(std::string_view text) {
    // Most texts are short and fit the current chunk: copied in place.
    if (text.empty() || text.size() > chunkFree_) return StoreSlow(text);
    char* place = next_;
    std::memcpy(place, text.data(), text.size());
    next_ += text.size();
    chunkFree_ -= text.size();
    used_ += text.size();
    return {place, text.size()};
  }
  std::size_t BytesUsed() const { return used_; }

 private:
  std::string_view StoreSlow(std::string_view text);

  static constexpr std::size_t kChunkSize = 16 * 1024;
  std::vector<std::unique_ptr<char[]>> chunks_;
  std::size_t chunkFree_ = 0;
  char* next_ = nullptr;
  std::size_t used_ = 0;
};

}  // namespace talmeko::htmlview
