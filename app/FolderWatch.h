#pragma once
// Tells when the names in one folder have changed, a burst of changes at most once
// per interval. Nothing runs while the folder is quiet: the first change of a burst
// starts a single-shot timer, and the folder is re-read when it fires.

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <string>

class QSocketNotifier;

namespace karvel {

class FolderWatch : public QObject {
    Q_OBJECT
  public:
    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches `folder` instead of any folder before; the watch on the same folder
    // goes on, a change already seen included. A folder the system will not watch
    // is simply not watched.
    void Watch(const std::string& folder);
    // No more changes, and none that was waiting.
    void Stop();

    bool Watching() const { return fd_ >= 0; }
    // A change came in and its timer runs.
    bool Pending() const { return burst_.isActive(); }
    void SetInterval(std::chrono::milliseconds interval) { burst_.setInterval(interval); }

  signals:
    // The folder's names changed; no more often than once per interval.
    void changed();

  private:
    void ReadEvents();

    std::string folder_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer burst_;
};

}  // namespace karvel
