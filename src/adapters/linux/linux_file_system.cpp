#include "adapters/linux/linux_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "posix/atomic_file.h"

namespace planwarte {

std::optional<std::string> LinuxFileSystem::ReadFile(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

bool LinuxFileSystem::FileExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool LinuxFileSystem::DirectoryExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> LinuxFileSystem::ListDirectory(const std::string& path) const {
    std::vector<std::string> names;
    DIR* folder = ::opendir(path.c_str());
    if (!folder) {
        return names;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(folder);
    return names;
}

bool LinuxFileSystem::WriteFileAtomic(const std::string& path, const std::string& content) {
    // The callers have nowhere to tell the reason; they report the failure themselves.
    std::string reason;
    return ReplaceFileAtomically(path, content, 0644, &reason);
}

bool LinuxFileSystem::WriteTempFile(const std::string& path, const std::string& content,
                                    bool append) {
    // O_NOFOLLOW: a link planted in the temporary folder must not redirect the write;
    // O_NONBLOCK: a FIFO planted there must not block the program.
    const int flags =
        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, 0600);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool written = regular && WriteAll(fd, content);
    return ::close(fd) == 0 && written;
}

}  // namespace planwarte
