#pragma once

#include "core/app/file_system.h"

namespace planwarte {

// Files on the local file system through POSIX calls.
class LinuxFileSystem : public FileSystem {
  public:
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::vector<std::string> ListDirectory(const std::string& path) const override;
    bool WriteFileAtomic(const std::string& path, const std::string& content) override;
    bool WriteTempFile(const std::string& path, const std::string& content, bool append) override;
};

// Writes all of content to fd; false on any error.
bool WriteAll(int fd, const std::string& content);

// Replaces path with content: a temporary file in the same folder, flushed, renamed over the
// old file, and the folder flushed, so that a crash leaves either the old or the new file.
bool ReplaceFileAtomically(const std::string& path, const std::string& content, int mode);

}  // namespace planwarte
