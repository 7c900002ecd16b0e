#pragma once
// The run's host on a terminal: messages to the error stream, the confirmation read
// from the input, and a stop asked for by SIGINT or SIGTERM.

#include <istream>
#include <ostream>
#include <string_view>

#include "rename/RunHost.h"

namespace karvel {

class ConsoleHost final : public RunHost {
  public:
    // With `assumeYes` the confirmation is shown and answered Yes without reading.
    ConsoleHost(std::istream& in, std::ostream& err, bool assumeYes)
        : in_(in), err_(err), assumeYes_(assumeYes) {}

    RunAnswer ShowMessage(RunIcon icon, const std::string& text) override;
    void SetBusy(bool) override {}
    void RowSelected(std::size_t) override {}
    void Progress(std::size_t, std::size_t) override {}
    void ProcessEvents() override {}
    bool StopRequested() override;
    void BringToFront() override {}

  private:
    std::istream& in_;
    std::ostream& err_;
    bool assumeYes_;
};

// From here on SIGINT and SIGTERM end the program at once, with that line: nothing has
// changed yet. Once a question to go ahead is answered Yes they only ask the run to stop
// after the current file.
void CatchStopSignals();

// A message's CR LF and lone CR as line breaks of a terminal.
std::string TerminalText(std::string_view text);

}  // namespace karvel
