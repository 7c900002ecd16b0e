#include "app/FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace karvel {

namespace {

// Names coming and going; a file's content or attributes do not change what the
// preview sees. The folder itself moving or going counts as a change too.
constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                      IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

constexpr std::chrono::milliseconds kBurstInterval{200};

}  // namespace

FolderWatch::FolderWatch(QObject* parent) : QObject(parent) {
    burst_.setSingleShot(true);
    burst_.setInterval(kBurstInterval);
    connect(&burst_, &QTimer::timeout, this, &FolderWatch::changed);
}

FolderWatch::~FolderWatch() {
    Stop();
}

void FolderWatch::Watch(const std::string& folder) {
    if (Watching() && folder == folder_) return;
    Stop();
    // One descriptor per folder: events of the folder before cannot come in late.
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return;
    if (::inotify_add_watch(fd, folder.c_str(), kNameEvents) < 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    folder_ = folder;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &FolderWatch::ReadEvents);
}

void FolderWatch::Stop() {
    burst_.stop();
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void FolderWatch::ReadEvents() {
    // Only that something changed matters, not what: drain the queue unread.
    alignas(inotify_event) char buffer[16 * 1024];
    bool any = false;
    while (::read(fd_, buffer, sizeof buffer) > 0) any = true;
    if (any && !burst_.isActive()) burst_.start();
}

}  // namespace karvel
