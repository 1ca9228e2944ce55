#include "adapters/regfile/settings_file.h"

#include <utility>

#include "adapters/regfile/file_io.h"
#include "adapters/regfile/file_lock.h"

namespace planwarte {

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
        return std::move(*parsed.document);
    }
    // Moving the file aside waits for the lock, and looks again: another process may have
    // replaced the file meanwhile.
    const ExclusiveFileLock lock(lock_path_);
    if (!lock.held()) {
        Trace("settings file " + path_ + " does not parse (" + parsed.error +
              "); defaults are used (" + lock.error() + ")");
        return {};
    }
    std::optional<std::string> stored;
    return LoadLocked(stored).value_or(RegDocument{});
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
    std::optional<std::string> stored;
    std::optional<RegDocument> document = LoadLocked(stored);
    if (!document) {
        Trace(not_stored + "the file is kept as it is");
        return std::nullopt;
    }
    change(*document);
    const std::string contents = FormatRegFile(*document);
    if (stored == contents) {
        return document;
    }
    if (!ReplaceFileAtomically(path_, contents, &error)) {
        Trace(not_stored + error);
        return std::nullopt;
    }
    return document;
}

std::optional<RegDocument> SettingsFile::LoadLocked(std::optional<std::string>& stored) {
    FileContents contents = ReadWholeFile(path_);
    switch (contents.status) {
        case FileContents::Status::kMissing:
            return RegDocument{};
        case FileContents::Status::kUnreadable:
            TraceUnreadable(contents.error);
            return std::nullopt;
        case FileContents::Status::kRead:
            break;
    }
    RegParseResult parsed = ParseRegFile(contents.bytes);
    if (parsed.document) {
        stored = std::move(contents.bytes);
        return std::move(*parsed.document);
    }
    std::string error;
    const std::optional<std::string> aside = MoveAside(path_, &error);
    if (!aside) {
        Trace("settings file " + path_ + " does not parse (" + parsed.error +
              "); defaults are used, and it cannot be moved aside: " + error);
        return std::nullopt;
    }
    Trace("settings file " + path_ + " does not parse (" + parsed.error + "); moved aside to " +
          *aside + ", defaults are used");
    return RegDocument{};
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
