#pragma once
// A printer spooler for tests. It writes every call that changes something as
// one text line (Log joins them), answers capabilities from its metrics, and gives
// each context a RecordingCanvas. Lines:
//   CreateIC Fake devmode 4 -> 1     device name, size of the device-mode block, new handle
//   CreateDC Fake devmode 4 -> 2
//   DeleteDC 1
//   SetAbortProc 2
//   StartDoc 2 'name'                the document name as given (Windows-1251 bytes)
//   StartPage 2 | EndDoc 2 | AbortDoc 2
//   EndPage 2 continue               EndPage asks the abort procedure, like a real spooler;
//   EndPage 2 cancel                 without one registered the line has no answer
// Failure switches: no printers, no handle from CreateIC or CreateDC, and
// canvases whose drawing calls throw.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/printer_spooler.h"
#include "support/fake_canvas.h"

namespace talmeko::testing {

class FakeSpooler : public platform::PrinterSpooler {
 public:
  // A context's surface; drawing throws while the spooler's switch says so.
  class DeviceCanvas : public RecordingCanvas {
   public:
    explicit DeviceCanvas(const bool& failDrawing) : failDrawing_(failDrawing) {}
    void DrawText(int x, int y, std::u16string_view text, platform::Color color,
                  platform::Color background = platform::kNoColor) override {
      Check();
      RecordingCanvas::DrawText(x, y, text, color, background);
    }
    void FillRect(const platform::Rect& rect, platform::Color color) override {
      Check();
      RecordingCanvas::FillRect(rect, color);
    }

   private:
    void Check() const {
      if (failDrawing_) throw std::runtime_error("canvas failed");
    }
    const bool& failDrawing_;
  };

  platform::SheetMetrics metrics{100, 120, 4960, 7016, 4760, 6776, 600, 600};
  std::vector<std::string> printers{"Fake"};
  std::vector<unsigned char> deviceMode{1, 2, 3, 4};
  bool failCreateIC = false;
  bool failCreateDC = false;
  bool failDrawing = false;

  const std::vector<std::string>& Calls() const { return calls_; }
  std::string Log() const {
    std::string out;
    for (const std::string& c : calls_) out += c + "\n";
    return out;
  }
  void ClearLog() { calls_.clear(); }
  // Jobs started and neither ended nor aborted.
  int OpenJobs() const { return openJobs_; }
  // Contexts created and not deleted (the spooler's own query handle aside).
  int LiveContexts() const { return static_cast<int>(canvases_.size()); }
  DeviceCanvas* CanvasFor(platform::PrinterHandle h) {
    auto it = canvases_.find(h);
    return it != canvases_.end() ? it->second.get() : nullptr;
  }

  std::vector<std::string> InstalledPrinters() override { return printers; }
  platform::SelectedPrinter Selected() override {
    return {printers.empty() ? "" : printers.front(), "fakedrv", "FAKE:", deviceMode};
  }
  platform::PrinterHandle QueryHandle() override { return printers.empty() ? platform::kNoPrinterHandle : kQuery; }

  platform::PrinterHandle CreateIC(const platform::SelectedPrinter& p) override { return Create("CreateIC", p, failCreateIC); }
  platform::PrinterHandle CreateDC(const platform::SelectedPrinter& p) override { return Create("CreateDC", p, failCreateDC); }
  void DeleteDC(platform::PrinterHandle h) override {
    calls_.push_back("DeleteDC " + std::to_string(h));
    canvases_.erase(h);
  }

  int GetDeviceCaps(platform::PrinterHandle, platform::DeviceCap cap) override { return DeviceCapOf(metrics, cap); }
  platform::Canvas* CanvasOf(platform::PrinterHandle h) override { return CanvasFor(h); }

  int SetAbortProc(platform::PrinterHandle dc, platform::AbortProc proc) override {
    abortProc_ = proc;
    return Note("SetAbortProc", dc);
  }
  int StartDoc(platform::PrinterHandle dc, const platform::DocInfo& info) override {
    ++openJobs_;
    calls_.push_back("StartDoc " + std::to_string(dc) + " '" + info.docName + "'");
    return 1;
  }
  int StartPage(platform::PrinterHandle dc) override { return Note("StartPage", dc); }
  int EndPage(platform::PrinterHandle dc) override {
    std::string line = "EndPage " + std::to_string(dc);
    if (abortProc_) line += abortProc_(dc, 0) ? " continue" : " cancel";
    calls_.push_back(line);
    return 1;
  }
  int EndDoc(platform::PrinterHandle dc) override {
    --openJobs_;
    return Note("EndDoc", dc);
  }
  int AbortDoc(platform::PrinterHandle dc) override {
    --openJobs_;
    return Note("AbortDoc", dc);
  }

 private:
  static constexpr platform::PrinterHandle kQuery = 99;

  platform::PrinterHandle Create(const char* what, const platform::SelectedPrinter& p, bool fail) {
    const platform::PrinterHandle h = fail ? platform::kNoPrinterHandle : nextHandle_++;
    calls_.push_back(std::string(what) + " " + p.device + " devmode " + std::to_string(p.deviceMode.size()) + " -> " +
                     std::to_string(h));
    if (h != platform::kNoPrinterHandle) canvases_[h] = std::make_unique<DeviceCanvas>(failDrawing);
    return h;
  }
  int Note(const char* what, platform::PrinterHandle dc) {
    calls_.push_back(std::string(what) + " " + std::to_string(dc));
    return 1;
  }

  std::vector<std::string> calls_;
  std::map<platform::PrinterHandle, std::unique_ptr<DeviceCanvas>> canvases_;
  platform::PrinterHandle nextHandle_ = 1;
  platform::AbortProc abortProc_ = nullptr;
  int openJobs_ = 0;
};

}  // namespace talmeko::testing
