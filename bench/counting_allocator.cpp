#include "counting_allocator.h"

#include <cstdint>
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

// Over-aligned allocations are counted too: the view's stores ask for them.
// The block from malloc is kept just before the aligned place, with the size.
void* operator new(std::size_t size, std::align_val_t align) {
  const auto alignment = static_cast<std::size_t>(align);
  char* base = static_cast<char*>(std::malloc(size + alignment + 16));
  if (!base) throw std::bad_alloc();
  const auto raw = reinterpret_cast<std::uintptr_t>(base + 16);
  char* p = base + 16 + ((alignment - raw % alignment) % alignment);
  reinterpret_cast<void**>(p)[-1] = base;
  reinterpret_cast<std::size_t*>(p)[-2] = size;
  talmeko::bench::Count(static_cast<long long>(size));
  ++talmeko::bench::gAllocations;
  return p;
}

void operator delete(void* p, std::align_val_t) noexcept {
  if (!p) return;
  talmeko::bench::Count(-static_cast<long long>(reinterpret_cast<std::size_t*>(p)[-2]));
  std::free(reinterpret_cast<void**>(p)[-1]);
}

void operator delete(void* p, std::size_t, std::align_val_t align) noexcept { operator delete(p, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return operator new(size, align); }
void operator delete[](void* p, std::align_val_t align) noexcept { operator delete(p, align); }
void operator delete[](void* p, std::size_t, std::align_val_t align) noexcept { operator delete(p, align); }
