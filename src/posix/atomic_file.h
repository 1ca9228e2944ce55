#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace planwarte {

// Replaces the file so that a reader sees either the old or the new contents, also after a
// crash: a temporary file beside the target, flushed, renamed over the target, the folder
// flushed. A symbolic link is followed, so the file it points to is the one replaced and the
// link stays. The replacement keeps the permissions of the file it replaces; a new file is
// created with `mode` (less the umask). Returns false with the reason in `error`, leaving
// the old file and no temporary file behind.
bool ReplaceFileAtomically(const std::string& path, std::string_view contents, mode_t mode,
                           std::string* error);

// Writes all of contents to fd, going on after interruptions; false on any error (errno set).
bool WriteAll(int fd, std::string_view contents);

// Flushes the folder's entries, so that a file created or renamed in it survives a crash.
void SyncFolder(const std::string& folder);

}  // namespace planwarte
