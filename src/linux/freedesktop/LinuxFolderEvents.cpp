#include "linux/freedesktop/LinuxFolderEvents.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <vector>

#include "core/foundation/Paths.h"

namespace quillbern {

namespace {

constexpr std::uint32_t kFolderMask =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MOVE_SELF | IN_DELETE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
constexpr std::uint32_t kParentMask = IN_DELETE | IN_MOVED_FROM | IN_ONLYDIR;

std::string descriptorLink(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// The target of a link, however long: Linux paths may exceed any fixed buffer.
std::optional<std::string> readLink(const std::string& link) {
    std::vector<char> buffer(4096);
    while (true) {
        const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

class InotifyWatch final : public FolderWatch {
public:
    InotifyWatch(int folder, int inotify, std::function<void(std::uint32_t)> onChange)
        : folder_(folder),
          inotify_(inotify),
          onChange_(std::make_shared<std::function<void(std::uint32_t)>>(std::move(onChange))) {
        self_ = ::inotify_add_watch(inotify_, descriptorLink(folder_).c_str(), kFolderMask);
        if (const std::optional<Path> path = currentPath(); path && *path != "/") {
            name_ = lastPathComponent(*path);
            // Without it a deletion goes unseen; the watch still reports everything else.
            parent_ = ::inotify_add_watch(inotify_, parentPath(*path).c_str(), kParentMask);
        }
        notifier_ = new QSocketNotifier(inotify_, QSocketNotifier::Read);
        QObject::connect(notifier_, &QSocketNotifier::activated, [this] { readEvents(); });
    }

    ~InotifyWatch() override {
        notifier_->setEnabled(false);
        // It may be reporting right now: the watch can end inside its own callback.
        notifier_->deleteLater();
        ::close(inotify_);
        ::close(folder_);
    }

    bool isValid() const { return self_ >= 0; }

    std::optional<Path> currentPath() const override {
        if (isDeleted()) return std::nullopt;
        std::optional<std::string> path = readLink(descriptorLink(folder_));
        if (!path || !path->starts_with('/')) return std::nullopt;
        return normalizedPath(*path);
    }

private:
    bool isDeleted() const {
        struct stat facts;
        return ::fstat(folder_, &facts) != 0 || facts.st_nlink == 0;
    }

    void readEvents() {
        std::uint32_t changes = 0;
        bool parentLostName = false;
        alignas(inotify_event) char buffer[16384];
        while (true) {
            const ssize_t length = ::read(inotify_, buffer, sizeof buffer);
            if (length <= 0) break;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (event->mask & IN_Q_OVERFLOW) {
                    changes |= FolderChange::contentsChanged;
                } else if (event->wd == self_) {
                    if (event->mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
                        changes |= FolderChange::contentsChanged;
                    if (event->mask & IN_MOVE_SELF) changes |= FolderChange::renamed;
                    if (event->mask & (IN_DELETE_SELF | IN_UNMOUNT | IN_IGNORED)) changes |= FolderChange::deleted;
                } else if (event->wd == parent_ && event->len > 0 && name_ == event->name) {
                    parentLostName = true;
                }
            }
        }
        if (parentLostName || changes != 0) {
            if (isDeleted()) changes |= FolderChange::deleted;
        }
        if (changes == 0 || finished_) return;
        if (changes & (FolderChange::renamed | FolderChange::deleted)) {
            finished_ = true;
            notifier_->setEnabled(false);
        }
        // A copy: the callback may end this watch.
        const auto onChange = onChange_;
        (*onChange)(changes);
    }

    int folder_;
    int inotify_;
    int self_ = -1;
    int parent_ = -1;
    std::string name_;
    bool finished_ = false;
    std::shared_ptr<std::function<void(std::uint32_t)>> onChange_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace

std::unique_ptr<FolderWatch> LinuxFolderEvents::watch(const Path& folder, std::function<void(std::uint32_t)> onChange) {
    const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    const int inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify < 0) {
        ::close(fd);
        return nullptr;
    }
    auto watch = std::make_unique<InotifyWatch>(fd, inotify, std::move(onChange));
    if (!watch->isValid()) return nullptr;
    return watch;
}

}  // namespace quillbern
