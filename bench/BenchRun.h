#pragma once
// What the run benchmarks share: a host that answers as batch mode with --yes does, and
// batch mode's request for a bench folder.

#include "bench/BenchFolder.h"
#include "cli/BatchRun.h"
#include "rename/RunHost.h"

namespace karvel::bench {

// Answers every question yes and shows nothing.
class SilentHost final : public RunHost {
  public:
    RunAnswer ShowMessage(RunIcon icon, const std::string&) override {
        return icon == RunIcon::Question ? RunAnswer::Yes : RunAnswer::Ok;
    }
    void SetBusy(bool) override {}
    void RowSelected(std::size_t) override {}
    void Progress(std::size_t, std::size_t) override {}
    void ProcessEvents() override {}
    bool StopRequested() override { return false; }
    void BringToFront() override {}
};

// Every file of `files` renamed to yymmdd_NNNNN from 1, without questions.
inline BatchRequest BatchRequestFor(const BenchFolder& files) {
    BatchRequest request;
    request.date = CalendarDate{2024, 3, 5};
    request.pattern = "yymmdd";
    request.digits = "5";
    request.start = "1";
    request.assumeYes = true;
    request.files = files.Paths();
    return request;
}

}  // namespace karvel::bench
