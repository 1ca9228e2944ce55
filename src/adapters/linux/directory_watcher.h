#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace planwarte {

// Watches folders (each one non-recursively: files made, written, renamed, removed or
// touched in it) and reports them in bursts: once no event has come for the quiet time,
// on_change gets the folders that changed, each once and sorted, so that a file replaced by rename,
// or a client writing many files, is one change. A folder that keeps changing is still reported
// after at most kLongestDelay. A watched folder that is removed or moved away is reported as
// changed and no longer watched.
//
// on_change runs on the watcher's own thread; the caller posts it on to its main loop.
// The destructor stops the thread and waits for it, so it must not run inside on_change.
class DirectoryWatcher {
  public:
    using ChangeHandler = std::function<void(std::vector<std::string> changed_directories)>;
    using TraceSink = std::function<void(const std::string&)>;

    static constexpr std::chrono::milliseconds kQuietTime{250};
    static constexpr std::chrono::milliseconds kLongestDelay{2000};

    // Starts at once. A folder that cannot be watched (missing, not a folder) is traced and
    // left out. Throws std::system_error when the system gives no watch at all.
    DirectoryWatcher(const std::vector<std::string>& directories, ChangeHandler on_change,
                     TraceSink trace = {}, std::chrono::milliseconds quiet_time = kQuietTime);
    ~DirectoryWatcher();

    DirectoryWatcher(const DirectoryWatcher&) = delete;
    DirectoryWatcher& operator=(const DirectoryWatcher&) = delete;

    // The folders still watched, in the order given.
    std::vector<std::string> WatchedDirectories() const;

  private:
    void Run();
    // Reads the queued events into `changed`; false when the queue overflowed.
    bool ReadEvents(std::vector<std::string>& changed);

    ChangeHandler on_change_;
    TraceSink trace_;
    std::chrono::milliseconds quiet_time_;
    int inotify_fd_ = -1;
    int stop_fd_ = -1;
    mutable std::mutex mutex_;                         // guards watches_
    std::map<int, std::vector<std::string>> watches_;  // by watch descriptor
    std::vector<std::string> order_;                   // the folders as given
    std::thread thread_;
};

}  // namespace planwarte
