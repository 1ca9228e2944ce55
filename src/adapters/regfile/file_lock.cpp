#include "adapters/regfile/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace planwarte {

ExclusiveFileLock::ExclusiveFileLock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = "cannot open " + path + ": " + std::strerror(errno);
        return;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error_ = "cannot lock " + path + ": " + std::strerror(errno);
        ::close(fd);
        return;
    }
    fd_ = fd;
}

ExclusiveFileLock::~ExclusiveFileLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor releases the lock
    }
}

}  // namespace planwarte
