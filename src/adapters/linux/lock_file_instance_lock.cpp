#include "adapters/linux/lock_file_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>

namespace planwarte {

namespace {

// "MKF (for Outlook)" becomes "MKF__for_Outlook_.lock".
std::string LockFileName(const std::string& name) {
    std::string file;
    for (const char c : name) {
        file += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return file + ".lock";
}

}  // namespace

LockFileInstanceLock::LockFileInstanceLock(std::string folder) : folder_(std::move(folder)) {}

LockFileInstanceLock::~LockFileInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool LockFileInstanceLock::Acquire(const std::string& name) {
    const std::string path = folder_ + LockFileName(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a lock file no second instance can be told apart; run rather than refuse.
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    return true;
}

}  // namespace planwarte
