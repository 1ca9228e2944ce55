#include "adapters/linux/directory_watcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>
#include <set>
#include <system_error>

namespace planwarte {

namespace {

constexpr std::uint32_t kWatchedEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE |
                                         IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF |
                                         IN_MOVE_SELF | IN_ONLYDIR;
// The folder itself is gone: removed, moved away, or its file system unmounted.
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

using Clock = std::chrono::steady_clock;

}  // namespace

DirectoryWatcher::DirectoryWatcher(const std::vector<std::string>& directories,
                                   ChangeHandler on_change, TraceSink trace,
                                   std::chrono::milliseconds quiet_time)
    : on_change_(std::move(on_change)), trace_(std::move(trace)), quiet_time_(quiet_time) {
    inotify_fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_fd_ < 0) {
        throw std::system_error(errno, std::generic_category(), "inotify_init1");
    }
    stop_fd_ = ::eventfd(0, EFD_CLOEXEC);
    if (stop_fd_ < 0) {
        const int error = errno;
        ::close(inotify_fd_);
        throw std::system_error(error, std::generic_category(), "eventfd");
    }
    for (const std::string& directory : directories) {
        const int wd = ::inotify_add_watch(inotify_fd_, directory.c_str(), kWatchedEvents);
        if (wd < 0) {
            if (trace_) {
                trace_("DirectoryWatcher: cannot watch " + directory + ": " + std::strerror(errno));
            }
            continue;
        }
        std::vector<std::string>& paths = watches_[wd];
        if (std::find(paths.begin(), paths.end(), directory) == paths.end()) {
            paths.push_back(directory);
            order_.push_back(directory);
        }
    }
    thread_ = std::thread([this] { Run(); });
}

DirectoryWatcher::~DirectoryWatcher() {
    const std::uint64_t one = 1;
    // An eventfd write of 8 bytes cannot come short; it only fails on a counter overflow.
    if (::write(stop_fd_, &one, sizeof one) < 0 && trace_) {
        trace_("DirectoryWatcher: cannot wake the watcher thread");
    }
    thread_.join();
    ::close(stop_fd_);
    ::close(inotify_fd_);
}

std::vector<std::string> DirectoryWatcher::WatchedDirectories() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> watched;
    for (const std::string& directory : order_) {
        for (const auto& [wd, paths] : watches_) {
            if (std::find(paths.begin(), paths.end(), directory) != paths.end()) {
                watched.push_back(directory);
                break;
            }
        }
    }
    return watched;
}

bool DirectoryWatcher::ReadEvents(std::vector<std::string>& changed) {
    alignas(inotify_event) char buffer[16 * 1024];
    bool complete = true;
    for (;;) {
        const ssize_t length = ::read(inotify_fd_, buffer, sizeof buffer);
        if (length <= 0) {
            return complete;  // EAGAIN: nothing more queued
        }
        std::lock_guard lock(mutex_);
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                complete = false;
                continue;
            }
            const auto watch = watches_.find(event->wd);
            if (watch == watches_.end()) {
                continue;
            }
            changed.insert(changed.end(), watch->second.begin(), watch->second.end());
            if (event->mask & kFolderGone) {
                if (!(event->mask & IN_IGNORED)) {
                    // A moved folder stays watched by the kernel; it is no longer the one named.
                    ::inotify_rm_watch(inotify_fd_, event->wd);
                }
                watches_.erase(watch);
            }
        }
    }
}

void DirectoryWatcher::Run() {
    std::set<std::string> pending;
    Clock::time_point first_event{};
    Clock::time_point last_event{};
    for (;;) {
        int timeout_ms = -1;
        if (!pending.empty()) {
            const Clock::time_point due =
                std::min(last_event + quiet_time_, first_event + kLongestDelay);
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now());
            // Rounded up, so that the wait does not end a little early again and again.
            timeout_ms = static_cast<int>(std::max<std::int64_t>(0, left.count() + 1));
        }
        pollfd fds[2] = {{stop_fd_, POLLIN, 0}, {inotify_fd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout_ms);
        if (ready < 0 && errno != EINTR) {
            if (trace_) {
                trace_(std::string("DirectoryWatcher: poll failed: ") + std::strerror(errno));
            }
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents != 0) {
            std::vector<std::string> changed;
            if (!ReadEvents(changed)) {
                // Events were lost: any folder may have changed.
                std::lock_guard lock(mutex_);
                for (const auto& [wd, paths] : watches_) {
                    changed.insert(changed.end(), paths.begin(), paths.end());
                }
            }
            if (!changed.empty()) {
                const Clock::time_point now = Clock::now();
                if (pending.empty()) {
                    first_event = now;
                }
                last_event = now;
                pending.insert(changed.begin(), changed.end());
            }
        }
        const Clock::time_point now = Clock::now();
        if (!pending.empty() &&
            (now >= last_event + quiet_time_ || now >= first_event + kLongestDelay)) {
            std::vector<std::string> changed(pending.begin(), pending.end());
            pending.clear();
            try {
                if (on_change_) {
                    on_change_(std::move(changed));
                }
            } catch (const std::exception& error) {
                // An escaping exception would end the program from this thread.
                if (trace_) {
                    trace_(std::string("DirectoryWatcher: change handler failed: ") + error.what());
                }
            }
        }
    }
}

}  // namespace planwarte
