#pragma once

#include <string>

namespace planwarte {

// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime. Every
// Planwarte process takes the same lock before it changes the settings file, so no change of
// one process is lost to a concurrent rewrite by another.
class ExclusiveFileLock {
  public:
    // Waits until the lock is held; creates the lock file when missing.
    explicit ExclusiveFileLock(const std::string& path);
    ~ExclusiveFileLock();
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock could not be taken.
    const std::string& error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace planwarte
