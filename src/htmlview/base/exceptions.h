#pragma once
// The view's errors. Each carries one of the fixed English messages; what()
// returns it unchanged so that the application's error box shows it as is.

#include <exception>
#include <string>
#include <utility>

namespace talmeko::htmlview {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

class EhtException : public Exception {
 public:
  using Exception::Exception;
};

class EParseError : public Exception {
 public:
  using Exception::Exception;
};

class EIllegalArgument : public Exception {
 public:
  using Exception::Exception;
};

class EPrinter : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace talmeko::htmlview
