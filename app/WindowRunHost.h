#pragma once
// The rename run's host in the window: messages through the message seam, the busy
// pointer and the lock, and the selection and progress shown at the screen's rate
// rather than after every file.

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <optional>

#include "rename/RunHost.h"

namespace karvel {

struct WindowControls;

class WindowRunHost final : public RunHost {
  public:
    // `stopRequested` tells whether the window has asked the run to stop.
    WindowRunHost(QWidget& window, const WindowControls& controls,
                  std::function<bool()> stopRequested)
        : window_(window), controls_(controls), stopRequested_(std::move(stopRequested)) {}
    ~WindowRunHost() override;
    WindowRunHost(const WindowRunHost&) = delete;
    WindowRunHost& operator=(const WindowRunHost&) = delete;

    RunAnswer ShowMessage(RunIcon icon, const std::string& text) override;
    void SetBusy(bool busy) override;
    void RowSelected(std::size_t row) override;
    void Progress(std::size_t done, std::size_t total) override;
    void ProcessEvents() override;
    bool StopRequested() override;
    void BringToFront() override;

  private:
    // Puts the latest selection and progress on the screen.
    void Show();

    QWidget& window_;
    const WindowControls& controls_;
    std::function<bool()> stopRequested_;
    bool busy_ = false;
    QElapsedTimer sinceShown_;
    std::optional<std::size_t> selectedRow_;
    std::size_t done_ = 0;
    std::size_t total_ = 0;
};

}  // namespace karvel
