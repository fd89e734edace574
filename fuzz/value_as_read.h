#pragma once
// What the profile reader gives back for a value that was written, worked
// out here independently of the reader: blanks around it removed, then one
// pair of matching quotes, then cut to the read buffer.

#include <string>
#include <string_view>

#include "platform/profile.h"

namespace talmeko::fuzzing {

inline bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\x0B' || c == '\x0C' || c == '\x1A'; }

inline std::string ValueAsRead(std::string_view value) {
  while (!value.empty() && IsProfileBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsProfileBlank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, platform::kProfileBufferSize - 1));
}

}  // namespace talmeko::fuzzing
