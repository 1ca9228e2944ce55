#pragma once

#include <string>

#include "core/app/host_services.h"

namespace planwarte {

// The single-instance lock as a file lock in a folder of this user's: the kernel drops it
// when the process ends, also when it crashes, so a stale lock never blocks a start.
class LockFileInstanceLock : public InstanceLock {
  public:
    explicit LockFileInstanceLock(std::string folder);
    ~LockFileInstanceLock() override;

    bool Acquire(const std::string& name) override;

  private:
    std::string folder_;
    int fd_ = -1;
};

}  // namespace planwarte
