#include "adapters/linux/linux_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

namespace planwarte {

namespace {

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string TemporarySibling(const std::string& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(random() % 1000000);
}

}  // namespace

bool WriteAll(int fd, const std::string& content) {
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& content, int mode) {
    const std::string temporary = TemporarySibling(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

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
    return ReplaceFileAtomically(path, content, 0644);
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
