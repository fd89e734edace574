#pragma once
// talmeko-convert BRAND NUMBER [--nearest]: prints the equivalents of one colour
// for every table brand, in the column order of the result page.

#include <ostream>
#include <span>
#include <string_view>

#include "catalogue/tables.h"

namespace talmeko::convert {

// Exit statuses of the converter.
inline constexpr int kConverted = 0;
inline constexpr int kNotFound = 1;
inline constexpr int kUsageError = 2;

// Runs the converter on its arguments (program name excluded, UTF-8) against
// the given tables. Results go to out, messages to err, both in UTF-8.
int RunConvert(const catalogue::Tables& tables, std::span<const std::string_view> args, std::ostream& out,
               std::ostream& err);

}  // namespace talmeko::convert
