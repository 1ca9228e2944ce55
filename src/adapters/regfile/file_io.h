#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace planwarte {

struct FileContents {
    enum class Status { kRead, kMissing, kUnreadable };
    Status status = Status::kMissing;
    std::string bytes;
    std::string error;  // why an existing file could not be read
};

// The folder part of a path: "." for a bare name.
std::string ParentFolder(const std::string& path);

// Reads a whole regular file. Anything else under the name (a folder, a device, a pipe) and
// files beyond a sane size for settings count as unreadable, so they are never replaced.
FileContents ReadWholeFile(const std::string& path);

// Creates the folder and its missing parents, private to the user (0700).
bool CreateFolders(const std::string& folder, std::string* error);

// Renames the file to "<path>.broken-YYYYMMDD-HHMMSS" (local time), adding "-N" when that name
// is taken. Returns the new name, or nothing with the reason in `error`.
std::optional<std::string> MoveAside(const std::string& path, std::string* error);

// Stores `bytes` under the name MoveAside would choose, private to the user and flushed; the
// file at `path` stays. Returns the copy's name, or nothing with the reason in `error`.
std::optional<std::string> CopyAside(const std::string& path, std::string_view bytes,
                                     std::string* error);

}  // namespace planwarte
