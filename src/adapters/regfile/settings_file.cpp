#include "adapters/regfile/settings_file.h"

#include <utility>

#include "adapters/regfile/file_io.h"
#include "adapters/regfile/file_lock.h"
#include "posix/atomic_file.h"

namespace planwarte {

namespace {

// Settings are the user's own: a new file is private to the user.
constexpr mode_t kNewFileMode = 0600;

// A file full of unreadable lines is told by its first few; the copy kept has them all.
constexpr std::size_t kUnreadableLinesTraced = 10;

std::size_t ContentsHash(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes);
}

}  // namespace

SettingsFile::SettingsFile(std::string path, TraceSink trace)
    : path_(std::move(path)), lock_path_(path_ + ".lock"), trace_(std::move(trace)) {}

RegDocument SettingsFile::Load() {
    const FileContents contents = ReadWholeFile(path_);
    switch (contents.status) {
        case FileContents::Status::kMissing:
            return {};
        case FileContents::Status::kUnreadable:
            TraceUnreadable(contents.error);
            return {};
        case FileContents::Status::kRead:
            break;
    }
    RegParseResult parsed = ParseRegFile(contents.bytes);
    if (parsed.document) {
        TraceUnreadableLines(contents.bytes, parsed.unreadable);
        return std::move(*parsed.document);
    }
    // Moving the file aside waits for the lock, and looks again: another process may have
    // replaced the file meanwhile.
    const ExclusiveFileLock lock(lock_path_);
    if (!lock.held()) {
        Trace("settings file " + path_ + " is no registry export (" + parsed.error +
              "); defaults are used (" + lock.error() + ")");
        return {};
    }
    std::optional<Stored> stored = LoadLocked();
    return stored ? std::move(stored->document) : RegDocument{};
}

std::optional<RegDocument> SettingsFile::Change(const std::function<void(RegDocument&)>& change,
                                                std::string_view what) {
    const std::string not_stored = std::string(what) + " not stored in " + path_ + ": ";
    std::string error;
    if (!CreateFolders(ParentFolder(path_), &error)) {
        Trace(not_stored + error);
        return std::nullopt;
    }
    const ExclusiveFileLock lock(lock_path_);
    if (!lock.held()) {
        Trace(not_stored + lock.error());
        return std::nullopt;
    }
    std::optional<Stored> stored = LoadLocked();
    if (!stored) {
        Trace(not_stored + "the file is kept as it is");
        return std::nullopt;
    }
    change(stored->document);
    const std::string contents = FormatRegFile(stored->document);
    if (stored->bytes == contents) {
        return std::move(stored->document);
    }
    if (!KeepCopyBeforeRewrite(*stored, not_stored)) {
        return std::nullopt;
    }
    if (!ReplaceFileAtomically(path_, contents, kNewFileMode, &error)) {
        Trace(not_stored + error);
        return std::nullopt;
    }
    return std::move(stored->document);
}

std::optional<SettingsFile::Stored> SettingsFile::LoadLocked() {
    FileContents contents = ReadWholeFile(path_);
    switch (contents.status) {
        case FileContents::Status::kMissing:
            return Stored{};
        case FileContents::Status::kUnreadable:
            TraceUnreadable(contents.error);
            return std::nullopt;
        case FileContents::Status::kRead:
            break;
    }
    RegParseResult parsed = ParseRegFile(contents.bytes);
    if (parsed.document) {
        TraceUnreadableLines(contents.bytes, parsed.unreadable);
        return Stored{std::move(*parsed.document), std::move(contents.bytes),
                      std::move(parsed.unreadable)};
    }
    std::string error;
    const std::optional<std::string> aside = MoveAside(path_, &error);
    if (!aside) {
        Trace("settings file " + path_ + " is no registry export (" + parsed.error +
              "); defaults are used, and it cannot be moved aside: " + error);
        return std::nullopt;
    }
    Trace("settings file " + path_ + " is no registry export (" + parsed.error +
          "); moved aside to " + *aside + ", defaults are used");
    return Stored{};
}

bool SettingsFile::KeepCopyBeforeRewrite(const Stored& stored, const std::string& not_stored) {
    if (stored.unreadable.empty() || !stored.bytes) {
        return true;
    }
    const std::size_t hash = ContentsHash(*stored.bytes);
    {
        // A rewrite that failed after the copy was made leaves the same contents behind.
        const std::lock_guard<std::mutex> guard(seen_mutex_);
        if (copied_contents_ == hash) {
            return true;
        }
    }
    std::string error;
    const std::optional<std::string> copy = CopyAside(path_, *stored.bytes, &error);
    if (!copy) {
        Trace(not_stored + "the file keeps its lines that cannot be read, as no copy of it " +
              "could be made (" + error + ")");
        return false;
    }
    Trace("settings file " + path_ + " is rewritten without its lines that cannot be read; " +
          "the file as it was is kept at " + *copy);
    const std::lock_guard<std::mutex> guard(seen_mutex_);
    copied_contents_ = hash;
    return true;
}

void SettingsFile::TraceUnreadableLines(std::string_view bytes,
                                        const std::vector<RegUnreadableLine>& unreadable) {
    if (unreadable.empty()) {
        return;
    }
    // Said once for each contents: the file is read on every key access.
    {
        const std::size_t hash = ContentsHash(bytes);
        const std::lock_guard<std::mutex> guard(seen_mutex_);
        if (traced_contents_ == hash) {
            return;
        }
        traced_contents_ = hash;
    }
    for (std::size_t i = 0; i < unreadable.size() && i < kUnreadableLinesTraced; ++i) {
        Trace("settings file " + path_ + ", " + DescribeUnreadableLine(unreadable[i]) +
              "; the line is ignored, the rest of the file is read");
    }
    if (unreadable.size() > kUnreadableLinesTraced) {
        Trace("settings file " + path_ + ": " +
              std::to_string(unreadable.size() - kUnreadableLinesTraced) +
              " more lines cannot be read and are ignored");
    }
}

void SettingsFile::TraceUnreadable(const std::string& reason) {
    // Said once: the file is looked at on every key access.
    if (!unreadable_traced_.exchange(true)) {
        Trace("settings file " + path_ + " cannot be read (" + reason +
              "); defaults are used and the file is not written");
    }
}

void SettingsFile::Trace(const std::string& line) const {
    if (trace_) {
        trace_(line);
    }
}

}  // namespace planwarte
