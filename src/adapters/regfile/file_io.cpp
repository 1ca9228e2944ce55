#include "adapters/regfile/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "posix/atomic_file.h"

namespace planwarte {

namespace {

// Far beyond any settings file; a larger file is not ours to parse or replace.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

}  // namespace

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileContents ReadWholeFile(const std::string& path) {
    FileContents contents;
    // Non-blocking, so that a pipe put in the file's place cannot stall the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT) {
            contents.status = FileContents::Status::kMissing;
        } else {
            contents.status = FileContents::Status::kUnreadable;
            contents.error = ErrnoText("cannot open");
        }
        return contents;
    }
    struct stat info;
    contents.status = FileContents::Status::kUnreadable;
    if (::fstat(fd, &info) != 0) {
        contents.error = ErrnoText("cannot inspect");
    } else if (!S_ISREG(info.st_mode)) {
        contents.error = "not a regular file";
    } else if (info.st_size > kMaxFileSize) {
        contents.error = "too large for a settings file";
    } else {
        char buffer[8192];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                contents.error = ErrnoText("cannot read");
                break;
            }
            if (got == 0) {
                contents.status = FileContents::Status::kRead;
                break;
            }
            contents.bytes.append(buffer, static_cast<std::size_t>(got));
            if (contents.bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
                contents.error = "too large for a settings file";
                break;
            }
        }
    }
    ::close(fd);
    if (contents.status != FileContents::Status::kRead) {
        contents.bytes.clear();
    }
    return contents;
}

bool CreateFolders(const std::string& folder, std::string* error) {
    struct stat info;
    if (::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return true;
        }
        *error = folder + " is not a folder";
        return false;
    }
    const std::string parent = ParentFolder(folder);
    if (parent != folder && !CreateFolders(parent, error)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        *error = ErrnoText("cannot create " + folder);
        return false;
    }
    return true;
}

namespace {

// "<path>.broken-YYYYMMDD-HHMMSS" in local time.
std::string AsideName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return path + ".broken-" + stamp;
}

std::string Numbered(const std::string& base, int n) {
    return n == 0 ? base : base + "-" + std::to_string(n);
}

}  // namespace

std::optional<std::string> MoveAside(const std::string& path, std::string* error) {
    const std::string base = AsideName(path);
    std::string aside = base;
    for (int n = 1; Exists(aside); ++n) {
        aside = Numbered(base, n);
    }
    if (::rename(path.c_str(), aside.c_str()) != 0) {
        *error = ErrnoText("cannot rename to " + aside);
        return std::nullopt;
    }
    SyncFolder(ParentFolder(path));
    return aside;
}

std::optional<std::string> CopyAside(const std::string& path, std::string_view bytes,
                                     std::string* error) {
    const std::string base = AsideName(path);
    for (int n = 0;; ++n) {
        const std::string aside = Numbered(base, n);
        // O_EXCL: an earlier copy under the same name is never overwritten.
        const int fd =
            ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            *error = ErrnoText("cannot create " + aside);
            return std::nullopt;
        }
        bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
        if (!written) {
            *error = ErrnoText("cannot write " + aside);
        }
        if (::close(fd) != 0 && written) {
            written = false;
            *error = ErrnoText("cannot write " + aside);
        }
        if (!written) {
            ::unlink(aside.c_str());
            return std::nullopt;
        }
        SyncFolder(ParentFolder(path));
        return aside;
    }
}

}  // namespace planwarte
