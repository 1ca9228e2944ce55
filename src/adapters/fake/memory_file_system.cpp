#include "adapters/fake/memory_file_system.h"

namespace planwarte {

namespace {

std::string AsFolder(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) const {
    const auto it = files_.find(path);
    if (it == files_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool MemoryFileSystem::FileExists(const std::string& path) const {
    return files_.count(path);
}

bool MemoryFileSystem::DirectoryExists(const std::string& path) const {
    const std::string folder = AsFolder(path);
    if (directories_.count(folder)) {
        return true;
    }
    const auto it = files_.lower_bound(folder);
    return it != files_.end() && StartsWith(it->first, folder);
}

std::vector<std::string> MemoryFileSystem::ListDirectory(const std::string& path) const {
    const std::string folder = AsFolder(path);
    std::set<std::string> names;
    auto collect = [&](const std::string& entry) {
        if (!StartsWith(entry, folder) || entry.size() == folder.size()) {
            return;
        }
        const std::string rest = entry.substr(folder.size());
        names.insert(rest.substr(0, rest.find('/')));
    };
    for (const auto& [file, content] : files_) {
        collect(file);
    }
    for (const auto& directory : directories_) {
        collect(directory);
    }
    return {names.begin(), names.end()};
}

bool MemoryFileSystem::Writable(const std::string& path) const {
    for (const auto& folder : read_only_folders_) {
        if (StartsWith(path, folder)) {
            return false;
        }
    }
    return true;
}

bool MemoryFileSystem::WriteFileAtomic(const std::string& path, const std::string& content) {
    if (!Writable(path)) {
        return false;
    }
    // Replacing a link by rename replaces the link itself, not its target.
    links_.erase(path);
    files_[path] = content;
    return true;
}

bool MemoryFileSystem::WriteTempFile(const std::string& path, const std::string& content,
                                     bool append) {
    if (!Writable(path) || links_.count(path)) {
        return false;
    }
    std::string& file = files_[path];
    file = append ? file + content : content;
    return true;
}

void MemoryFileSystem::AddFile(const std::string& path, std::string content) {
    files_[path] = std::move(content);
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
    directories_.insert(AsFolder(path));
}

void MemoryFileSystem::AddSymbolicLink(const std::string& path) {
    links_.insert(path);
}

void MemoryFileSystem::MakeReadOnly(const std::string& folder) {
    read_only_folders_.insert(AsFolder(folder));
}

}  // namespace planwarte
