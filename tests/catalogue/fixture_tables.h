#pragma once
// The small catalogue in tests/fixtures/catalogue: a few lines of each block of
// the shipped tables, enough to reproduce every conversion case by hand.

#include <fstream>
#include <sstream>
#include <string>

#include "catalogue/tables.h"

namespace talmeko::catalogue::testing {

inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(TALMEKO_FIXTURES) + "/catalogue/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline const Tables& FixtureTables() {
  static const Tables tables = LoadTables(ReadFixture("palette.txt"), ReadFixture("accord.txt"));
  return tables;
}

inline const Tables& ShippedTables() {
  static const Tables tables = LoadTables();
  return tables;
}

}  // namespace talmeko::catalogue::testing
