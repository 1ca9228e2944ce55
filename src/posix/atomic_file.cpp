#include "posix/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

namespace planwarte {

namespace {

// Temporary names taken by someone else are tried again this often with another name.
constexpr int kTemporaryNameAttempts = 8;

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a symbolic link points to; the path itself for anything else.
std::string ResolveLink(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;  // a dangling link is replaced by the file itself
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// Unique also between threads of one process writing the same file.
std::string TemporarySibling(const std::string& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
}

}  // namespace

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool ReplaceFileAtomically(const std::string& path, std::string_view contents, mode_t mode,
                           std::string* error) {
    const std::string target = ResolveLink(path);
    std::string temporary;
    int fd = -1;
    // O_EXCL: a file or link planted under the temporary name is never written through.
    for (int attempt = 0; fd < 0 && attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = TemporarySibling(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        *error = ErrnoText("cannot create " + temporary);
        return false;
    }
    // The replacement keeps the permissions the user gave the file.
    struct stat old;
    if (::stat(target.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    if (!written) {
        *error = ErrnoText("cannot write " + temporary);
    }
    if (::close(fd) != 0 && written) {
        written = false;
        *error = ErrnoText("cannot write " + temporary);
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        *error = ErrnoText("cannot rename " + temporary + " to " + target);
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

}  // namespace planwarte
