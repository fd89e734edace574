#pragma once
// The application-wide wait cursor for the length of a scope, also when the
// scope is left by an exception.

namespace talmeko::platform::qt {

class WaitCursorGuard {
 public:
  WaitCursorGuard();
  ~WaitCursorGuard();
  WaitCursorGuard(const WaitCursorGuard&) = delete;
  WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;
};

}  // namespace talmeko::platform::qt
