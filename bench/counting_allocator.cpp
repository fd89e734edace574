#include "counting_allocator.h"

#include <cstdlib>
#include <new>

namespace talmeko::bench {

long long gLive = 0;
long long gPeak = 0;
long long gAllocations = 0;

namespace {

void Count(long long delta) {
  gLive += delta;
  if (gLive > gPeak) gPeak = gLive;
}

}  // namespace
}  // namespace talmeko::bench

// Every allocation carries its size in front, so frees can be counted too.
void* operator new(std::size_t size) {
  void* p = std::malloc(size + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = size;
  talmeko::bench::Count(static_cast<long long>(size));
  ++talmeko::bench::gAllocations;
  return static_cast<char*>(p) + 16;
}

void operator delete(void* p) noexcept {
  if (!p) return;
  char* base = static_cast<char*>(p) - 16;
  talmeko::bench::Count(-static_cast<long long>(*reinterpret_cast<std::size_t*>(base)));
  std::free(base);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
