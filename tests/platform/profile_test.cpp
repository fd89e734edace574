#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/executable_path.h"

namespace talmeko::platform {
namespace {

namespace fs = std::filesystem;

class ProfileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("talmeko-profile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string Path(const std::string& name = "test.ini") const { return (dir_ / name).string(); }
  void Put(const std::string& bytes, const std::string& name = "test.ini") const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name = "test.ini") const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t FileCount() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

struct ReadCase {
  const char* name;
  std::string file;
  const char* section;
  const char* key;
  std::string expected;
};

TEST_F(ProfileFiles, ReadsOneKeyWithDefault) {
  const std::string longValue(3000, 'x');
  const ReadCase cases[] = {
      {"plain", "[palette]\r\ngamma=1\r\n", "palette", "gamma", "1"},
      {"section in other case", "[PaLeTTe]\r\ngamma=1\r\n", "palette", "gamma", "1"},
      {"key in other case", "[palette]\r\nGAMMA=1\r\n", "palette", "gamma", "1"},
      {"Cyrillic names fold", "[\xCF\xE0\xEB\xE8\xF2\xF0\xE0]\r\n\xCA\xEB\xFE\xF7=v\r\n", "\xEF\xE0\xEB\xE8\xF2\xF0\xE0",
       "\xEA\xEB\xFE\xF7", "v"},
      {"blanks around value and key", "[palette]\r\n \t gamma \t=  \t 7 x \t \r\n", "palette", "gamma", "7 x"},
      {"blanks around section", "  [ palette ]  \r\ngamma=1\r\n", "palette", "gamma", "1"},
      {"missing section", "[other]\r\ngamma=1\r\n", "palette", "gamma", "dflt"},
      {"missing key", "[palette]\r\nanchor=1\r\n", "palette", "gamma", "dflt"},
      {"key of a later section", "[palette]\r\nanchor=1\r\n[next]\r\ngamma=1\r\n", "palette", "gamma", "dflt"},
      {"key before any section", "gamma=1\r\n[palette]\r\n", "palette", "gamma", "dflt"},
      {"empty value is not the default", "[palette]\r\ngamma=\r\n", "palette", "gamma", ""},
      {"value holding '='", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"first of duplicate keys", "[s]\r\nk=first\r\nK=second\r\n", "s", "k", "first"},
      {"first of duplicate sections", "[s]\r\nk=first\r\n[S]\r\nk=second\r\n", "s", "k", "first"},
      {"LF line ends", "[s]\nk=lf\nj=2\n", "s", "k", "lf"},
      {"CR line ends", "[s]\rk=cr\rj=2\r", "s", "k", "cr"},
      {"no final line end", "[s]\r\nk=last", "s", "k", "last"},
      {"binary bytes elsewhere", std::string("\x01\xFF\0garbage\r\n[s]\r\nk=\x80\x81", 21), "s", "k", "\x80\x81"},
      {"cut to 2047", "[s]\r\nk=" + longValue + "\r\n", "s", "k", std::string(2047, 'x')},
      {"line without '=' is no key", "[s]\r\nk\r\n", "s", "k", "dflt"},
  };
  for (const ReadCase& c : cases) {
    Put(c.file);
    EXPECT_EQ(GetPrivateProfileStringA(c.section, c.key, "dflt", Path()), c.expected) << c.name;
  }
}

TEST_F(ProfileFiles, MissingOrUnreadableFileGivesDefault) {
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", Path("absent.ini")), "dflt");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", dir_.string()), "dflt");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", std::string(5000, 'd'), Path("absent.ini")), std::string(2047, 'd'));
}

TEST(ProfileInteger, ParsesDecimalAndHexadecimalOnly) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  } const cases[] = {
      {"0", true, 0},
      {"1", true, 1},
      {"-1", true, -1},
      {"+5", true, 5},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
      {"$1F", true, 31},
      {"$ff", true, 255},
      {"0x10", true, 16},
      {"0X7fffffff", true, 2147483647},
      {"0x80000000", false, 0},
      {"-$10", true, -16},
      {"$", false, 0},
      {"0x", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"yes", false, 0},
      {"1a", false, 0},
      {"1 2", false, 0},
      {"12abc", false, 0},
      {"0xG", false, 0},
  };
  for (const Case& c : cases) {
    int value = 12345;
    EXPECT_EQ(ParseProfileInteger(c.text, value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text;
  }
}

TEST(ProfileDocumentRead, IntegersAndBooleansFallBackToTheDefault) {
  ProfileDocument document;
  document.Parse("[p]\r\nhex=$A\r\nneg=-1\r\ntwo=2\r\nzero=0\r\nyes=yes\r\nempty=\r\n");
  EXPECT_EQ(document.ReadInteger("p", "hex", 7), 10);
  EXPECT_EQ(document.ReadInteger("p", "yes", 7), 7);
  EXPECT_EQ(document.ReadInteger("p", "empty", 7), 7);
  EXPECT_EQ(document.ReadInteger("p", "missing", 7), 7);
  EXPECT_TRUE(document.ReadBool("p", "neg", false));
  EXPECT_TRUE(document.ReadBool("p", "two", false));
  EXPECT_FALSE(document.ReadBool("p", "zero", true));
  EXPECT_TRUE(document.ReadBool("p", "yes", true));
  EXPECT_FALSE(document.ReadBool("p", "empty", false));
}

struct WriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

TEST_F(ProfileFiles, WritesOneKeyKeepingEveryOtherLine) {
  const WriteCase cases[] = {
      {"into nothing", "", "palette", "gamma", "1", "[palette]\r\ngamma=1\r\n"},
      {"new section at the end", "[a]\r\nx=1\r\n", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"new section after an unended line", "[a]\r\nx=1", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
      {"new key at the end of its section", "[a]\r\nx=1\r\n\r\n[b]\r\nz=3\r\n", "a", "y", "2",
       "[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n"},
      {"new key into an empty section", "[a]\r\n[b]\r\n", "a", "y", "2", "[a]\r\ny=2\r\n[b]\r\n"},
      {"new key after an unended last line", "[a]\r\nx=1", "a", "y", "2", "[a]\r\nx=1\r\ny=2\r\n"},
      {"replaced where it stands", "; note\r\n[a]\r\nx=1\r\ny=old value\r\nz=3\r\n", "A", "Y", "new",
       "; note\r\n[a]\r\nx=1\r\nY=new\r\nz=3\r\n"},
      {"first duplicate replaced", "[a]\r\nk=1\r\nk=2\r\n", "a", "k", "9", "[a]\r\nk=9\r\nk=2\r\n"},
      {"other line ends and bytes kept", std::string("junk\x01\xFF\n[a]\rk=1\n\xE0\xE1\0z\r\n", 22), "a", "k", "2",
       std::string("junk\x01\xFF\n[a]\rk=2\r\n\xE0\xE1\0z\r\n", 23)},
      {"value kept with its blanks", "", "s", "k", " v ", "[s]\r\nk= v \r\n"},
      {"Windows-1251 value", "", "s", "k", "\xC3\xE0\xEC\xEC\xE0", "[s]\r\nk=\xC3\xE0\xEC\xEC\xE0\r\n"},
  };
  for (const WriteCase& c : cases) {
    Put(c.before);
    ASSERT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, Path())) << c.name;
    EXPECT_EQ(Get(), c.after) << c.name;
  }
  EXPECT_EQ(FileCount(), 1u) << "no temporary file may stay behind";
}

TEST_F(ProfileFiles, CreatesTheFileAndReadsBackWhatItWrote) {
  ASSERT_FALSE(fs::exists(Path()));
  ASSERT_TRUE(WritePrivateProfileStringA("palette", "gamma", "1", Path()));
  ASSERT_TRUE(WritePrivateProfileStringA("palette", "anchor", "0", Path()));
  EXPECT_EQ(Get(), "[palette]\r\ngamma=1\r\nanchor=0\r\n");
  EXPECT_EQ(GetPrivateProfileStringA("PALETTE", "Anchor", "x", Path()), "0");
}

TEST_F(ProfileFiles, RefusesWhatWouldBreakTheLines) {
  Put("[s]\r\nk=1\r\n");
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } refused[] = {{"s", "k", "a\r\nk=2"}, {"s", "k", "a\rb"}, {"s", "k=x", "1"},   {"s", "", "1"},
                 {"s", " ", "1"},        {"s]", "k", "1"},   {"s\n", "k", "1"}, {"s", "[k", "1"}};
  for (const auto& r : refused) {
    const ProfileResult result = WritePrivateProfileStringA(r.section, r.key, r.value, Path());
    EXPECT_FALSE(result) << r.section << "/" << r.key;
    EXPECT_FALSE(result.reason.empty());
  }
  EXPECT_EQ(Get(), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFiles, FailedWriteReportsTheReasonAndKeepsTheFile) {
  Put("not a directory");
  const ProfileResult result = WritePrivateProfileStringA("s", "k", "v", Path() + "/inner.ini");
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error, ENOTDIR);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(Get(), "not a directory");
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", Path("missing/dir.ini")));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(ProfileFiles, ReadOnlyDirectoryRefusesAndKeepsTheFile) {
  Put("[s]\r\nk=1\r\n");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(dir_.c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes to read-only directories";
  const ProfileResult result = WritePrivateProfileStringA("s", "k", "2", Path());
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error, EACCES);
  EXPECT_EQ(Get(), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFiles, ReplacementKeepsTheFileMode) {
  Put("[s]\r\nk=1\r\n");
  ::chmod(Path().c_str(), 0640);
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "2", Path()));
  struct stat st{};
  ASSERT_EQ(::stat(Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ProfileFiles, HugeValuesSurviveAWriteOfAnotherKey) {
  const std::string huge(10 * 1024 * 1024, 'v');
  Put("[s]\r\nbig=" + huge + "\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "1", Path()));
  EXPECT_EQ(Get(), "[s]\r\nbig=" + huge + "\r\nk=1\r\n");
  EXPECT_EQ(GetPrivateProfileStringA("s", "big", "", Path()).size(), 2047u);
}

TEST(ProfileDocumentEntries, ListsTheKeysOfTheFirstMatchingSectionInOrder) {
  ProfileDocument document;
  document.Parse("[m]\r\nb = 2\r\nnoise\r\n a=1\r\n[M]\r\nc=3\r\n");
  const std::vector<ProfileEntry> entries = document.Entries("M");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].key, "b");
  EXPECT_EQ(entries[0].value, "2");
  EXPECT_EQ(entries[1].key, "a");
  EXPECT_TRUE(document.Entries("absent").empty());
}

TEST(ExecutableDirectory, IsTheDirectoryOfThisTestWithItsSeparator) {
  const std::string directory = ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_EQ(directory, fs::canonical("/proc/self/exe").parent_path().string() + "/");
}

}  // namespace
}  // namespace talmeko::platform
