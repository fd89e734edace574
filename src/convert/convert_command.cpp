#include "convert/convert_command.h"

#include <optional>
#include <string>
#include <vector>

#include "catalogue/brands.h"
#include "catalogue/conversion.h"
#include "platform/cp1251.h"

namespace talmeko::convert {
namespace {

constexpr std::string_view kNearestOption = "--nearest";
constexpr std::string_view kUsage =
    "Использование: talmeko-convert МАРКА НОМЕР [--nearest]\n"
    "Марки: dmc, gamma, anchor, madeira, kirov и другие ключи марок.\n";
constexpr std::string_view kNotFoundMessage = "Такого цвета нет в палитре\n";

struct Request {
  std::string brand;
  std::string number;
  bool nearest = false;
};

// Sorts the arguments into the two positional ones and the option; anything
// else makes the request unusable.
std::optional<Request> ParseArguments(std::span<const std::string_view> args) {
  Request request;
  std::vector<std::string_view> positional;
  for (const std::string_view arg : args) {
    if (arg == kNearestOption) {
      request.nearest = true;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return std::nullopt;
  request.brand = platform::Utf8ToCp1251(positional[0]);
  request.number = platform::Utf8ToCp1251(positional[1]);
  return request;
}

catalogue::Equivalents Convert(const catalogue::Tables& tables, const Request& request) {
  if (request.nearest) return catalogue::FindNearest(tables, request.number, request.brand);
  catalogue::Equivalents result = catalogue::FindExact(tables, request.number, request.brand);
  catalogue::DmcPass(tables, result);
  return result;
}

void PrintResult(const catalogue::Tables& tables, const catalogue::Equivalents& result, std::ostream& out) {
  for (const std::string_view brand : catalogue::kTableBrands) {
    const std::string& list = result.Slot(brand);
    const std::string code = catalogue::FindColorCode(tables, list, brand);
    out << platform::Cp1251ToUtf8(*catalogue::BrandDisplayName(brand)) << '\t' << platform::Cp1251ToUtf8(list)
        << '\t' << platform::Cp1251ToUtf8(code) << '\n';
  }
}

}  // namespace

int RunConvert(const catalogue::Tables& tables, std::span<const std::string_view> args, std::ostream& out,
               std::ostream& err) {
  const std::optional<Request> request = ParseArguments(args);
  if (!request) {
    err << kUsage;
    return kUsageError;
  }
  if (!catalogue::BrandIndex(request->brand)) {
    err << "Неизвестная марка: \"" << platform::Cp1251ToUtf8(request->brand) << "\"\n" << kUsage;
    return kUsageError;
  }
  const catalogue::Equivalents result = Convert(tables, *request);
  if (!result.Found) {
    err << kNotFoundMessage;
    return kNotFound;
  }
  PrintResult(tables, result, out);
  return kConverted;
}

}  // namespace talmeko::convert
