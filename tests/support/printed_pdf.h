#pragma once
// Printing tests look at what really comes out: the PDF that the private CUPS
// scheduler's cups-pdf queue writes (tests/support/private_cups.sh, started by
// the test command as a fixture), or the file of the built-in PDF printer.
//
// UsePrivateCups() must run before anything asks CUPS for printers: the CUPS
// library reads CUPS_SERVER once.

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace talmeko::testing {

struct PrivateCups {
  std::string dir;
  std::string server;      // the CUPS_SERVER value
  std::string queue;       // the cups-pdf queue, the scheduler's default printer
  std::string skipReason;  // set where the CUPS packages are missing
  std::filesystem::path OutputFolder() const { return std::filesystem::path(dir) / "out"; }
};

inline std::string FirstLineOf(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// The scheduler that private_cups.sh started in the given folder (the test
// target's TALMEKO_CUPS_DIR), with CUPS_SERVER set to it.
inline const PrivateCups& UsePrivateCups(const std::string& dir = TALMEKO_CUPS_DIR) {
  static const PrivateCups cups = [&dir] {
    PrivateCups c;
    c.dir = dir;
    const std::filesystem::path root(dir);
    if (std::filesystem::exists(root / "skipped")) {
      c.skipReason = FirstLineOf(root / "skipped");
      return c;
    }
    if (!std::filesystem::exists(root / "server")) {
      c.skipReason = "no private CUPS scheduler in " + dir + ": run the test through ctest, which starts one";
      return c;
    }
    c.server = FirstLineOf(root / "server");
    c.queue = FirstLineOf(root / "queue");
    setenv("CUPS_SERVER", c.server.c_str(), 1);
    return c;
  }();
  return cups;
}

inline int LastJobId(const std::string& queue) {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs(&jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
  int last = 0;
  for (int i = 0; i < count; ++i) last = jobs[i].id > last ? jobs[i].id : last;
  cupsFreeJobs(count, jobs);
  return last;
}

struct FinishedJob {
  int id = 0;
  std::string title;
  std::filesystem::path pdf;
};

// Waits, at most the timeout, for a job newer than afterJob and of the given
// title to complete, and for its PDF (cups-pdf names it after the job number)
// to be in the output folder. The title tells a test's job from those of
// tests printing to the same queue at the same time.
inline std::optional<FinishedJob> WaitForPrintedPdf(const PrivateCups& cups, int afterJob, const std::string& title,
                                                    std::chrono::seconds timeout = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs(&jobs, cups.queue.c_str(), 0, CUPS_WHICHJOBS_COMPLETED);
    std::optional<FinishedJob> job;
    for (int i = 0; i < count; ++i) {
      if (jobs[i].id > afterJob && jobs[i].state == IPP_JSTATE_COMPLETED && title == jobs[i].title) {
        job = FinishedJob{jobs[i].id, jobs[i].title, {}};
      }
    }
    cupsFreeJobs(count, jobs);
    if (job && std::filesystem::exists(cups.OutputFolder())) {
      const std::string suffix = "job_" + std::to_string(job->id) + ".pdf";
      for (const auto& entry : std::filesystem::directory_iterator(cups.OutputFolder())) {
        const std::string name = entry.path().filename().string();
        if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
          job->pdf = entry.path();
          return job;
        }
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return std::nullopt;
}

inline std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

struct PdfInfo {
  int pages = 0;
  double widthPt = 0;
  double heightPt = 0;
  std::string title;
};

// What pdfinfo says of the file: page count, the first page's size in points and the title.
inline PdfInfo ReadPdfInfo(const std::filesystem::path& pdf) {
  PdfInfo info;
  std::istringstream lines(CommandOutput("pdfinfo '" + pdf.string() + "' 2>/dev/null"));
  for (std::string line; std::getline(lines, line);) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string key = line.substr(0, colon);
    const auto start = line.find_first_not_of(' ', colon + 1);
    const std::string value = start == std::string::npos ? "" : line.substr(start);
    if (key == "Pages") info.pages = std::stoi(value);
    if (key == "Page size") std::sscanf(value.c_str(), "%lf x %lf", &info.widthPt, &info.heightPt);
    if (key == "Title") info.title = value;
  }
  return info;
}

// The text of the whole file, or of one page counted from 1.
inline std::string PdfText(const std::filesystem::path& pdf, int page = 0) {
  const std::string pages = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
  return CommandOutput("pdftotext -layout" + pages + " '" + pdf.string() + "' - 2>/dev/null");
}

}  // namespace talmeko::testing
