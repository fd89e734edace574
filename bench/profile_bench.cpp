// The settings file and colour set files at the largest size they are read
// at, 16 MB, filled with the contents that cost the most per byte: endless
// blank lines of each kind, tiny key and section lines, one long line,
// random bytes and UTF-16. Each benchmark does what the program does with
// such a file, and reports the time and the peak of memory in use.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/colour_set_file.h"
#include "counting_allocator.h"
#include "platform/profile.h"

namespace talmeko::platform {
namespace {

constexpr std::size_t kSize = kLargestReadableFile;

enum Content { kLfLines, kCrLfLines, kCrLines, kEmptyKeys, kOpenBrackets, kCloseBrackets, kSections, kKeys, kItems, kOneLine, kRandom, kUtf16 };
const char* const kNames[] = {"lf_lines", "crlf_lines", "cr_lines", "empty_keys", "open_brackets", "close_brackets", "sections",
                              "keys",     "items",      "one_line", "random",     "utf16"};

std::string Repeat(std::string head, std::string_view unit) {
  while (head.size() + unit.size() <= kSize) head.append(unit);
  return head;
}

// The file, behind the section line the program reads, so every line of it
// lies in the section searched.
std::string Make(Content content, std::string_view section) {
  const std::string head = "[" + std::string(section) + "]\r\nCount=2147483647\r\n";
  switch (content) {
    case kLfLines: return Repeat(head, "\n");
    case kCrLfLines: return Repeat(head, "\r\n");
    case kCrLines: return Repeat(head, "\r");
    case kEmptyKeys: return Repeat(head, "=\n");
    case kOpenBrackets: return Repeat(head, "[\n");
    case kCloseBrackets: return Repeat(head, "]\n");
    case kSections: return Repeat(head, "[]\n");
    case kKeys: return Repeat(head, "a=\n");
    case kItems: {
      std::string file = head;
      for (long i = 0; file.size() + 24 <= kSize; ++i) file.append("c").append(std::to_string(i)).append("=310 (dmc)\n");
      return file;
    }
    case kOneLine: return head + "k=" + std::string(kSize - head.size() - 2, 'v');
    case kRandom: {
      std::mt19937 random(17);
      std::string file = head;
      while (file.size() < kSize) file.push_back(static_cast<char>(random()));
      return file;
    }
    case kUtf16: {
      std::string file = "\xFF\xFE";
      for (const char c : Repeat(head, "a=1\r\n").substr(0, kSize / 2 - 1)) file.append({c, '\0'});
      return file;
    }
  }
  return head;
}

class File {
 public:
  File(Content content, std::string_view section)
      : path_(std::filesystem::temp_directory_path() / ("talmeko-profile-bench-" + std::to_string(::getpid()))) {
    bytes_ = Make(content, section);
    Restore();
  }
  ~File() { std::filesystem::remove(path_); }
  void Restore() const { std::ofstream(path_, std::ios::binary) << bytes_; }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
  std::string bytes_;
};

template <typename Work>
void Measure(benchmark::State& state, const File& file, Work&& work) {
  long long peak = 0;
  for (auto _ : state) {
    bench::gPeak = bench::gLive;
    const long long base = bench::gLive;
    work();
    peak = std::max(peak, bench::gPeak - base);
    state.PauseTiming();
    file.Restore();
    state.ResumeTiming();
  }
  state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
}

// The start-up: the four switches read, then written back.
void BM_SettingsStart(benchmark::State& state) {
  const File file(static_cast<Content>(state.range(0)), "palette");
  state.SetLabel(kNames[state.range(0)]);
  Measure(state, file, [&] {
    {
      ProfileDocument document;
      document.Load(file.Path());
      benchmark::DoNotOptimize(document.ReadStrings("palette", {"gamma", "anchor", "madeira", "kirov"}));
    }
    ProfileDocument again;
    if (!again.Load(file.Path())) return;
    again.WriteStrings("palette", {{"gamma", "0"}, {"anchor", "0"}, {"madeira", "0"}, {"kirov", "0"}});
    again.Save(file.Path());
  });
}
BENCHMARK(BM_SettingsStart)->DenseRange(kLfLines, kUtf16)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening a colour set: the file read, Count taken, the items picked out.
void BM_LoadColourSet(benchmark::State& state) {
  const File file(static_cast<Content>(state.range(0)), "Mouline");
  state.SetLabel(kNames[state.range(0)]);
  std::size_t items = 0;
  Measure(state, file, [&] {
    ProfileDocument document;
    document.Load(file.Path());
    items = app::ColourSetItems(document, document.ReadInteger("Mouline", "Count", 0)).size();
  });
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_LoadColourSet)->DenseRange(kLfLines, kUtf16)->Unit(benchmark::kMillisecond)->Iterations(3);

// Saving a list of 500 colours over such a file.
void BM_SaveColourSet(benchmark::State& state) {
  const File file(static_cast<Content>(state.range(0)), "Mouline");
  state.SetLabel(kNames[state.range(0)]);
  const std::vector<std::string> list(500, "310 (dmc)");
  Measure(state, file, [&] {
    ProfileDocument document;
    if (document.Load(file.Path()) && app::WriteColourSet(document, list)) document.Save(file.Path());
  });
}
BENCHMARK(BM_SaveColourSet)->DenseRange(kLfLines, kUtf16)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace talmeko::platform
