#pragma once
// A compact text of a conversion result for table-driven comparisons: the
// non-empty slots in brand order, then "not found" when the flag is clear.

#include <string>

#include "catalogue/conversion.h"

namespace talmeko::catalogue::testing {

inline std::string Describe(const Equivalents& result) {
  std::string text;
  for (std::size_t i = 0; i < kBrandCount; ++i) {
    if (result.slots[i].empty()) continue;
    if (!text.empty()) text += ' ';
    text += std::string(kBrandKeys[i]) + ' ' + result.slots[i];
  }
  if (!result.Found) text += text.empty() ? "not found" : ", not found";
  return text;
}

inline Equivalents ExactWithPass(const Tables& tables, std::string_view number, std::string_view brand) {
  Equivalents result = FindExact(tables, number, brand);
  DmcPass(tables, result);
  return result;
}

}  // namespace talmeko::catalogue::testing
