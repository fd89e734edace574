#include <iostream>
#include <string_view>
#include <vector>

#include "catalogue/tables.h"
#include "convert/convert_command.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const talmeko::catalogue::Tables tables = talmeko::catalogue::LoadTables();
  return talmeko::convert::RunConvert(tables, args, std::cout, std::cerr);
}
