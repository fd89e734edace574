#include "convert/convert_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixture_tables.h"

namespace talmeko::convert {
namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Convert(std::vector<std::string_view> args) {
  std::ostringstream out, err;
  const int status = RunConvert(catalogue::testing::ShippedTables(), args, out, err);
  return {status, out.str(), err.str()};
}

const std::string kUsagePrefix = "Использование: talmeko-convert МАРКА НОМЕР [--nearest]\n";

TEST(ConvertCommand, PrintsEveryTableBrandInColumnOrder) {
  const Outcome o = Convert({"dmc", "310"});
  EXPECT_EQ(o.status, kConverted);
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.out,
            "DMC\t310\t#000000\n"
            "Гамма\t420\t#000000\n"
            "Anchor\t403\t#000000\n"
            "Madeira\t2400\t#000000\n"
            "ПНК им. Кирова\t7214\t#1D1C1E\n");
}

TEST(ConvertCommand, ExactConversionRunsTheDmcPass) {
  const Outcome o = Convert({"kirov", "3908"});
  EXPECT_EQ(o.status, kConverted);
  EXPECT_EQ(o.out,
            "DMC\t702\t#46A42E\n"
            "Гамма\t319,210\t#46a42e\n"
            "Anchor\t226\t#419937\n"
            "Madeira\t1306\t#429E36\n"
            "ПНК им. Кирова\t3908\t#46A42E\n");
}

TEST(ConvertCommand, NearestOptionSearchesByColourWhereverItStands) {
  const std::string expected =
      "DMC\tB5200\t#fafafa\n"
      "Гамма\t415\t#FFFFFF\n"
      "Anchor\t1\t#FFFFFF\n"
      "Madeira\t2401\t#FFFFFF\n"
      "ПНК им. Кирова\t101\t#FFFFFF\n";
  EXPECT_EQ(Convert({"anchor", "1", "--nearest"}).out, expected);
  EXPECT_EQ(Convert({"--nearest", "anchor", "1"}).out, expected);
  EXPECT_EQ(Convert({"anchor", "1"}).out,
            "DMC\tb5200\t\nГамма\t\t\nAnchor\t1\t#FFFFFF\nMadeira\t\t\nПНК им. Кирова\t\t\n");
}

TEST(ConvertCommand, NotFoundIsReportedOnTheErrorStream) {
  for (const auto& args : std::vector<std::vector<std::string_view>>{
           {"dmc", "5270"}, {"anchor", "1207", "--nearest"}, {"dmc", "0"}, {"dmc", ""}, {"dome", "12"}}) {
    const Outcome o = Convert(args);
    EXPECT_EQ(o.status, kNotFound) << args[0] << ' ' << args[1];
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "Такого цвета нет в палитре\n");
  }
}

TEST(ConvertCommand, MissingOrExtraArgumentsShowTheUsage) {
  for (const auto& args : std::vector<std::vector<std::string_view>>{
           {}, {"dmc"}, {"--nearest"}, {"dmc", "310", "311"}, {"dmc", "--nearest"}}) {
    const Outcome o = Convert(args);
    EXPECT_EQ(o.status, kUsageError);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.substr(0, kUsagePrefix.size()), kUsagePrefix);
  }
}

TEST(ConvertCommand, UnknownBrandIsNamedInTheMessage) {
  const Outcome o = Convert({"DMC", "310"});
  EXPECT_EQ(o.status, kUsageError);
  EXPECT_EQ(o.err.rfind("Неизвестная марка: \"DMC\"\n", 0), 0u) << o.err;
  EXPECT_EQ(Convert({"", "310"}).status, kUsageError);
}

TEST(ConvertCommand, OddArgumentsAreHandledSafely) {
  const std::string huge(100000, '7');
  const std::string hugeLetters(100000, '\xD0');
  const Outcome big = Convert({"dmc", huge});
  EXPECT_EQ(big.status, kNotFound);
  EXPECT_EQ(Convert({"dmc", hugeLetters}).status, kNotFound);
  EXPECT_EQ(Convert({huge, "310"}).status, kUsageError);

  const Outcome cyrillic = Convert({"гамма", "Экрю"});
  EXPECT_EQ(cyrillic.status, kUsageError);
  EXPECT_NE(cyrillic.err.find("\"гамма\""), std::string::npos);

  const Outcome broken = Convert({"\xFF\xFE\x80", "310"});
  EXPECT_EQ(broken.status, kUsageError);
  EXPECT_NE(broken.err.find("\"???\""), std::string::npos);
  EXPECT_EQ(Convert({"dmc", "\xC3\x28"}).status, kNotFound);
}

// The built program, run as a process with its streams sent to files.
Outcome RunProgram(const std::string& arguments) {
  const std::string base = ::testing::TempDir() + "talmeko_convert_" + std::to_string(::getpid());
  const std::string command = std::string("'") + TALMEKO_CONVERT_EXE + "' " + arguments + " >'" + base +
                              ".out' 2>'" + base + ".err'";
  const int raw = std::system(command.c_str());
  const auto slurp = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::remove(path.c_str());
    return text.str();
  };
  Outcome o{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(base + ".out"), slurp(base + ".err")};
  return o;
}

TEST(ConvertProgram, ConvertsFromTheCompiledInCatalogue) {
  const Outcome o = RunProgram("dmc 310");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.rfind("DMC\t310\t#000000\n", 0), 0u) << o.out;
  EXPECT_EQ(o.err, "");
}

TEST(ConvertProgram, ExitsNonZeroWithAMessage) {
  const Outcome notFound = RunProgram("dmc 5270");
  EXPECT_EQ(notFound.status, kNotFound);
  EXPECT_EQ(notFound.err, "Такого цвета нет в палитре\n");
  const Outcome broken = RunProgram("'\xff' ''");
  EXPECT_EQ(broken.status, kUsageError);
  EXPECT_EQ(RunProgram("").status, kUsageError);
}

}  // namespace
}  // namespace talmeko::convert
