#pragma once

#include <optional>
#include <string>
#include <vector>

namespace planwarte {

// The core's only access to files. Paths use "/" and are absolute.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual std::optional<std::string> ReadFile(const std::string& path) const = 0;
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool DirectoryExists(const std::string& path) const = 0;
    // Names (not paths) of the entries of a folder; empty when it cannot be read.
    virtual std::vector<std::string> ListDirectory(const std::string& path) const = 0;

    // Replaces the file's content atomically. False when it cannot be written.
    virtual bool WriteFileAtomic(const std::string& path, const std::string& content) = 0;

    // Writes to a file in the program's own temporary folder: truncating or appending, never
    // through a symbolic link. False when the file cannot be opened or written.
    virtual bool WriteTempFile(const std::string& path, const std::string& content,
                               bool append) = 0;
};

}  // namespace planwarte
