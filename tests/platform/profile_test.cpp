#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
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

// A file as Notepad saves it when asked for "Unicode": UTF-16LE behind its mark.
std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

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
      {"UTF-8 mark before the first section", "\xEF\xBB\xBF[palette]\r\ngamma=0\r\n", "palette", "gamma", "0"},
      {"UTF-16LE read as Windows-1251", Utf16File(u"[\u041F]\r\nk=\u0413\u0430\u043C\u043C\u0430 \u4E2D\r\n"), "\xCF",
       "k", "\xC3\xE0\xEC\xEC\xE0 ?"},
      {"double quotes removed", "[palette]\r\ngamma=\"0\"\r\n", "palette", "gamma", "0"},
      {"single quotes removed, blanks inside kept", "[s]\r\nk = ' a ' \r\n", "s", "k", " a "},
      {"unmatched quotes kept", "[s]\r\nk=\"a'\r\n", "s", "k", "\"a'"},
      {"a lone quote kept", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"section line without ']' is no header", "[palette]\r\n[other\r\ngamma=0\r\n", "palette", "gamma", "0"},
      {"section name ends at the last ']'", "[palette]]\r\ngamma=0\r\n", "palette]", "gamma", "0"},
      {"doubled ']' is another section", "[palette]]\r\ngamma=0\r\n", "palette", "gamma", "dflt"},
      {"NUL ends the value", std::string("[s]\r\nk=ab\0cd\r\n", 14), "s", "k", "ab"},
      {"NUL before the header", std::string("\0[s]\r\nk=1\r\n", 12), "s", "k", "dflt"},
      {"']' on lines before the header", "a]b\r\n]\r\n[s]\r\nk=1\r\n", "s", "k", "1"},
      {"']' in a value does not end the section", "[s]\r\nx=]\r\n k ] \r\nk=2\r\n", "s", "k", "2"},
      {"the next header ends the section", "[s]\r\nx=]\r\n[t]]\r\nk=2\r\n", "s", "k", "dflt"},
      {"header after text and a NUL", std::string("x\0[s]\r\nk=1\r\n", 13), "s", "k", "dflt"},
      {"']' after a NUL closes nothing", std::string("[s\0]\r\nk=1\r\n", 12), "s", "k", "dflt"},
      {"header after a long run of ']'", std::string(5000, ']') + "\r[s]\rk=1", "s", "k", "1"},
      {"Ctrl-Z, VT and FF trimmed", "\x0C[ s\x0B]\x1A\r\n\x1Ak\x0B=\x0C 1\x1A\r\n\x1A", "s", "k", "1"},
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
      {"UTF-8 mark kept", "\xEF\xBB\xBF[a]\r\nx=1\r\n", "a", "x", "2", "\xEF\xBB\xBF[a]\r\nx=2\r\n"},
      {"UTF-16 kept, other characters byte for byte", Utf16File(u"[a]\r\nx=\U0001F600\u4E2D\r\nz=1"), "a", "y",
       "\xC3", Utf16File(u"[a]\r\nx=\U0001F600\u4E2D\r\nz=1\r\ny=\u0413\r\n")},
      {"UTF-16 key replaced where it stands", Utf16File(u"; \u4E2D\r\n[a]\r\nx=1\r\nz=\u4E2D\r\n"), "a", "x", "2",
       Utf16File(u"; \u4E2D\r\n[a]\r\nx=2\r\nz=\u4E2D\r\n")},
      {"UTF-16 odd last byte kept last", Utf16File(u"[a]\r\n") + "\x01", "b", "y", "2",
       Utf16File(u"[a]\r\n[b]\r\ny=2\r\n") + "\x01"},
      {"key after an unended section line", "[a]", "a", "y", "2", "[a]\r\ny=2\r\n"},
      {"replaced unended last key ends once", "[a]\r\nx=1", "a", "x", "2", "[a]\r\nx=2\r\n"},
      {"unclosed bracket line is kept as text", "[a]\r\n[b\r\n", "b", "y", "2", "[a]\r\n[b\r\n[b]\r\ny=2\r\n"},
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

// Each of these would once block the program, exhaust its memory or lose a
// file; now each is refused with its reason, before anything is read.
TEST_F(ProfileFiles, OnlyRegularFilesOfSensibleSizeAreRead) {
  const auto sized = [this](const std::string& name, off_t size) {
    Put("", name);
    ASSERT_EQ(::truncate(Path(name).c_str(), size), 0);
  };
  const struct {
    const char* name;
    std::function<void()> make;
    int error;
  } cases[] = {
      {"directory", [&] { fs::create_directory(Path()); }, EISDIR},
      {"FIFO", [&] { ASSERT_EQ(::mkfifo(Path().c_str(), 0600), 0); }, ENODEV},
      {"link to a device", [&] { fs::create_symlink("/dev/zero", Path()); }, ENODEV},
      {"link loop", [&] { fs::create_symlink("test.ini", Path()); }, ELOOP},
      {"dangling link", [&] { fs::create_symlink("absent.ini", Path()); }, ENOENT},
      {"1 GB sparse file", [&] { sized("test.ini", off_t{1} << 30); }, EFBIG},
      {"one byte over 16 MB", [&] { sized("test.ini", (off_t{16} << 20) + 1); }, EFBIG},
      {"exactly 16 MB", [&] { Put("[s]\r\nk=1\r\n" + std::string((16 << 20) - 11, '\n')); }, 0},
  };
  for (const auto& c : cases) {
    fs::remove_all(Path());
    c.make();
    ProfileDocument document;
    const ProfileResult loaded = document.Load(Path());
    EXPECT_EQ(loaded.error, c.error) << c.name;
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", Path()), c.error == 0 ? "1" : "dflt") << c.name;
    if (c.error == 0) continue;
    EXPECT_EQ(loaded.stage, FileStage::reading) << c.name;
    EXPECT_FALSE(loaded.reason.empty()) << c.name;
    const fs::file_status before = fs::symlink_status(Path());
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "2", Path())) << c.name;
    EXPECT_EQ(fs::symlink_status(Path()).type(), before.type()) << c.name << " must be left as it was";
  }
}

TEST_F(ProfileFiles, SavingFollowsLinksAndKeepsEveryName) {
  Put("[s]\r\nk=1\r\n", "target.ini");
  fs::create_directory(dir_ / "sub");
  fs::create_symlink("../target.ini", dir_ / "sub" / "relative.ini");
  fs::create_symlink(dir_ / "sub" / "relative.ini", Path("chain.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "2", Path("chain.ini")));
  EXPECT_EQ(Get("target.ini"), "[s]\r\nk=2\r\n");
  EXPECT_TRUE(fs::is_symlink(Path("chain.ini")));
  EXPECT_TRUE(fs::is_symlink(dir_ / "sub" / "relative.ini"));

  fs::create_hard_link(Path("target.ini"), Path("second.ini"));
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "3", Path("second.ini")));
  EXPECT_EQ(Get("target.ini"), "[s]\r\nk=3\r\n");
  EXPECT_EQ(fs::hard_link_count(Path("target.ini")), 2u);
  EXPECT_EQ(FileCount(), 4u) << "no temporary file may stay behind";
}

// Read-only as the attribute is elsewhere: even the administrator's save
// leaves such a file alone.
TEST_F(ProfileFiles, ReadOnlyFileIsNotReplaced) {
  Put("[s]\r\nk=1\r\n");
  ::chmod(Path().c_str(), 0444);
  const ProfileResult result = WritePrivateProfileStringA("s", "k", "2", Path());
  EXPECT_FALSE(result);
  EXPECT_EQ(result.error, EACCES);
  EXPECT_EQ(result.stage, FileStage::writing);
  EXPECT_EQ(Get(), "[s]\r\nk=1\r\n");
}

// The administrator reads and writes whatever the modes say, so these run
// as an ordinary user; the test command does that in CI.
TEST_F(ProfileFiles, PermissionsOfAnOrdinaryUser) {
  if (::geteuid() == 0) GTEST_SKIP() << "the administrator is not bound by file modes";
  Put("[s]\r\nk=1\r\n");
  struct stat before{};
  ::stat(Path().c_str(), &before);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "2", Path())) << "the file itself is writable";
  EXPECT_EQ(Get(), "[s]\r\nk=2\r\n");
  struct stat after{};
  ::stat(Path().c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino) << "rewritten in place";
  const ProfileResult created = WritePrivateProfileStringA("s", "k", "1", Path("new.ini"));
  EXPECT_EQ(created.error, EACCES);
  EXPECT_FALSE(fs::exists(Path("new.ini")));

  fs::permissions(dir_, fs::perms::owner_all);
  ::chmod(Path().c_str(), 0200);
  const ProfileResult unreadable = WritePrivateProfileStringA("s", "k", "3", Path());
  EXPECT_EQ(unreadable.error, EACCES);
  EXPECT_EQ(unreadable.stage, FileStage::reading);
  ::chmod(Path().c_str(), 0600);
  EXPECT_EQ(Get(), "[s]\r\nk=2\r\n");
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

TEST(ProfileDocumentEntries, VisitsTheKeysOfTheFirstMatchingSectionInOrder) {
  ProfileDocument document;
  document.Parse("[m]\r\nb = '2'\r\nnoise\r\n a=1\r\n[M]\r\nc=3\r\n");
  std::vector<std::string> seen;
  document.VisitEntries("M", [&](const ProfileEntry& e) { seen.push_back(std::string(e.key) + ":" + std::string(e.value)); });
  EXPECT_EQ(seen, (std::vector<std::string>{"b:2", "a:1"}));
  document.VisitEntries("absent", [&](const ProfileEntry&) { ADD_FAILURE(); });
}

// Several keys in one pass give exactly the bytes of writing them one by one.
TEST(ProfileDocumentWrite, ManyKeysInOnePassEqualOneAfterAnother) {
  const std::string documents[] = {
      "", "[a]\r\nx=1", "[a]\r\n\r\n[b]\r\ny=1\r\n", "[A]\nY=0\nx=0\r\n\r\n", "[b]\r\n[a]", "x=1\r\n[a]\r\nnote\r\n",
      Utf16File(u"[a]\r\nx=\u4E2D\r\n"),
  };
  const std::vector<ProfileWrite> writes = {{"x", "2"}, {"y", "3"}, {"X", "4"}, {"z", "5"}};
  for (const std::string& before : documents) {
    ProfileDocument oneByOne;
    oneByOne.Parse(before);
    for (const ProfileWrite& w : writes) ASSERT_TRUE(oneByOne.WriteString("a", w.key, w.value));
    ProfileDocument batch;
    batch.Parse(before);
    ASSERT_TRUE(batch.WriteStrings("a", writes));
    EXPECT_EQ(batch.Bytes(), oneByOne.Bytes()) << before;
    EXPECT_EQ(batch.ReadString("a", "x", ""), "4") << before;
  }
}

TEST(ExecutableDirectory, IsTheDirectoryOfThisTestWithItsSeparator) {
  const std::string directory = ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '/');
  EXPECT_EQ(directory, fs::canonical("/proc/self/exe").parent_path().string() + "/");
}

}  // namespace
}  // namespace talmeko::platform
