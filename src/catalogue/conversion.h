#pragma once
// The two conversion strategies: the correspondence table (with its DMC pass)
// and the nearest palette colour.

#include <array>
#include <string>
#include <string_view>

#include "catalogue/brands.h"
#include "catalogue/tables.h"

namespace talmeko::catalogue {

struct Equivalents {
  std::array<std::string, kBrandCount> slots;  // number lists in brand order
  bool Found = false;

  // The slot of a brand key; an empty list for a key that is none of the fifteen.
  const std::string& Slot(std::string_view key) const;
  std::string& Slot(std::size_t brandIndex) { return slots[brandIndex]; }
};

Equivalents FindExact(const Tables& tables, std::string_view number, std::string_view brand);

// Completes an exact result through the first DMC number of its dmc slot.
void DmcPass(const Tables& tables, Equivalents& result);

Equivalents FindNearest(const Tables& tables, std::string_view number, std::string_view brand);

}  // namespace talmeko::catalogue
