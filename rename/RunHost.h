#pragma once
// What the rename run needs of the window (or of a console, in batch mode).

#include <cstddef>
#include <string>

namespace karvel {

// WarningQuestion: a warning that asks Yes or No, No the default.
enum class RunIcon { Warning, Question, Error, Information, WarningQuestion };
enum class RunAnswer { Ok, Yes, No };

class RunHost {
  public:
    virtual ~RunHost() = default;

    // A modal message: a question offers Yes and No (Yes the default), the rest OK.
    // Line breaks inside `text` are a lone CR or CR LF.
    virtual RunAnswer ShowMessage(RunIcon icon, const std::string& text) = 0;
    // The arrow with hourglass on or off.
    virtual void SetBusy(bool busy) = 0;
    // Row `row` (from 0) became the selected one; the rows' flags are already set.
    virtual void RowSelected(std::size_t row) = 0;
    // `done` of `total` files are through.
    virtual void Progress(std::size_t done, std::size_t total) = 0;
    // One pass of the event loop.
    virtual void ProcessEvents() = 0;
    // Asked after each file: true stops the run there, without a message.
    virtual bool StopRequested() = 0;
    // Brings the window to the front and activates it.
    virtual void BringToFront() = 0;
};

// The busy pointer for as long as this object lives.
class HostBusyPointer {
  public:
    explicit HostBusyPointer(RunHost& host) : host_(host) { host_.SetBusy(true); }
    ~HostBusyPointer() { host_.SetBusy(false); }
    HostBusyPointer(const HostBusyPointer&) = delete;
    HostBusyPointer& operator=(const HostBusyPointer&) = delete;

  private:
    RunHost& host_;
};

}  // namespace karvel
