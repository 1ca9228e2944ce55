#pragma once

#include <map>
#include <set>
#include <string>

#include "core/app/file_system.h"

namespace planwarte {

// Files held in memory, for tests. Folders exist when a file lies below them or when they were
// added; paths planted as symbolic links or as unwritable refuse the writes that would follow them.
class MemoryFileSystem : public FileSystem {
  public:
    std::optional<std::string> ReadFile(const std::string& path) const override;
    bool FileExists(const std::string& path) const override;
    bool DirectoryExists(const std::string& path) const override;
    std::vector<std::string> ListDirectory(const std::string& path) const override;
    bool WriteFileAtomic(const std::string& path, const std::string& content) override;
    bool WriteTempFile(const std::string& path, const std::string& content, bool append) override;

    void AddFile(const std::string& path, std::string content);
    void AddDirectory(const std::string& path);
    // The path is a symbolic link: reads see nothing, temp-file writes refuse it.
    void AddSymbolicLink(const std::string& path);
    // Writes below this folder fail, as in a folder without write permission.
    void MakeReadOnly(const std::string& folder);

  private:
    bool Writable(const std::string& path) const;

    std::map<std::string, std::string> files_;
    std::set<std::string> directories_;
    std::set<std::string> links_;
    std::set<std::string> read_only_folders_;
};

}  // namespace planwarte
