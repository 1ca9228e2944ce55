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

}  // namespace planwarte
