#pragma once
// An element that counts how many of its kind are alive, for tests that
// check a container destroys every element it made exactly once.

#include <string>
#include <utility>

namespace talmeko::htmlview::testing {

struct Tracked {
  Tracked(int* live, std::string text) : live_(live), value(std::move(text)) { ++*live_; }
  Tracked(Tracked&& other) noexcept : live_(other.live_), value(std::move(other.value)) { ++*live_; }
  ~Tracked() { --*live_; }
  int* live_;
  std::string value;
};

}  // namespace talmeko::htmlview::testing
